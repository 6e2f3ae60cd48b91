#include "document/scoped_edit.h"

#include <utility>

namespace kelno {

ScopedEdit::ScopedEdit(Document& document) : document_(&document) {
    document.BeginEdit();
}

ScopedEdit::~ScopedEdit() {
    if (document_ != nullptr) {
        // Not committed: whatever the code before the early end did may have changed it.
        document_->AbandonEdit(true);
    }
}

void ScopedEdit::Changed(EditChange change) {
    if (change > change_) {
        change_ = change;
    }
}

void ScopedEdit::Commit() {
    Document* document = std::exchange(document_, nullptr);
    if (document == nullptr) {
        return;
    }
    if (change_ == EditChange::None) {
        document->AbandonEdit(false);
    } else {
        document->CommitEdit(change_ == EditChange::Circuit);
    }
}

}  // namespace kelno
