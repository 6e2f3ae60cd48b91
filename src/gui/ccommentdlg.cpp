#include "ccommentdlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_buttons.h"

namespace kelno {

CCommentDlg::CCommentDlg(const QString& commentText, bool showCommentOnOpen, QWidget* parent)
    : QDialog(parent),
      commentText_(commentText),
      showCommentOnOpen_(showCommentOnOpen),
      textEdit_(new QPlainTextEdit(this)),
      showOnOpenBox_(new QCheckBox(QStringLiteral("開いた時にこの画面を自動で表示"), this)) {
    setWindowTitle(QStringLiteral("コメント"));
    // Long lines scroll sideways rather than wrap, so the text reads as it was typed.
    textEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textEdit_->setTabChangesFocus(true);
    textEdit_->setPlainText(commentText_);
    showOnOpenBox_->setChecked(showCommentOnOpen_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textEdit_, 1);
    layout->addWidget(showOnOpenBox_);
    layout->addWidget(MakeOkCancelButtons(this));
    resize(340, 380);
    textEdit_->setFocus();
}

void CCommentDlg::accept() {
    commentText_ = textEdit_->toPlainText();
    showCommentOnOpen_ = showOnOpenBox_->isChecked();
    QDialog::accept();
}

}  // namespace kelno
