#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analyze.h"
#include "io/kel_file.h"
#include "model/circuit.h"
#include "model/circuit_history.h"
#include "model/tool.h"

namespace kelno {

// The window rectangle a document carries until a window gives it its own.
inline constexpr WindowRect kNewDocumentWindow{100, 100, 1000, 800};

// What the document tells the views and the window about.
enum class DocumentEvent {
    Repaint,          // the circuit or a drawing option changed: redraw everything
    ModifiedChanged,  // modified() turned from false to true or back
    ToolChanged,      // currentTool() changed
    // A command replaced the live circuit or changed it outside any editing gesture (undo,
    // redo, new, open, cut, paste): whoever holds points or elements of it lets go of them.
    CircuitReplaced,
    // While the analysis is deferred: a change asks for the circuit of the present
    // analysisGeneration() to be analysed elsewhere.
    AnalysisRequested,
};

// The options a document keeps in its file. `noDiagonalWires` is one setting for the
// whole program, held by the document's owner; a document only carries it into and out of
// its file.
struct DocumentOptions {
    bool noDiagonalWires = false;
    bool smoothDisplay = false;
    bool showCurrentFlow = true;
    std::int32_t undoBufferSize = 10;
    bool operator==(const DocumentOptions&) const = default;
};

enum class LoadStatus {
    Ok,
    Unreadable,           // the file could not be read at all
    NewerVersionRefused,  // the question about a newer version was not answered Yes
    Malformed,            // not a .kel file, or a damaged one
};

struct LoadResult {
    LoadStatus status = LoadStatus::Malformed;
    std::string error;         // for the user (UTF-8) when status is not Ok
    bool showComment = false;  // the file asks for its comment to be shown on opening
};

// The circuit document without any window: the undo history whose live snapshot is the
// circuit being edited, the result of the last analysis, the editing tool, the comment
// and the options, and whether there is unsaved work. The editor's document class and
// kelno-cli both work through it.
//
// Every change of the circuit counts as unsaved work, undo and redo included; returning
// to the very state that was last saved or loaded counts as saved again.
class Document {
public:
    // Calendar time in whole seconds; tests step it by hand.
    using Clock = std::function<std::int64_t()>;
    using Listener = std::function<void(DocumentEvent)>;
    using ListenerId = std::size_t;
    // Runs around every analysis and calls `analyze` exactly once, so that a window can
    // show that it is busy while a large circuit is analysed.
    using AnalysisScope = std::function<void(const std::function<void()>& analyze)>;

    // Starts as a new, empty document. Without a clock the system's calendar time is used.
    explicit Document(Clock clock = {});
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // --- The circuit and its history ---------------------------------------------------
    Circuit& circuit() { return history_.Current(); }
    const Circuit& circuit() const { return history_.Current(); }
    CircuitHistory& history() { return history_; }
    const CircuitHistory& history() const { return history_; }

    // Edits go through a ScopedEdit (document/scoped_edit.h), which brackets them as one
    // undo step. These are the steps it takes, for the code that brackets by hand:
    // Checkpoint keeps an undo state within the undo buffer size.
    void Checkpoint();
    // Ends an edit that may have changed connections or values: analyses the circuit,
    // marks the document modified and asks for a repaint.
    void CircuitChanged();
    // Ends an edit of positions alone, which cannot change the analysis.
    void GeometryChanged();
    // Announces that a command is about to replace or change the live circuit on its own,
    // so that an editing gesture under way ends before its points and elements go stale.
    void CircuitReplaced();

    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    // Move through the history; the restored circuit is analysed again so that the
    // short-circuit state describes it. False when there was nothing to undo or redo.
    bool Undo();
    bool Redo();

    void SetAnalysisScope(AnalysisScope scope) { analysisScope_ = std::move(scope); }

    // --- The analysis run elsewhere --------------------------------------------------------
    // While deferred, a change does not analyse the circuit here: it starts a new analysis
    // generation and leaves the readings of the last analysis in place, pending, so that the
    // owner can analyse a copy of the circuit elsewhere (a worker, a thread) and hand the
    // result back with ApplyAnalysis; each such change tells the listeners AnalysisRequested.
    // Turning deferral off analyses a pending circuit at once.
    void SetAnalysisDeferred(bool deferred);
    bool analysisDeferred() const { return analysisDeferred_; }
    bool analysisPending() const { return analysisPending_; }
    // Counts the analyses asked for; a change of positions alone does not ask for one.
    std::uint64_t analysisGeneration() const { return analysisGeneration_; }
    // Takes the result of analysing the circuit of `generation` elsewhere: the current of
    // every element in the circuit's order, and the report. False, changing nothing, when a
    // later change has superseded that generation, the currents do not fit the circuit, or
    // the analysis was cancelled.
    bool ApplyAnalysis(std::uint64_t generation, std::span<const double> currents,
                       AnalysisReport report);

    // True when the last analysis found no finite solution ("Short").
    bool shortCircuit() const { return shortCircuit_; }
    const AnalysisReport& lastAnalysis() const { return lastAnalysis_; }

    // --- Tools -------------------------------------------------------------------------
    Tool currentTool() const { return currentTool_; }
    // None when no tool command counts as the last one.
    std::optional<Tool> lastToolChosen() const { return lastToolChosen_; }
    std::int64_t lastToolTime() const { return lastToolTime_; }
    bool toolOneShot() const { return toolOneShot_; }

    // A tool command. Choosing the same tool twice within a second (a double click on its
    // button) keeps it; otherwise a component tool falls back to the wire tool once used.
    void ChooseTool(Tool tool);
    // Called after a component tool has placed a component.
    void ToolUsed();

    // --- Comment and options -------------------------------------------------------------
    const std::string& commentText() const { return commentText_; }  // code page 932
    std::int32_t showCommentOnOpen() const { return showCommentOnOpen_; }
    // The comment dialog's OK: takes the values and marks the document modified, changed
    // or not.
    void SetComment(std::string commentText, std::int32_t showCommentOnOpen);

    bool smoothDisplay() const { return smoothDisplay_; }
    bool showCurrentFlow() const { return showCurrentFlow_; }
    std::int32_t undoBufferSize() const { return undoBufferSize_; }
    // The value the file was read with or the owner gave; the owner decides what it means.
    bool noDiagonalWires() const { return noDiagonalWires_; }
    // The owner's program-wide setting, carried into the next save: not a change of the
    // document.
    void SetNoDiagonalWires(bool on) { noDiagonalWires_ = on; }

    DocumentOptions options() const;
    // The options dialog's OK: takes the values (the program-wide one included, for the
    // owner to apply), marks the document modified and asks for a repaint.
    void SetOptions(const DocumentOptions& options);

    // --- New, open and save --------------------------------------------------------------
    // File New: an empty circuit, no undo, the selection tool, no comment. The options
    // carry over.
    void NewDocument();

    // Opens a file. On success the loaded circuit is the only state of the history, the
    // tool is the wire tool, the comment and options come from the file and the circuit is
    // analysed; the window rectangle read is kept for the window. On failure nothing of the
    // document changes. `ask` answers whether to open a file of a newer version.
    LoadResult Load(std::span<const std::uint8_t> bytes, const NewerVersionQuestion& ask);
    // (LoadFile and SaveFile exist where there are files: the desktop programs.)
    LoadResult LoadFile(const std::string& path, const NewerVersionQuestion& ask);

    // The bytes of the document's file, with the window rectangle the window supplies.
    std::vector<std::uint8_t> SaveBytes(const WindowRect& window);
    // Saves into a file, replacing it only once everything is written. On success the
    // document is no longer modified; on failure it stays as it was and `error` says why.
    bool SaveFile(const std::string& path, const WindowRect& window, std::string& error);
    // For a window that writes the bytes of SaveBytes itself: they are safely stored now.
    void MarkSaved();

    // The window rectangle of the file last opened (or of a new document).
    const WindowRect& windowRect() const { return windowRect_; }
    // The format version of the file last opened; kFormatVersion for a new document.
    std::int32_t fileVersion() const { return fileVersion_; }

    // Whether there is work that has not been saved.
    bool modified() const;

    // --- Listeners -----------------------------------------------------------------------
    ListenerId Subscribe(Listener listener);
    void Unsubscribe(ListenerId id);

private:
    friend class ScopedEdit;
    // Tells the listeners, when it goes, whether modified() changed since it was made.
    class ModifiedWatch;

    void BeginEdit();
    void CommitEdit(bool circuitChanged);
    void AbandonEdit(bool changed);
    bool MoveInHistory(bool (CircuitHistory::*move)());

    void RunAnalysis();
    void AnalyseHere();
    void MarkCircuitChanged();
    // Takes the present state as the saved one, without telling anyone.
    void ForgetChanges();
    void SetCurrentTool(Tool tool);
    void Notify(DocumentEvent event);
    // Tells the listeners when modified() is no longer what it was.
    void NotifyIfModifiedChanged(bool wasModified);

    Clock clock_;
    AnalysisScope analysisScope_;
    CircuitHistory history_;
    bool shortCircuit_ = false;
    AnalysisReport lastAnalysis_;
    bool analysisDeferred_ = false;
    bool analysisPending_ = false;
    std::uint64_t analysisGeneration_ = 0;
    Tool currentTool_ = Tool::Selection;
    std::optional<Tool> lastToolChosen_;
    std::int64_t lastToolTime_ = 0;
    bool toolOneShot_ = false;
    std::string commentText_;
    std::int32_t showCommentOnOpen_ = 0;
    bool noDiagonalWires_ = false;
    bool smoothDisplay_ = false;
    bool showCurrentFlow_ = true;
    std::int32_t undoBufferSize_ = 10;
    WindowRect windowRect_ = kNewDocumentWindow;
    std::int32_t fileVersion_ = kFormatVersion;

    // The history state that was saved or loaded last, and whether something outside the
    // circuit (comment, options) changed since.
    std::uint64_t savedState_ = 0;
    bool settingsModified_ = false;
    // Whether there was unsaved work when the open edit began.
    bool editWasModified_ = false;

    std::vector<std::pair<ListenerId, Listener>> listeners_;
    ListenerId nextListenerId_ = 1;
};

}  // namespace kelno
