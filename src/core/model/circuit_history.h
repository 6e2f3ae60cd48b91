#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>

#include "model/circuit.h"

namespace kelno {

// The undo history: whole-circuit snapshots, oldest first, one of which is live. Before
// an edit the live circuit is copied into the list just before itself; the edit then
// changes the live circuit in place, so handles into it stay valid across checkpoints.
// Undo and redo only move the live position.
//
// Every snapshot carries a state number that changes whenever the live circuit is about
// to change, so that a document can tell whether it is back at the state it last saved.
class CircuitHistory {
public:
    CircuitHistory();
    // The live position refers into the snapshot list, and a moved-from history would
    // have no live circuit at all, so a history stays where it was made.
    CircuitHistory(const CircuitHistory&) = delete;
    CircuitHistory& operator=(const CircuitHistory&) = delete;

    // The live circuit: the one every part of the program reads and edits.
    Circuit& Current() { return live_->circuit; }
    const Circuit& Current() const { return live_->circuit; }

    // Starts again with one empty circuit, or with `circuit`, as the only snapshot.
    void Reset();
    void Reset(Circuit circuit);

    // Called before the live circuit is changed: drops every redo state, keeps a copy of
    // the live circuit as the newest undo state, and trims the oldest states so that at
    // most `limit` undo states remain. A limit of 0 or below keeps none; the live circuit
    // itself is never dropped.
    void Checkpoint(std::int32_t limit);

    // An edit that may still be taken back. BeginEdit does Checkpoint's work but keeps aside
    // what Checkpoint would drop; EndEdit lets it go, leaving the history as Checkpoint
    // would have; AbandonEdit puts the circuit, its state number and the undo and redo
    // states back as they were before BeginEdit. After an edit that changed the circuit the
    // live circuit is then a different object (handles into it are gone); after one that
    // did not (`changed` false) it stays the same object. Nothing else may touch the history
    // while an edit is open.
    void BeginEdit(std::int32_t limit);
    void EndEdit();
    void AbandonEdit(bool changed);
    bool editOpen() const { return editOpen_; }

    // Move the live position one step back or forward; false when there is no such step.
    bool Undo();
    bool Redo();

    bool CanUndo() const { return live_ != snapshots_.begin(); }
    bool CanRedo() const { return std::next(live_) != snapshots_.end(); }
    std::size_t UndoCount() const;
    std::size_t RedoCount() const;

    // Identifies the contents of the live circuit: equal numbers mean the same state.
    std::uint64_t CurrentState() const { return live_->state; }
    // Gives the live circuit a new state number, for a change made without a checkpoint.
    void MarkCurrentChanged() { live_->state = nextState_++; }

private:
    struct Snapshot {
        Circuit circuit;
        std::uint64_t state = 0;
    };

    void TrimTo(std::int32_t limit);

    std::list<Snapshot> snapshots_;
    std::list<Snapshot>::iterator live_;
    std::uint64_t nextState_ = 0;
    // While an edit is open: the redo states it dropped, and its undo limit.
    bool editOpen_ = false;
    std::list<Snapshot> redoAside_;
    std::int32_t editLimit_ = 0;
};

}  // namespace kelno
