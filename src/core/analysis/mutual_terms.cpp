#include "analysis/mutual_terms.h"

#include "numeric/bit_cast.h"

namespace kelno {

namespace {

constexpr std::size_t kNarrowLimit = std::size_t{1} << 16;  // loops, and different terms

// The different values among the terms, each with its place in order of first appearance.
// An open-addressing table over the values' bits, so that two terms share a place only
// when they are the very same double.
class DistinctValues {
public:
    // The value's place, or kNarrowLimit once there are more different values than that.
    std::size_t PlaceOf(double value) {
        const auto bits = BitCast<std::uint64_t>(value);
        if (2 * (values_.size() + 1) > slots_.size()) {
            Grow();
        }
        std::size_t slot = Hash(bits);
        while (slots_[slot] != kEmpty) {
            if (BitCast<std::uint64_t>(values_[slots_[slot]]) == bits) {
                return slots_[slot];
            }
            slot = (slot + 1) & (slots_.size() - 1);
        }
        if (values_.size() == kNarrowLimit) {
            return kNarrowLimit;
        }
        slots_[slot] = static_cast<std::uint32_t>(values_.size());
        values_.push_back(value);
        return values_.size() - 1;
    }

    std::vector<double> Take() { return std::move(values_); }

private:
    static constexpr std::uint32_t kEmpty = ~std::uint32_t{0};

    std::size_t Hash(std::uint64_t bits) const {
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15u) >> (64 - shift_));
    }

    void Grow() {
        shift_ = slots_.empty() ? 8 : shift_ + 1;
        slots_.assign(std::size_t{1} << shift_, kEmpty);
        for (std::size_t i = 0; i < values_.size(); ++i) {
            std::size_t slot = Hash(BitCast<std::uint64_t>(values_[i]));
            while (slots_[slot] != kEmpty) {
                slot = (slot + 1) & (slots_.size() - 1);
            }
            slots_[slot] = static_cast<std::uint32_t>(i);
        }
    }

    int shift_ = 0;
    std::vector<std::uint32_t> slots_;
    std::vector<double> values_;
};

}  // namespace

MutualTerms::MutualTerms(const LoopPassages& passages, std::size_t storedEntryLimit)
    : passages_(passages) {
    const std::size_t n = passages.loopCount();
    sum_.assign(n, Sum{});
    KeepRows(storedEntryLimit);
    if (layout_ == Layout::Wide) {
        Narrow();
    }
}

// The terms of a pair of loops are the same double in both rows: the same shared elements
// in the same order, with the same signs. So each pair is summed once, by the lower loop,
// over the passages of the loops after it, and the term is put into both rows.
void MutualTerms::KeepRows(std::size_t storedEntryLimit) {
    const std::size_t n = passages_.loopCount();
    std::vector<std::uint32_t> upperFirst{0};
    std::vector<MutualEntry> upper;  // each row's terms with the loops after it
    std::vector<std::uint32_t> after(passages_.resistance.size(), 0);  // per element: passed
    rowLength_.assign(n, 0);
    upperFirst.reserve(n + 1);
    for (std::size_t u = 0; u < n; ++u) {
        SumRowAfter(u, after, upper);
        if (2 * upper.size() > storedEntryLimit) {
            layout_ = Layout::Fresh;
            CountFreshRows();
            return;
        }
        for (std::size_t i = upperFirst.back(); i < upper.size(); ++i) {
            ++rowLength_[upper[i].loop];
        }
        rowLength_[u] += static_cast<std::uint32_t>(upper.size() - upperFirst.back());
        upperFirst.push_back(static_cast<std::uint32_t>(upper.size()));
    }
    rowFirst_.assign(n + 1, 0);
    for (std::size_t u = 0; u < n; ++u) {
        rowFirst_[u + 1] = rowFirst_[u] + rowLength_[u];
    }
    std::vector<std::size_t> next(rowFirst_.begin(), rowFirst_.end() - 1);
    wideLoop_.resize(rowFirst_[n]);
    wideValue_.resize(rowFirst_[n]);
    for (std::size_t u = 0; u < n; ++u) {
        for (std::size_t i = upperFirst[u]; i < upperFirst[u + 1]; ++i) {
            const MutualEntry& term = upper[i];
            wideLoop_[next[u]] = term.loop;
            wideValue_[next[u]++] = term.value;
            wideLoop_[next[term.loop]] = static_cast<std::uint32_t>(u);
            wideValue_[next[term.loop]++] = term.value;
        }
    }
}

// Loop u's terms with the loops after it. An element's passages are in loop order, and
// `after` counts, per element, the loops before u that pass it, so loop u's own passage is
// there and the later loops follow it.
void MutualTerms::SumRowAfter(std::size_t u, std::vector<std::uint32_t>& after,
                              std::vector<MutualEntry>& out) {
    SumPassages<false>(
        u, [&after](std::uint32_t f) { return ++after[f]; }, out);
}

void MutualTerms::CountFreshRows() {
    for (std::size_t u = 0; u < passages_.loopCount(); ++u) {
        fresh_.clear();
        SumRow(u, fresh_);
        rowLength_[u] = static_cast<std::uint32_t>(fresh_.size());
    }
    rowFirst_ = {};
}

void MutualTerms::Narrow() {
    if (passages_.loopCount() > kNarrowLimit) {
        return;
    }
    DistinctValues distinct;
    std::vector<NarrowTerm> narrow(wideLoop_.size());
    for (std::size_t i = 0; i < wideLoop_.size(); ++i) {
        const std::size_t place = distinct.PlaceOf(wideValue_[i]);
        if (place == kNarrowLimit) {
            return;
        }
        narrow[i] = {static_cast<std::uint16_t>(wideLoop_[i]), static_cast<std::uint16_t>(place)};
    }
    layout_ = Layout::Narrow;
    narrow_ = std::move(narrow);
    distinct_ = distinct.Take();
    wideLoop_ = {};
    wideValue_ = {};
}

void MutualTerms::PassOn(std::size_t u, double delta, double* drive) {
    switch (layout_) {
        case Layout::Narrow: {
            const NarrowTerm* term = narrow_.data() + rowFirst_[u];
            const NarrowTerm* end = narrow_.data() + rowFirst_[u + 1];
            const double* value = distinct_.data();
            // Four terms at a time: they belong to four different loops, so the processor
            // may overlap their loads and stores.
            for (; end - term >= 4; term += 4) {
                const double d0 = drive[term[0].loop] + delta * value[term[0].value];
                const double d1 = drive[term[1].loop] + delta * value[term[1].value];
                const double d2 = drive[term[2].loop] + delta * value[term[2].value];
                const double d3 = drive[term[3].loop] + delta * value[term[3].value];
                drive[term[0].loop] = d0;
                drive[term[1].loop] = d1;
                drive[term[2].loop] = d2;
                drive[term[3].loop] = d3;
            }
            for (; term != end; ++term) {
                drive[term->loop] += delta * value[term->value];
            }
            break;
        }
        case Layout::Wide:
            for (std::size_t i = rowFirst_[u]; i < rowFirst_[u + 1]; ++i) {
                drive[wideLoop_[i]] += delta * wideValue_[i];
            }
            break;
        case Layout::Fresh:
            fresh_.clear();
            SumRow(u, fresh_);
            for (const MutualEntry& entry : fresh_) {
                drive[entry.loop] += delta * entry.value;
            }
            break;
    }
}

std::vector<MutualEntry> MutualTerms::Row(std::size_t u) {
    std::vector<MutualEntry> row;
    switch (layout_) {
        case Layout::Narrow:
            for (std::size_t i = rowFirst_[u]; i < rowFirst_[u + 1]; ++i) {
                row.push_back({narrow_[i].loop, distinct_[narrow_[i].value]});
            }
            break;
        case Layout::Wide:
            for (std::size_t i = rowFirst_[u]; i < rowFirst_[u + 1]; ++i) {
                row.push_back({wideLoop_[i], wideValue_[i]});
            }
            break;
        case Layout::Fresh:
            SumRow(u, row);
            break;
    }
    return row;
}

// Adds up loop u's shared resistances, element by element in element order, as the rows
// of a full matrix would be filled: each term starts as 0.0 and every shared element adds
// minus its resistance, negated again when the two loops pass it in opposite directions.
// Terms that cancel to 0.0 are left out: adding delta times 0.0 to a right-hand side,
// which is never -0.0, leaves it as it was.
void MutualTerms::SumRow(std::size_t u, std::vector<MutualEntry>& out) {
    SumPassages<true>(
        u, [](std::uint32_t) { return std::size_t{0}; }, out);
}

// Moves the terms summed so far into `out`, leaving out those that cancelled, and makes
// the summing space clean again.
void MutualTerms::TakeSums(std::vector<MutualEntry>& out) {
    for (const std::uint32_t t : touchedLoops_) {
        sum_[t].touched = false;
        if (sum_[t].value != 0.0) {
            out.push_back({t, sum_[t].value});
        }
    }
    touchedLoops_.clear();
}

}  // namespace kelno
