#include "model/circuit_history.h"

#include <iterator>
#include <utility>

namespace kelno {

CircuitHistory::CircuitHistory() {
    Reset();
}

void CircuitHistory::Reset() {
    Reset(Circuit());
}

void CircuitHistory::Reset(Circuit circuit) {
    snapshots_.clear();
    snapshots_.push_back({std::move(circuit), nextState_++});
    live_ = snapshots_.begin();
}

void CircuitHistory::Checkpoint(std::int32_t limit) {
    snapshots_.erase(std::next(live_), snapshots_.end());
    // A negative limit (a file may hold one) keeps no undo state, like 0.
    const std::size_t kept = limit > 0 ? static_cast<std::size_t>(limit) : 0;
    if (kept > 0) {
        snapshots_.insert(live_, {live_->circuit, live_->state});
    }
    MarkCurrentChanged();
    TrimTo(limit);
}

// The live snapshot is the last one when this runs, so trimming from the front never
// reaches it.
void CircuitHistory::TrimTo(std::int32_t limit) {
    const std::size_t kept = limit > 0 ? static_cast<std::size_t>(limit) : 0;
    while (snapshots_.size() - 1 > kept) {
        snapshots_.pop_front();
    }
}

// The copy is made whatever the limit, and nothing is trimmed yet, so that the edit can be
// taken back; EndEdit trims as Checkpoint would have.
void CircuitHistory::BeginEdit(std::int32_t limit) {
    redoAside_.clear();
    redoAside_.splice(redoAside_.end(), snapshots_, std::next(live_), snapshots_.end());
    snapshots_.insert(live_, {live_->circuit, live_->state});
    MarkCurrentChanged();
    editLimit_ = limit;
    editOpen_ = true;
}

void CircuitHistory::EndEdit() {
    redoAside_.clear();
    TrimTo(editLimit_);
    editOpen_ = false;
}

void CircuitHistory::AbandonEdit(bool changed) {
    const auto before = std::prev(live_);
    if (changed) {
        snapshots_.erase(live_);
        live_ = before;
    } else {
        live_->state = before->state;
        snapshots_.erase(before);
    }
    snapshots_.splice(snapshots_.end(), redoAside_);
    editOpen_ = false;
}

bool CircuitHistory::Undo() {
    if (!CanUndo()) {
        return false;
    }
    --live_;
    return true;
}

bool CircuitHistory::Redo() {
    if (!CanRedo()) {
        return false;
    }
    ++live_;
    return true;
}

std::size_t CircuitHistory::UndoCount() const {
    return static_cast<std::size_t>(
        std::distance(snapshots_.cbegin(), std::list<Snapshot>::const_iterator(live_)));
}

std::size_t CircuitHistory::RedoCount() const {
    return snapshots_.size() - 1 - UndoCount();
}

}  // namespace kelno
