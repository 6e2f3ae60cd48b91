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
// starting from 0.0, so it is the very double a full n x n matrix would hold.
//
// The sweeps read every row many times over, so the rows are kept as small as they can be:
// while there are at most 65536 loops and 65536 different terms (a circuit built of a few
// kinds of element has few), each term is two 16-bit numbers, its loop and its place in a
// table of the different values. Otherwise a term is a 32-bit loop number and its value.
// Rows beyond `storedEntryLimit` terms in all are not kept: each is summed afresh whenever
// it is needed, so memory stays proportional to the passages.
class MutualTerms {
public:
    enum class Layout { Narrow, Wide, Fresh };

    MutualTerms(const LoopPassages& passages, std::size_t storedEntryLimit);

    // Adds delta times each of loop u's terms to the right-hand side of the loop the term
    // belongs to: drive[t] += delta * term, for every t that shares resistance with u.
    void PassOn(std::size_t u, double delta, double* drive);

    // The non-zero terms of loop u's row, in no particular order.
    std::vector<MutualEntry> Row(std::size_t u);
    // How many non-zero terms loop u's row has.
    std::size_t RowLength(std::size_t u) const { return rowLength_[u]; }

    Layout layout() const { return layout_; }
    bool stored() const { return layout_ != Layout::Fresh; }

private:
    struct NarrowTerm {
        std::uint16_t loop;
        std::uint16_t value;  // place in distinct_
    };

    void SumRow(std::size_t u, std::vector<MutualEntry>& out);
    void SumRowAfter(std::size_t u, std::vector<std::uint32_t>& after,
                     std::vector<MutualEntry>& out);
    // Sums loop u's terms over the passages of each of its elements from the one that
    // `firstOf(element)` names on, and moves them into `out`. Loop u's own passage is
    // passed over when it may be among them.
    template <bool kMayMeetOwn, class FirstPassage>
    void SumPassages(std::size_t u, FirstPassage firstOf, std::vector<MutualEntry>& out) {
        for (const Passage& own : passages_.OfLoop(u)) {
            const double resistance = passages_.resistance[own.index];
            for (const Passage& other :
                 passages_.OfElement(own.index).subspan(firstOf(own.index))) {
                if (kMayMeetOwn && other.index == u) {
                    continue;
                }
                Sum& sum = sum_[other.index];
                if (!sum.touched) {
                    sum = {0.0, true};
                    touchedLoops_.push_back(other.index);
                }
                sum.value += own.forward == other.forward ? -resistance : resistance;
            }
        }
        TakeSums(out);
    }
    void TakeSums(std::vector<MutualEntry>& out);
    void KeepRows(std::size_t storedEntryLimit);
    void CountFreshRows();
    void Narrow();

    const LoopPassages& passages_;
    Layout layout_ = Layout::Wide;
    std::vector<std::uint32_t> rowLength_;
    std::vector<std::size_t> rowFirst_;  // where each kept row starts, and the end

    std::vector<std::uint32_t> wideLoop_;
    std::vector<double> wideValue_;
    std::vector<NarrowTerm> narrow_;
    std::vector<double> distinct_;

    // Summing space per loop number: a term's running sum and whether the present row
    // has touched it yet; and the row last summed afresh.
    struct Sum {
        double value = 0.0;
        bool touched = false;
    };
    std::vector<Sum> sum_;
    std::vector<std::uint32_t> touchedLoops_;
    std::vector<MutualEntry> fresh_;
};

}  // namespace kelno
