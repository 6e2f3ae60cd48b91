#include "document/document.h"

#include <algorithm>
#include <ctime>
#include <utility>


namespace kelno {

namespace {

std::int64_t SystemTime() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

LoadStatus StatusOf(KelReadStatus status) {
    switch (status) {
        case KelReadStatus::Ok:
            return LoadStatus::Ok;
        case KelReadStatus::NewerVersionRefused:
            return LoadStatus::NewerVersionRefused;
        case KelReadStatus::Malformed:
            return LoadStatus::Malformed;
    }
    return LoadStatus::Malformed;
}

}  // namespace

class Document::ModifiedWatch {
public:
    explicit ModifiedWatch(Document& document)
        : ModifiedWatch(document, document.modified()) {}
    ModifiedWatch(Document& document, bool wasModified)
        : document_(document), wasModified_(wasModified) {}
    ~ModifiedWatch() { document_.NotifyIfModifiedChanged(wasModified_); }
    ModifiedWatch(const ModifiedWatch&) = delete;
    ModifiedWatch& operator=(const ModifiedWatch&) = delete;

private:
    Document& document_;
    bool wasModified_;
};

Document::Document(Clock clock) : clock_(clock ? std::move(clock) : Clock(SystemTime)) {
    savedState_ = history_.CurrentState();
}

// --- The circuit and its history -------------------------------------------------------

void Document::Checkpoint() {
    const ModifiedWatch watch(*this);
    history_.Checkpoint(undoBufferSize_);
}

void Document::CircuitChanged() {
    const ModifiedWatch watch(*this);
    RunAnalysis();
    MarkCircuitChanged();
    Notify(DocumentEvent::Repaint);
}

void Document::GeometryChanged() {
    const ModifiedWatch watch(*this);
    MarkCircuitChanged();
    Notify(DocumentEvent::Repaint);
}

// --- Scoped edits ------------------------------------------------------------------------

void Document::BeginEdit() {
    editWasModified_ = modified();
    history_.BeginEdit(undoBufferSize_);
}

void Document::CommitEdit(bool circuitChanged) {
    const ModifiedWatch watch(*this, editWasModified_);
    history_.EndEdit();
    if (circuitChanged) {
        RunAnalysis();
    }
    MarkCircuitChanged();
    Notify(DocumentEvent::Repaint);
}

// After a change, the circuit before the edit comes back as another object: whoever holds
// points or elements of the edited one lets go of them first. An edit that changed nothing
// leaves the circuit as it is, with no undo step.
void Document::AbandonEdit(bool changed) {
    const ModifiedWatch watch(*this, editWasModified_);
    if (changed) {
        CircuitReplaced();
    }
    history_.AbandonEdit(changed);
    if (changed) {
        Notify(DocumentEvent::Repaint);
    }
}

void Document::CircuitReplaced() {
    Notify(DocumentEvent::CircuitReplaced);
}

bool Document::Undo() {
    return history_.CanUndo() && MoveInHistory(&CircuitHistory::Undo);
}

bool Document::Redo() {
    return history_.CanRedo() && MoveInHistory(&CircuitHistory::Redo);
}

bool Document::MoveInHistory(bool (CircuitHistory::*move)()) {
    const ModifiedWatch watch(*this);
    CircuitReplaced();
    (history_.*move)();
    RunAnalysis();
    Notify(DocumentEvent::Repaint);
    return true;
}

void Document::RunAnalysis() {
    ++analysisGeneration_;
    if (analysisDeferred_) {
        analysisPending_ = true;
        Notify(DocumentEvent::AnalysisRequested);
        return;
    }
    AnalyseHere();
}

void Document::AnalyseHere() {
    analysisPending_ = false;
    const auto analyze = [this] {
        lastAnalysis_ = AnalysisReport();
        shortCircuit_ = !Analyze(history_.Current(), &lastAnalysis_);
    };
    if (analysisScope_) {
        analysisScope_(analyze);
    } else {
        analyze();
    }
}

void Document::SetAnalysisDeferred(bool deferred) {
    analysisDeferred_ = deferred;
    if (!deferred && analysisPending_) {
        AnalyseHere();
        Notify(DocumentEvent::Repaint);
    }
}

bool Document::ApplyAnalysis(std::uint64_t generation, std::span<const double> currents,
                             AnalysisReport report) {
    Circuit& live = circuit();
    if (!analysisPending_ || generation != analysisGeneration_ ||
        currents.size() != live.ElementCount() || report.outcome == AnalysisOutcome::Cancelled) {
        return false;
    }
    std::size_t index = 0;
    for (CircuitElement& element : live.elements()) {
        element.current = currents[index++];
    }
    shortCircuit_ = report.outcome != AnalysisOutcome::Solved;
    lastAnalysis_ = std::move(report);
    analysisPending_ = false;
    Notify(DocumentEvent::Repaint);
    return true;
}

// A change made after the checkpoint (say, a later step of a drag) must not leave the
// live circuit looking like the state that was saved.
void Document::MarkCircuitChanged() {
    history_.MarkCurrentChanged();
}

// --- Tools -------------------------------------------------------------------------------

void Document::ChooseTool(Tool tool) {
    const std::int64_t now = clock_();
    toolOneShot_ = !(tool == lastToolChosen_ && now - lastToolTime_ <= 1);
    lastToolChosen_ = tool;
    lastToolTime_ = now;
    SetCurrentTool(tool);
}

void Document::ToolUsed() {
    if (toolOneShot_) {
        lastToolChosen_.reset();
        SetCurrentTool(Tool::Wire);
    }
}

void Document::SetCurrentTool(Tool tool) {
    if (currentTool_ != tool) {
        currentTool_ = tool;
        Notify(DocumentEvent::ToolChanged);
    }
}

// --- Comment and options -----------------------------------------------------------------

void Document::SetComment(std::string commentText, std::int32_t showCommentOnOpen) {
    const ModifiedWatch watch(*this);
    commentText_ = std::move(commentText);
    showCommentOnOpen_ = showCommentOnOpen;
    settingsModified_ = true;
}

DocumentOptions Document::options() const {
    return {noDiagonalWires_, smoothDisplay_, showCurrentFlow_, undoBufferSize_};
}

void Document::SetOptions(const DocumentOptions& options) {
    const ModifiedWatch watch(*this);
    noDiagonalWires_ = options.noDiagonalWires;
    smoothDisplay_ = options.smoothDisplay;
    showCurrentFlow_ = options.showCurrentFlow;
    undoBufferSize_ = options.undoBufferSize;
    settingsModified_ = true;
    Notify(DocumentEvent::Repaint);
}

// --- New, open and save ------------------------------------------------------------------

void Document::NewDocument() {
    const ModifiedWatch watch(*this);
    CircuitReplaced();
    SetCurrentTool(Tool::Selection);
    history_.Reset();
    shortCircuit_ = false;
    lastAnalysis_ = AnalysisReport();
    commentText_.clear();
    showCommentOnOpen_ = 0;
    windowRect_ = kNewDocumentWindow;
    fileVersion_ = kFormatVersion;
    ForgetChanges();
    Notify(DocumentEvent::Repaint);
}

LoadResult Document::Load(std::span<const std::uint8_t> bytes, const NewerVersionQuestion& ask) {
    // Everything is parsed aside first, so a file that fails leaves the document alone.
    KelReadResult file = ReadKel(bytes, ask);
    if (file.status != KelReadStatus::Ok) {
        return {StatusOf(file.status), file.error, false};
    }
    const ModifiedWatch watch(*this);
    CircuitReplaced();
    const KelFileContents& contents = file.contents;
    history_.Reset(std::move(file.circuit));
    Circuit& loaded = history_.Current();
    loaded.ClearSelection();
    loaded.ClearPointSelection();
    SetCurrentTool(Tool::Wire);
    commentText_ = contents.commentText;
    showCommentOnOpen_ = contents.showCommentOnOpen;
    noDiagonalWires_ = contents.noDiagonalWires;
    smoothDisplay_ = contents.smoothDisplay;
    showCurrentFlow_ = contents.showCurrentFlow;
    undoBufferSize_ = contents.undoBufferSize;
    windowRect_ = contents.window;
    fileVersion_ = contents.version;
    // The state of the circuit before belongs to that circuit, also while this one waits
    // for its analysis elsewhere.
    shortCircuit_ = false;
    lastAnalysis_ = AnalysisReport();
    RunAnalysis();
    ForgetChanges();
    Notify(DocumentEvent::Repaint);
    return {LoadStatus::Ok, std::string(), showCommentOnOpen_ != 0};
}

std::vector<std::uint8_t> Document::SaveBytes(const WindowRect& window) {
    KelFileContents contents;
    contents.window = window;
    contents.commentText = commentText_;
    contents.showCommentOnOpen = showCommentOnOpen_;
    contents.noDiagonalWires = noDiagonalWires_;
    contents.smoothDisplay = smoothDisplay_;
    contents.showCurrentFlow = showCurrentFlow_;
    contents.undoBufferSize = undoBufferSize_;
    return WriteKel(history_.Current(), contents);
}

void Document::MarkSaved() {
    const ModifiedWatch watch(*this);
    ForgetChanges();
}

void Document::ForgetChanges() {
    savedState_ = history_.CurrentState();
    settingsModified_ = false;
}

bool Document::modified() const {
    return settingsModified_ || history_.CurrentState() != savedState_;
}

// --- Listeners ---------------------------------------------------------------------------

Document::ListenerId Document::Subscribe(Listener listener) {
    const ListenerId id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void Document::Unsubscribe(ListenerId id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void Document::Notify(DocumentEvent event) {
    // A listener may subscribe or unsubscribe listeners while it is told: those added are
    // told from the next event on, and those removed are not told any more.
    std::vector<ListenerId> ids;
    ids.reserve(listeners_.size());
    for (const auto& entry : listeners_) {
        ids.push_back(entry.first);
    }
    for (const ListenerId id : ids) {
        const auto found = std::find_if(listeners_.begin(), listeners_.end(),
                                        [id](const auto& entry) { return entry.first == id; });
        if (found != listeners_.end()) {
            const Listener listener = found->second;
            listener(event);
        }
    }
}

void Document::NotifyIfModifiedChanged(bool wasModified) {
    if (modified() != wasModified) {
        Notify(DocumentEvent::ModifiedChanged);
    }
}

}  // namespace kelno
