#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "document/document.h"

class QCheckBox;
class QLineEdit;

namespace kelno {

// The options dialog: smooth display, current arrows, wires without diagonals and the undo
// buffer size, which the document keeps, and the highlight of a short, which the editor
// keeps in its own settings. OK takes what the controls hold, unless the undo buffer size is
// not an integer: then the dialog says so and stays open. Cancel keeps the values it was
// given.
class COptionDlg : public QDialog {
    Q_OBJECT

public:
    // Tells the user about a value that cannot be taken.
    using MessageSink = std::function<void(const QString& text)>;

    static constexpr const char* kIntegerRequired = "整数を入力してください。";

    explicit COptionDlg(const DocumentOptions& options, QWidget* parent = nullptr);

    const DocumentOptions& options() const { return options_; }
    bool explainShort() const { return explainShort_; }
    void SetExplainShort(bool on);

    // By default a message box tells the user; tests record the message instead.
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    QCheckBox* smoothDisplayBox() const { return smoothDisplayBox_; }
    QCheckBox* showCurrentFlowBox() const { return showCurrentFlowBox_; }
    QCheckBox* noDiagonalWiresBox() const { return noDiagonalWiresBox_; }
    QLineEdit* undoBufferEdit() const { return undoBufferEdit_; }
    QCheckBox* explainShortBox() const { return explainShortBox_; }

    void accept() override;

private:
    DocumentOptions options_;
    QCheckBox* smoothDisplayBox_;
    QCheckBox* showCurrentFlowBox_;
    QCheckBox* noDiagonalWiresBox_;
    QLineEdit* undoBufferEdit_;
    QCheckBox* explainShortBox_;
    bool explainShort_ = true;
    MessageSink messageSink_;
};

}  // namespace kelno
