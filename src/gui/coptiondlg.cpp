#include "coptiondlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "dialog_buttons.h"
#include "message_box.h"

namespace kelno {

COptionDlg::COptionDlg(const DocumentOptions& options, QWidget* parent)
    : QDialog(parent),
      options_(options),
      smoothDisplayBox_(new QCheckBox(QStringLiteral("表示を滑らかにする"), this)),
      showCurrentFlowBox_(new QCheckBox(QStringLiteral("電流の流れを示す"), this)),
      noDiagonalWiresBox_(new QCheckBox(QStringLiteral("導線を斜めにしない"), this)),
      undoBufferEdit_(new QLineEdit(this)),
      explainShortBox_(new QCheckBox(QStringLiteral("ショートの場所を赤く示す"), this)),
      messageSink_([this](const QString& text) {
          RunMessageBox(this, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
      }) {
    setWindowTitle(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    smoothDisplayBox_->setChecked(options_.smoothDisplay);
    showCurrentFlowBox_->setChecked(options_.showCurrentFlow);
    noDiagonalWiresBox_->setChecked(options_.noDiagonalWires);
    // Digits only: a negative size cannot be typed.
    undoBufferEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    undoBufferEdit_->setAlignment(Qt::AlignRight);
    undoBufferEdit_->setText(QString::number(options_.undoBufferSize));

    auto* undoRow = new QHBoxLayout;
    undoRow->addWidget(new QLabel(QStringLiteral("アンドゥバッファ"), this));
    undoRow->addWidget(undoBufferEdit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(smoothDisplayBox_);
    layout->addWidget(showCurrentFlowBox_);
    layout->addWidget(noDiagonalWiresBox_);
    layout->addLayout(undoRow);
    layout->addWidget(explainShortBox_);
    layout->addWidget(MakeOkCancelButtons(this));
    SetExplainShort(explainShort_);
}

void COptionDlg::SetExplainShort(bool on) {
    explainShort_ = on;
    explainShortBox_->setChecked(on);
}

void COptionDlg::accept() {
    bool isInteger = false;
    const int undoBufferSize = undoBufferEdit_->text().trimmed().toInt(&isInteger, 10);
    if (!isInteger) {
        messageSink_(QString::fromUtf8(kIntegerRequired));
        undoBufferEdit_->setFocus();
        undoBufferEdit_->selectAll();
        return;
    }
    options_.smoothDisplay = smoothDisplayBox_->isChecked();
    options_.showCurrentFlow = showCurrentFlowBox_->isChecked();
    options_.noDiagonalWires = noDiagonalWiresBox_->isChecked();
    options_.undoBufferSize = undoBufferSize;
    explainShort_ = explainShortBox_->isChecked();
    QDialog::accept();
}

}  // namespace kelno
