#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QPlainTextEdit;

namespace kelno {

// The comment dialog: the document's free text and whether it opens by itself when the
// file is opened. OK takes what the controls hold; Cancel keeps the values it was given.
class CCommentDlg : public QDialog {
    Q_OBJECT

public:
    CCommentDlg(const QString& commentText, bool showCommentOnOpen, QWidget* parent = nullptr);

    QString commentText() const { return commentText_; }
    bool showCommentOnOpen() const { return showCommentOnOpen_; }

    QPlainTextEdit* textEdit() const { return textEdit_; }
    QCheckBox* showOnOpenBox() const { return showOnOpenBox_; }

    void accept() override;

private:
    QString commentText_;
    bool showCommentOnOpen_;
    QPlainTextEdit* textEdit_;
    QCheckBox* showOnOpenBox_;
};

}  // namespace kelno
