#include "analysis/mutual_terms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "numeric/bit_cast.h"

namespace kelno {
namespace {

// Three loops over four elements with resistance:
//   element 0 (2 ohm):   loops 0+, 1+, 2-
//   element 1 (0.1):     loops 0+, 1-
//   element 2 (0.2):     loops 0+, 1-
//   element 3 (0.1):     loops 1+, 2+
// Loops 0 and 1 share -2 + 0.1 + 0.2; loops 0 and 2 share +2 only through element 0;
// loops 1 and 2 share +2 - 0.1, in element order.
LoopPassages ThreeLoops() {
    LoopPassages p;
    p.resistance = {2.0, 0.1, 0.2, 0.1};
    p.loopFirst = {0, 3, 7, 9};
    p.byLoop = {{0, true},  {1, true},  {2, true},              // loop 0
                {0, true},  {1, false}, {2, false}, {3, true},  // loop 1
                {0, false}, {3, true}};                         // loop 2
    p.elementFirst = {0, 3, 5, 7, 9};
    p.byElement = {{0, true}, {1, true},  {2, false},  // element 0
                   {0, true}, {1, false},              // element 1
                   {0, true}, {1, false},              // element 2
                   {1, true}, {2, true}};              // element 3
    return p;
}

std::map<std::uint32_t, std::uint64_t> RowBits(MutualTerms& terms, std::size_t u) {
    std::map<std::uint32_t, std::uint64_t> row;
    for (const MutualEntry& entry : terms.Row(u)) {
        EXPECT_TRUE(row.emplace(entry.loop, BitCast<std::uint64_t>(entry.value)).second);
    }
    return row;
}

std::uint64_t Bits(double value) {
    return BitCast<std::uint64_t>(value);
}

// The rows hold the sums a full matrix would: each term starts at 0.0 and adds minus the
// shared resistance, negated for opposite directions, element by element in element order.
// Kept rows and rows summed afresh are the same doubles.
TEST(MutualTermsTest, KeptAndFreshRowsHoldTheSumsOfAFullMatrix) {
    const LoopPassages passages = ThreeLoops();
    const double m01 = ((0.0 + -2.0) + 0.1) + 0.2;
    const double m02 = 0.0 + 2.0;
    const double m12 = (0.0 + 2.0) + -0.1;
    const std::vector<std::map<std::uint32_t, std::uint64_t>> expected{
        {{1, Bits(m01)}, {2, Bits(m02)}},
        {{0, Bits(m01)}, {2, Bits(m12)}},
        {{0, Bits(m02)}, {1, Bits(m12)}},
    };
    MutualTerms kept(passages, 100);
    MutualTerms fresh(passages, 0);
    EXPECT_TRUE(kept.stored());
    EXPECT_FALSE(fresh.stored());
    for (std::size_t u = 0; u < 3; ++u) {
        EXPECT_EQ(RowBits(kept, u), expected[u]) << "kept row " << u;
        EXPECT_EQ(RowBits(fresh, u), expected[u]) << "fresh row " << u;
        EXPECT_EQ(kept.RowLength(u), 2u);
        EXPECT_EQ(fresh.RowLength(u), 2u);
    }
}

// Two loops that share one element forwards and an equal one backwards: their term cancels
// to 0.0 and is left out of both rows.
TEST(MutualTermsTest, TermsThatCancelAreLeftOut) {
    LoopPassages p;
    p.resistance = {5.0, 5.0};
    p.loopFirst = {0, 2, 4};
    p.byLoop = {{0, true}, {1, true}, {0, true}, {1, false}};
    p.elementFirst = {0, 2, 4};
    p.byElement = {{0, true}, {1, true}, {0, true}, {1, false}};
    for (const std::size_t limit : {std::size_t{0}, std::size_t{10}}) {
        MutualTerms terms(p, limit);
        EXPECT_TRUE(terms.Row(0).empty());
        EXPECT_TRUE(terms.Row(1).empty());
        EXPECT_EQ(terms.RowLength(0), 0u);
    }
}

// `loops` loops, each pair of which shares an element of its own, with resistances that
// repeat every `period` elements: the rows hold loops - 1 terms each, and there are
// `period` different values among them (or fewer, when fewer pairs).
LoopPassages PairwiseLoops(std::uint32_t loops, std::uint32_t period) {
    LoopPassages p;
    std::vector<std::vector<Passage>> byLoop(loops);
    p.elementFirst.push_back(0);
    for (std::uint32_t u = 0; u < loops; ++u) {
        for (std::uint32_t t = u + 1; t < loops; ++t) {
            const auto element = static_cast<std::uint32_t>(p.resistance.size());
            p.resistance.push_back(1.0 + 0.001 * (element % period));
            const bool same = (u + t) % 3 != 0;
            byLoop[u].push_back({element, true});
            byLoop[t].push_back({element, same});
            p.byElement.push_back({u, true});
            p.byElement.push_back({t, same});
            p.elementFirst.push_back(static_cast<std::uint32_t>(p.byElement.size()));
        }
    }
    p.loopFirst.push_back(0);
    for (std::uint32_t u = 0; u < loops; ++u) {
        std::sort(byLoop[u].begin(), byLoop[u].end(),
                  [](const Passage& a, const Passage& b) { return a.index < b.index; });
        p.byLoop.insert(p.byLoop.end(), byLoop[u].begin(), byLoop[u].end());
        p.loopFirst.push_back(static_cast<std::uint32_t>(p.byLoop.size()));
    }
    return p;
}

// Every layout of the rows holds the same terms, and passing a change on through a row adds
// delta times each term to the right loop: the same doubles whichever way the rows are kept.
TEST(MutualTermsTest, EveryLayoutPassesOnTheSameDoubles) {
    struct Case {
        const char* name;
        std::uint32_t loops;
        std::uint32_t period;
        std::size_t limit;
        MutualTerms::Layout layout;
    };
    const Case cases[] = {
        {"FewValues", 40, 7, 100000, MutualTerms::Layout::Narrow},
        {"TooManyValuesForSixteenBits", 400, 1000000, 1000000, MutualTerms::Layout::Wide},
        {"TooManyTerms", 40, 7, 500, MutualTerms::Layout::Fresh},
    };
    for (const Case& tc : cases) {
        const LoopPassages passages = PairwiseLoops(tc.loops, tc.period);
        MutualTerms terms(passages, tc.limit);
        ASSERT_EQ(terms.layout(), tc.layout) << tc.name;
        std::vector<double> drive(tc.loops, 0.5);
        std::vector<double> expected(tc.loops, 0.5);
        for (std::uint32_t u = 0; u < tc.loops; u += 7) {
            const double delta = 0.1 + u * 1e-3;
            // Loop u shares element e with loop t; the sum of one resistance is 0.0 - r.
            for (const Passage& own : passages.OfLoop(u)) {
                for (const Passage& other : passages.OfElement(own.index)) {
                    if (other.index != u) {
                        const double r = passages.resistance[own.index];
                        const double term = 0.0 + (own.forward == other.forward ? -r : r);
                        expected[other.index] += delta * term;
                    }
                }
            }
            terms.PassOn(u, delta, drive.data());
            EXPECT_EQ(terms.RowLength(u), tc.loops - 1) << tc.name;
            EXPECT_EQ(terms.Row(u).size(), tc.loops - 1) << tc.name;
        }
        for (std::uint32_t t = 0; t < tc.loops; ++t) {
            ASSERT_EQ(Bits(drive[t]), Bits(expected[t])) << tc.name << " loop " << t;
        }
    }
}

}  // namespace
}  // namespace kelno
