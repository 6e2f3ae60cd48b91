#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/analysis_worker.h"
#include "document/clipboard_port.h"
#include "document/document.h"
#include "prompts.h"

namespace kelno {

// The document of the editor window: the circuit document of the core with a file name,
// the "save changes?" step, the open and save dialogs and the messages of its failures.
// The core's events become signals for the view and the frame.
//
// The circuit is analysed on a thread of its own, so that the window answers while a large
// circuit is analysed: a change waits a moment for its analysis, which is all a classroom
// circuit needs, and otherwise goes on; the readings then stay as they were, shown as
// pending, until the result comes back. A newer change cancels an analysis under way.
class CKelnoDoc : public QObject {
    Q_OBJECT

public:
    // The screen rectangle of the main window, saved with the document.
    using WindowRectSource = std::function<WindowRect()>;

    // Without a clipboard of its own the document uses the desktop's.
    explicit CKelnoDoc(Prompts& prompts, Document::Clock clock = {}, QObject* parent = nullptr,
                       ClipboardPort* clipboard = nullptr);
    ~CKelnoDoc() override;

    Document& core() { return document_; }
    const Document& core() const { return document_; }

    // The file the document was opened from or saved to; empty for a new document.
    const QString& pathName() const { return pathName_; }
    // The name the title bar and the save question use: the file's name, or "無題".
    QString title() const;
    bool isModified() const { return document_.modified(); }

    void SetWindowRectSource(WindowRectSource source) { windowRectSource_ = std::move(source); }
    void SetPrompts(Prompts& prompts) { prompts_ = &prompts; }
    Prompts& prompts() { return *prompts_; }

    // Asks whether to save a modified document, and saves it when asked to. False when the
    // user cancelled or the document could not be saved: the step that asked must not go on.
    bool SaveModified();

    // File New without any question: an empty circuit under the name "無題".
    void NewDocument();
    // Whether opening a file shows its comment when the file asks for it. Printing from the
    // command line skips it: nobody is there to close the dialog.
    enum class CommentOnOpening { Show, Skip };

    // Opens a file without any question; a failure is shown and leaves the document as it
    // was.
    LoadStatus OpenDocumentFile(const QString& path,
                                CommentOnOpening comment = CommentOnOpening::Show);

    // File Save: to the document's file, or through Save As for a new document.
    bool Save();
    bool SaveAs();
    bool SaveTo(const QString& path);

    // The comment and options commands. The options dialog also edits the editor's own
    // `explainShort`, which changes only when the dialog is confirmed (true).
    void EditComment();
    bool EditOptions(bool& explainShort);

    // The clipboard commands. Paste takes circuit text whole or not at all, and says why
    // it refused text that is not the program's.
    void Cut();
    void Copy();
    void Paste();
    bool CanCut() const;
    bool CanCopy() const;
    bool CanPaste() const;

    // Whether the readings on show belong to an earlier circuit, because the analysis of
    // this one has taken longer than a moment.
    bool readingsPending() const { return readingsPending_; }
    // Waits, with the wait cursor, until the readings belong to the circuit: saving,
    // printing and exports store and show the currents of what they store and show.
    void WaitForAnalysis();
    // How long a change waits for its analysis before the window goes on without it.
    void SetAnalysisWait(std::chrono::milliseconds wait) { analysisWait_ = wait; }

    void Undo() { document_.Undo(); }
    void Redo() { document_.Redo(); }
    void ChooseTool(Tool tool) { document_.ChooseTool(tool); }

    // A file name as the save dialog returned it, with ".kel" added when it is missing.
    static QString WithKelExtension(const QString& path);

signals:
    void repaintRequested();
    void modifiedChanged(bool modified);
    void toolChanged(kelno::Tool tool);
    // The file name changed: New, Open or Save As.
    void titleChanged(const QString& title);
    // A file was opened or saved under a new name (for the recent-file list).
    void fileUsed(const QString& path);
    // A file was opened: the window takes the size it was saved with.
    void windowRectLoaded(const kelno::WindowRect& rect);
    // The readings turned pending, or up to date again.
    void readingsPendingChanged(bool pending);

private:
    void OnDocumentEvent(DocumentEvent event);
    void StartAnalysis();
    void TakeFinishedAnalysis();
    void SetReadingsPending(bool pending);
    void SetPathName(const QString& path);
    void ShowLoadFailure(const LoadResult& result);
    bool OfferInterruptedSaveCopy(const QString& path, bool& declined);
    // The comment dialog that a file opens by itself. An edit made there is kept as a
    // change of the document, so that closing asks to save it.
    void ShowCommentOnOpening();
    // Runs the comment dialog: the values entered on OK, nothing on Cancel.
    std::optional<Prompts::Comment> AskComment();
    // Takes the dialog's values. Text that was not edited keeps its very bytes, even those
    // that have no Unicode equivalent.
    void TakeComment(const Prompts::Comment& comment);
    WindowRect CurrentWindowRect() const;

    Prompts* prompts_;
    std::unique_ptr<ClipboardPort> systemClipboard_;
    ClipboardPort* clipboard_;
    Document document_;
    Document::ListenerId listener_ = 0;
    QString pathName_;
    WindowRectSource windowRectSource_;
    std::chrono::milliseconds analysisWait_{30};
    QTimer pendingDelay_;
    bool readingsPending_ = false;
    // Last: it ends, and stops calling back, before anything it calls back into goes.
    std::unique_ptr<AnalysisWorker> worker_;
};

}  // namespace kelno
