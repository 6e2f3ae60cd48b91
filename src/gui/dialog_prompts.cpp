#include "dialog_prompts.h"

#include <QFileDialog>

#include "ccommentdlg.h"
#include "cdetailsdlg.h"
#include "coptiondlg.h"
#include "message_box.h"

namespace kelno {

namespace {

const QString kAllFilesFilter = QStringLiteral("すべてのﾌｧｲﾙ (*)");

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Prompts::SaveAnswer DialogPrompts::AskSaveChanges(const QString& documentName) {
    const int answer =
        RunMessageBox(parent_, QMessageBox::Warning,
                      QStringLiteral("%1 への変更を保存しますか?").arg(documentName),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (answer) {
        case QMessageBox::Yes:
            return SaveAnswer::Save;
        case QMessageBox::No:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
    }
}

bool DialogPrompts::AskOpenNewerVersion(const QString& question) {
    return RunMessageBox(parent_, QMessageBox::NoIcon, question, QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No) == QMessageBox::Yes;
}

bool DialogPrompts::AskRestoreInterruptedSave(const QString& question) {
    return RunMessageBox(parent_, QMessageBox::Warning, question,
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

void DialogPrompts::ShowError(const QString& text) {
    RunMessageBox(parent_, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void DialogPrompts::ShowInformation(const QString& text) {
    RunMessageBox(parent_, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

QString DialogPrompts::OpenFilters() {
    return FromView(KelFormat().filter()) + QStringLiteral(";;") + kAllFilesFilter;
}

QString DialogPrompts::SaveFilters() {
    return FromView(KelFormat().filter());
}

QString DialogPrompts::ChooseFileToOpen(const QString& directory) {
    return QFileDialog::getOpenFileName(parent_, QStringLiteral("開く"), directory, OpenFilters());
}

QString DialogPrompts::ChooseFileToSave(const QString& suggestedPath) {
    QFileDialog dialog(parent_, QStringLiteral("名前を付けて保存"), suggestedPath, SaveFilters());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(FromView(KelFormat().extension()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::ExportFilters(const ExportFormat& format) {
    return FromView(format.filter());
}

// The dialog asks before it lets an existing file be replaced.
QString DialogPrompts::ChooseExportFile(const QString& title, const ExportFormat& format,
                                        const QString& suggestedPath) {
    QFileDialog dialog(parent_, title, suggestedPath, ExportFilters(format));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(FromView(format.extension()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

bool DialogPrompts::EditComment(Comment& comment) {
    CCommentDlg dialog(comment.text, comment.showOnOpen, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    comment.text = dialog.commentText();
    comment.showOnOpen = dialog.showCommentOnOpen();
    return true;
}

bool DialogPrompts::EditOptions(DocumentOptions& options, bool& explainShort) {
    COptionDlg dialog(options, parent_);
    dialog.SetExplainShort(explainShort);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    options = dialog.options();
    explainShort = dialog.explainShort();
    return true;
}

std::optional<DetailsValues> DialogPrompts::EditDetails(const DetailsValues& initial) {
    CDetailsDlg dialog(initial, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.values();
}

}  // namespace kelno
