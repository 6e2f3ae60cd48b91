#pragma once

#include <QString>
#include <optional>

#include "document/document.h"
#include "document/export_format.h"
#include "editing/editing_port.h"

namespace kelno {

// Every question and message the editor puts to the user, and the dialogs that edit the
// document's comment and options. The editor answers them with message boxes and modal
// dialogs (DialogPrompts); tests answer them from a script, without any modal loop.
class Prompts {
public:
    enum class SaveAnswer { Save, Discard, Cancel };

    // The comment as the comment dialog edits it.
    struct Comment {
        QString text;
        bool showOnOpen = false;
    };

    virtual ~Prompts() = default;

    // "Save the changes to `documentName`?" with Yes, No and Cancel.
    virtual SaveAnswer AskSaveChanges(const QString& documentName) = 0;
    // The question before a file of a newer format is opened; true opens it anyway.
    virtual bool AskOpenNewerVersion(const QString& question) = 0;
    // Whether to put back the content a file had before a save of it was cut short.
    virtual bool AskRestoreInterruptedSave(const QString& question) = 0;
    // A failure the user must know about.
    virtual void ShowError(const QString& text) = 0;
    // A report that needs no action.
    virtual void ShowInformation(const QString& text) = 0;

    // The file to open or to save as; empty when the user cancelled.
    virtual QString ChooseFileToOpen(const QString& directory) = 0;
    virtual QString ChooseFileToSave(const QString& suggestedPath) = 0;
    // The file to export into in `format`, under the dialog's `title`, suggesting
    // `suggestedPath` (no name when empty); empty when the user cancelled.
    virtual QString ChooseExportFile(const QString& title, const ExportFormat& format,
                                     const QString& suggestedPath) = 0;

    // The comment and options dialogs: true (and the edited values) on OK. The options
    // dialog also edits the editor's own option `explainShort`, the highlight of a short.
    virtual bool EditComment(Comment& comment) = 0;
    virtual bool EditOptions(DocumentOptions& options, bool& explainShort) = 0;
    // The details dialog of an element: the values entered on OK, nothing on Cancel.
    virtual std::optional<DetailsValues> EditDetails(const DetailsValues& initial) = 0;
};

}  // namespace kelno
