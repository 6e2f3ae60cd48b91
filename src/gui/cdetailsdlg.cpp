#include "cdetailsdlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "dialog_buttons.h"
#include "editing/details_rules.h"
#include "message_box.h"
#include "messages.h"
#include "text/details_number.h"

namespace kelno {

CDetailsDlg::CDetailsDlg(const DetailsValues& initial, QWidget* parent)
    : QDialog(parent), values_(initial), messageSink_([this](const QString& text) {
          RunMessageBox(this, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
      }) {
    setWindowTitle(QStringLiteral("詳細"));
    auto* layout = new QGridLayout(this);
    resistanceEdit_ = AddRow(0, "抵抗", "Ω", initial.resistance);
    emfEdit_ = AddRow(1, "起電圧", "V", initial.emf);
    currentEdit_ = AddRow(2, "電流量", "A", initial.current);
    currentEdit_->setReadOnly(true);
    currentEdit_->setFocusPolicy(Qt::NoFocus);
    // A box that can only be read has the dialog's colour, not the colour of boxes to type in.
    QPalette readOnly = currentEdit_->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
    currentEdit_->setPalette(readOnly);
    if (initial.currentHidden) {
        currentEdit_->clear();
        currentEdit_->setEnabled(false);
    }

    QDialogButtonBox* buttons = MakeOkCancelButtons(this);
    buttons->setOrientation(Qt::Vertical);
    layout->addWidget(buttons, 0, 3, 3, 1, Qt::AlignTop);
    resistanceEdit_->setFocus();
    resistanceEdit_->selectAll();
}

QLineEdit* CDetailsDlg::AddRow(int row, const char* label, const char* unit, double value) {
    auto* layout = static_cast<QGridLayout*>(this->layout());
    auto* edit = new QLineEdit(QString::fromStdString(FormatDetailsNumber(value)), this);
    edit->setMaxLength(kMaxTextLength);
    edit->setAlignment(Qt::AlignRight);
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    caption->setBuddy(edit);
    layout->addWidget(caption, row, 0);
    layout->addWidget(edit, row, 1);
    layout->addWidget(new QLabel(QString::fromUtf8(unit), this), row, 2);
    return edit;
}

std::optional<double> CDetailsDlg::ReadBox(QLineEdit* box) {
    const std::optional<double> value = ParseDetailsInput(box->text().toStdString());
    if (!value) {
        Refuse(box, kNumberRequired);
    }
    return value;
}

void CDetailsDlg::Refuse(QLineEdit* box, const char* message) {
    messageSink_(QString::fromUtf8(message));
    activateWindow();  // the keys come back to the dialog once the message has gone
    box->setFocus();
    box->selectAll();
}

// The boxes are read in the order they stand in; the first one refused keeps the dialog
// open.
void CDetailsDlg::accept() {
    const std::optional<double> resistance = ReadBox(resistanceEdit_);
    if (!resistance) {
        return;
    }
    if (*resistance < 0.0 && !values_.negativeResistanceAllowed) {
        Refuse(resistanceEdit_, messages::kResistanceNotNegative);
        return;
    }
    const std::optional<double> emf = ReadBox(emfEdit_);
    if (!emf) {
        return;
    }
    // A hidden current is not there to read.
    std::optional<double> current = values_.current;
    if (!values_.currentHidden) {
        current = ReadBox(currentEdit_);
        if (!current) {
            return;
        }
    }
    values_.resistance = *resistance;
    values_.emf = *emf;
    values_.current = *current;
    QDialog::accept();
}

}  // namespace kelno
