#pragma once

#include <QPointer>
#include <QWidget>

#include "prompts.h"

namespace kelno {

// The questions and dialogs of the editor as message boxes and modal dialogs over a window.
class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

    SaveAnswer AskSaveChanges(const QString& documentName) override;
    bool AskOpenNewerVersion(const QString& question) override;
    bool AskRestoreInterruptedSave(const QString& question) override;
    void ShowError(const QString& text) override;
    void ShowInformation(const QString& text) override;
    QString ChooseFileToOpen(const QString& directory) override;
    QString ChooseFileToSave(const QString& suggestedPath) override;
    QString ChooseExportFile(const QString& title, const ExportFormat& format,
                             const QString& suggestedPath) override;
    bool EditComment(Comment& comment) override;
    bool EditOptions(DocumentOptions& options, bool& explainShort) override;
    std::optional<DetailsValues> EditDetails(const DetailsValues& initial) override;

    // The name filters of the open and save dialogs.
    static QString OpenFilters();
    static QString SaveFilters();
    static QString ExportFilters(const ExportFormat& format);

private:
    QPointer<QWidget> parent_;
};

}  // namespace kelno
