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

Document::Document(Clock clock) : clock_(clock ? std::move(clock) : Clock(SystemTime)) {
    savedState_ = history_.CurrentState();
}

// --- The circuit and its history -------------------------------------------------------

void Document::Checkpoint() {
    const bool wasModified = modified();
    history_.Checkpoint(undoBufferSize_);
    NotifyIfModifiedChanged(wasModified);
}

void Document::CircuitChanged() {
    const bool wasModified = modified();
    RunAnalysis();
    MarkCircuitChanged();
    Notify(DocumentEvent::Repaint);
    NotifyIfModifiedChanged(wasModified);
}

void Document::GeometryChanged() {
    const bool wasModified = modified();
    MarkCircuitChanged();
    Notify(DocumentEvent::Repaint);
    NotifyIfModifiedChanged(wasModified);
}

void Document::CircuitReplaced() {
    Notify(DocumentEvent::CircuitReplaced);
}

bool Document::Undo() {
    const bool wasModified = modified();
    if (!history_.CanUndo()) {
        return false;
    }
    CircuitReplaced();
    history_.Undo();
    RunAnalysis();
    Notify(DocumentEvent::Repaint);
    NotifyIfModifiedChanged(wasModified);
    return true;
}

bool Document::Redo() {
    const bool wasModified = modified();
    if (!history_.CanRedo()) {
        return false;
    }
    CircuitReplaced();
    history_.Redo();
    RunAnalysis();
    Notify(DocumentEvent::Repaint);
    NotifyIfModifiedChanged(wasModified);
    return true;
}

void Document::RunAnalysis() {
    ++analysisGeneration_;
    if (analysisDeferred_) {
        analysisPending_ = true;
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
        currents.size() != live.ElementCount()) {
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
    const bool wasModified = modified();
    commentText_ = std::move(commentText);
    showCommentOnOpen_ = showCommentOnOpen;
    settingsModified_ = true;
    NotifyIfModifiedChanged(wasModified);
}

DocumentOptions Document::options() const {
    return {noDiagonalWires_, smoothDisplay_, showCurrentFlow_, undoBufferSize_};
}

void Document::SetOptions(const DocumentOptions& options) {
    const bool wasModified = modified();
    noDiagonalWires_ = options.noDiagonalWires;
    smoothDisplay_ = options.smoothDisplay;
    showCurrentFlow_ = options.showCurrentFlow;
    undoBufferSize_ = options.undoBufferSize;
    settingsModified_ = true;
    Notify(DocumentEvent::Repaint);
    NotifyIfModifiedChanged(wasModified);
}

// --- New, open and save ------------------------------------------------------------------

void Document::NewDocument() {
    const bool wasModified = modified();
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
    NotifyIfModifiedChanged(wasModified);
}

LoadResult Document::Load(std::span<const std::uint8_t> bytes, const NewerVersionQuestion& ask) {
    // Everything is parsed aside first, so a file that fails leaves the document alone.
    KelReadResult file = ReadKel(bytes, ask);
    if (file.status != KelReadStatus::Ok) {
        return {StatusOf(file.status), file.error, false};
    }
    const bool wasModified = modified();
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
    RunAnalysis();
    ForgetChanges();
    Notify(DocumentEvent::Repaint);
    NotifyIfModifiedChanged(wasModified);
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
    const bool wasModified = modified();
    ForgetChanges();
    NotifyIfModifiedChanged(wasModified);
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
