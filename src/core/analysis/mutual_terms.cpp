#include "analysis/mutual_terms.h"

#include <bit>

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
        const auto bits = std::bit_cast<std::uint64_t>(value);
        if (2 * (values_.size() + 1) > slots_.size()) {
            Grow();
        }
        std::size_t slot = Hash(bits);
        while (slots_[slot] != kEmpty) {
            if (std::bit_cast<std::uint64_t>(values_[slots_[slot]]) == bits) {
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
            std::size_t slot = Hash(std::bit_cast<std::uint64_t>(values_[i]));
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
    sum_.assign(n, 0.0);
    touched_.assign(n, 0);
    KeepRows(storedEntryLimit);
    if (layout_ == Layout::Wide) {
        Narrow();
    }
}

void MutualTerms::KeepRows(std::size_t storedEntryLimit) {
    const std::size_t n = passages_.loopCount();
    rowLength_.reserve(n);
    rowFirst_.reserve(n + 1);
    rowFirst_.push_back(0);
    for (std::size_t u = 0; u < n; ++u) {
        fresh_.clear();
        SumRow(u, fresh_);
        rowLength_.push_back(static_cast<std::uint32_t>(fresh_.size()));
        if (layout_ != Layout::Wide) {
            continue;
        }
        if (wideLoop_.size() + fresh_.size() > storedEntryLimit) {
            layout_ = Layout::Fresh;
            wideLoop_ = {};
            wideValue_ = {};
            rowFirst_ = {};
            continue;
        }
        for (const MutualEntry& entry : fresh_) {
            wideLoop_.push_back(entry.loop);
            wideValue_.push_back(entry.value);
        }
        rowFirst_.push_back(wideLoop_.size());
    }
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
