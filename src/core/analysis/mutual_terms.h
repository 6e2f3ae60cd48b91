#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kelno {

// A loop's passage through an element with resistance, seen from the loop (`index` is the
// element number) or from the element (`index` is the loop number).
struct Passage {
    std::uint32_t index;
    bool forward;
};

// Which loops pass which elements with resistance, both ways round. Only elements whose
// resistance is not exactly 0.0 take part: the others add nothing to the mutual terms.
struct LoopPassages {
    std::vector<double> resistance;  // per element number

    // Loop u's passages, in element order: byLoop[loopFirst[u]] up to byLoop[loopFirst[u + 1]].
    std::vector<std::uint32_t> loopFirst;
    std::vector<Passage> byLoop;
    // Element f's passages, in loop order: byElement[elementFirst[f]] up to the next.
    std::vector<std::uint32_t> elementFirst;
    std::vector<Passage> byElement;

    std::size_t loopCount() const { return loopFirst.empty() ? 0 : loopFirst.size() - 1; }
    std::span<const Passage> OfLoop(std::size_t u) const {
        return {byLoop.data() + loopFirst[u], byLoop.data() + loopFirst[u + 1]};
    }
    std::span<const Passage> OfElement(std::size_t f) const {
        return {byElement.data() + elementFirst[f], byElement.data() + elementFirst[f + 1]};
    }
};

// One non-zero mutual term of a loop: minus the resistance it shares with `loop`, signed
// by the directions in which the two pass the shared elements.
struct MutualEntry {
    std::uint32_t loop;
    double value;
};

// The mutual terms of the loop equations, one row per loop, holding only the loops that
// share resistance with it. Each term is summed over the shared elements in element order,
// starting from 0.0, so it is the very double a full n x n matrix would hold. The rows are
// kept while they fit into `storedEntryLimit` entries; beyond that each row is summed
// afresh whenever it is asked for, so memory stays proportional to the passages.
class MutualTerms {
public:
    MutualTerms(const LoopPassages& passages, std::size_t storedEntryLimit);

    // The non-zero terms of loop u's row, in no particular order. Valid until the next call.
    std::span<const MutualEntry> Row(std::size_t u);
    // How many non-zero terms loop u's row has.
    std::size_t RowLength(std::size_t u) const { return rowLength_[u]; }

    bool stored() const { return stored_; }

private:
    void SumRow(std::size_t u, std::vector<MutualEntry>& out);

    const LoopPassages& passages_;
    bool stored_ = true;
    std::vector<std::size_t> rowLength_;
    std::vector<std::size_t> rowFirst_;
    std::vector<MutualEntry> entries_;  // the stored rows, or the last row summed

    // Summing space per loop number: a term's running sum and whether the present row
    // has touched it yet.
    std::vector<double> sum_;
    std::vector<char> touched_;
    std::vector<std::uint32_t> touchedLoops_;
};

}  // namespace kelno
