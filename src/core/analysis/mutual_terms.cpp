#include "analysis/mutual_terms.h"

namespace kelno {

MutualTerms::MutualTerms(const LoopPassages& passages, std::size_t storedEntryLimit)
    : passages_(passages) {
    const std::size_t n = passages.loopCount();
    sum_.assign(n, 0.0);
    touched_.assign(n, 0);
    rowLength_.reserve(n);
    rowFirst_.reserve(n + 1);
    rowFirst_.push_back(0);
    std::vector<MutualEntry> scratch;
    for (std::size_t u = 0; u < n; ++u) {
        std::vector<MutualEntry>& row = stored_ ? entries_ : scratch;
        const std::size_t before = row.size();
        SumRow(u, row);
        rowLength_.push_back(row.size() - before);
        scratch.clear();
        if (stored_ && entries_.size() > storedEntryLimit) {
            stored_ = false;
            entries_ = {};
            rowFirst_ = {};
        }
        if (stored_) {
            rowFirst_.push_back(entries_.size());
        }
    }
}

std::span<const MutualEntry> MutualTerms::Row(std::size_t u) {
    if (stored_) {
        return {entries_.data() + rowFirst_[u], entries_.data() + rowFirst_[u + 1]};
    }
    entries_.clear();
    SumRow(u, entries_);
    return entries_;
}

// Adds up loop u's shared resistances, element by element in element order, as the rows
// of a full matrix would be filled: each term starts as 0.0 and every shared element adds
// minus its resistance, negated again when the two loops pass it in opposite directions.
// Terms that cancel to 0.0 are left out: adding delta times 0.0 to a right-hand side,
// which is never -0.0, leaves it as it was.
void MutualTerms::SumRow(std::size_t u, std::vector<MutualEntry>& out) {
    for (const Passage& own : passages_.OfLoop(u)) {
        const double resistance = passages_.resistance[own.index];
        for (const Passage& other : passages_.OfElement(own.index)) {
            if (other.index == u) {
                continue;
            }
            if (!touched_[other.index]) {
                touched_[other.index] = 1;
                sum_[other.index] = 0.0;
                touchedLoops_.push_back(other.index);
            }
            sum_[other.index] += own.forward == other.forward ? -resistance : resistance;
        }
    }
    for (const std::uint32_t t : touchedLoops_) {
        touched_[t] = 0;
        if (sum_[t] != 0.0) {
            out.push_back({t, sum_[t]});
        }
    }
    touchedLoops_.clear();
}

}  // namespace kelno
