#pragma once

#include "document/document.h"

namespace kelno {

// What an edit changed: positions alone, which cannot change the analysis, or the circuit.
enum class EditChange { None, Geometry, Circuit };

// One edit of a document's circuit, as one undo step. Opening it takes the undo state; the
// edit then changes the live circuit and says what it changed. Commit ends it: the circuit
// is analysed when it changed more than positions, the document counts as modified, and the
// listeners are told once. An edit committed without a change leaves no undo step and the
// circuit as it is. One that ends without Commit (an early return, an exception) takes
// itself back: the circuit before it, the undo and redo states and the modified state come
// back, and the listeners are told that the circuit was replaced.
class ScopedEdit {
public:
    explicit ScopedEdit(Document& document);
    ~ScopedEdit();
    ScopedEdit(const ScopedEdit&) = delete;
    ScopedEdit& operator=(const ScopedEdit&) = delete;

    // Notes a change; the largest one noted decides what Commit does.
    void Changed(EditChange change);
    EditChange change() const { return change_; }

    void Commit();
    void Commit(EditChange change) {
        Changed(change);
        Commit();
    }

private:
    Document* document_;
    EditChange change_ = EditChange::None;
};

}  // namespace kelno
