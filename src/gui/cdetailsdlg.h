#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "editing/editing_port.h"
#include "messages.h"

class QLineEdit;

namespace kelno {

// The details dialog of one element: its resistance and electromotive force to edit, and
// its current to read (an empty, disabled box while pupils predict it). OK takes the boxes
// when each holds a number (full-width digits count) and the resistance is not below zero
// (a switch's may be); otherwise the dialog says why, puts the focus on the box that was
// refused with its text selected and stays open. Cancel keeps the values it was given.
class CDetailsDlg : public QDialog {
    Q_OBJECT

public:
    // Tells the user about a value that cannot be taken.
    using MessageSink = std::function<void(const QString& text)>;

    static constexpr const char* kNumberRequired = messages::kNumberRequired;
    // The boxes hold no more than this many characters.
    static constexpr int kMaxTextLength = 31;

    explicit CDetailsDlg(const DetailsValues& initial, QWidget* parent = nullptr);

    const DetailsValues& values() const { return values_; }

    // By default a message box tells the user; tests record the message instead.
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    QLineEdit* resistanceEdit() const { return resistanceEdit_; }
    QLineEdit* emfEdit() const { return emfEdit_; }
    QLineEdit* currentEdit() const { return currentEdit_; }

    void accept() override;

private:
    QLineEdit* AddRow(int row, const char* label, const char* unit, double value);
    // The number in a box, or nothing after telling the user and handing the box the focus.
    std::optional<double> ReadBox(QLineEdit* box);
    // Tells the user why the box's value cannot be taken and hands the box the focus.
    void Refuse(QLineEdit* box, const char* message);

    DetailsValues values_;
    QLineEdit* resistanceEdit_;
    QLineEdit* emfEdit_;
    QLineEdit* currentEdit_;
    MessageSink messageSink_;
};

}  // namespace kelno
