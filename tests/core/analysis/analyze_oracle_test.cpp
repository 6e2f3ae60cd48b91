// The analysis against the literal algorithm on many generated circuits: the same loops,
// the same report and the very same doubles, compared bit for bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/analyze.h"
#include "analysis/loop_basis.h"
#include "circuit_generators.h"
#include "core/analysis/literal_analysis.h"
#include "numeric/bit_cast.h"

namespace kelno {
namespace {

using testing::GridOrder;
using testing::LiteralAnalyze;
using testing::LiteralLoops;
using testing::RandomCircuit;
using testing::RandomCircuitOptions;

std::vector<std::string> Describe(const std::vector<LoopPath>& loops) {
    std::vector<std::string> described;
    for (const LoopPath& path : loops) {
        std::string text;
        for (const LoopStep& step : path) {
            text += std::to_string(step.element->serial) + (step.forward ? "+ " : "- ");
        }
        described.push_back(text);
    }
    return described;
}

struct Analysis {
    bool ok;
    AnalysisReport report;
    std::vector<std::uint64_t> currentBits;
};

template <class Analyzer>
Analysis Run(const Circuit& original, Analyzer analyze) {
    Circuit circuit(original);
    Analysis result{};
    result.ok = analyze(circuit, &result.report);
    for (const CircuitElement& element : circuit.elements()) {
        result.currentBits.push_back(BitCast<std::uint64_t>(element.current));
    }
    return result;
}

// Counts what the comparisons saw, so that a test can tell that it exercised the outcomes
// it means to.
struct Tally {
    int circuits = 0;
    int failures = 0;
    int loops = 0;
};

void ExpectSameAsLiteral(const Circuit& circuit, const std::string& what, Tally& tally) {
    Circuit forBasis(circuit);
    Circuit forLiteralBasis(circuit);
    ASSERT_EQ(Describe(LoopBasis(forBasis).Build()), Describe(LiteralLoops(forLiteralBasis)))
        << what;

    const Analysis fast = Run(circuit, [](Circuit& c, AnalysisReport* r) { return Analyze(c, r); });
    const Analysis literal = Run(circuit, LiteralAnalyze);
    EXPECT_EQ(fast.ok, literal.ok) << what;
    EXPECT_EQ(fast.report.outcome, literal.report.outcome) << what;
    EXPECT_EQ(fast.report.loops, literal.report.loops) << what;
    EXPECT_EQ(fast.report.sweeps, literal.report.sweeps) << what;
    EXPECT_EQ(fast.currentBits, literal.currentBits) << what;
    ++tally.circuits;
    tally.failures += literal.ok ? 0 : 1;
    tally.loops += static_cast<int>(literal.report.loops);
}

TEST(AnalyzeOracleTest, RandomCircuitsWithEveryOddity) {
    Tally tally;
    for (std::uint64_t seed = 1; seed <= 1200; ++seed) {
        ExpectSameAsLiteral(RandomCircuit(seed), "random " + std::to_string(seed), tally);
    }
    RandomCircuitOptions larger;
    larger.maxPoints = 40;
    larger.maxElements = 90;
    for (std::uint64_t seed = 1; seed <= 150; ++seed) {
        ExpectSameAsLiteral(RandomCircuit(seed, larger), "larger " + std::to_string(seed), tally);
    }
    EXPECT_EQ(tally.circuits, 1350);
    // Both outcomes must be well represented, or the comparison proves little.
    EXPECT_GT(tally.failures, 100);
    EXPECT_GT(tally.circuits - tally.failures, 600);
}

TEST(AnalyzeOracleTest, GridsInNaturalOrder) {
    Tally tally;
    for (int rows = 1; rows <= 9; ++rows) {
        for (int cols = 2; cols <= 11; cols += 3) {
            ExpectSameAsLiteral(testing::ResistorGrid(rows, cols),
                                std::to_string(rows) + "x" + std::to_string(cols), tally);
        }
    }
    EXPECT_EQ(tally.failures, 0);
}

TEST(AnalyzeOracleTest, GridsInShuffledOrderWithRandomOrientations) {
    Tally tally;
    for (std::uint64_t seed = 1; seed <= 80; ++seed) {
        const int rows = 2 + static_cast<int>(seed % 7);
        const int cols = 2 + static_cast<int>(seed * 5 % 8);
        ExpectSameAsLiteral(testing::ResistorGrid(rows, cols, GridOrder::Shuffled, seed),
                            "shuffled " + std::to_string(seed), tally);
    }
    EXPECT_EQ(tally.failures, 0);
}

TEST(AnalyzeOracleTest, Ladders) {
    Tally tally;
    for (int rungs = 1; rungs <= 40; ++rungs) {
        ExpectSameAsLiteral(testing::Ladder(rungs), "ladder " + std::to_string(rungs), tally);
    }
    EXPECT_EQ(tally.failures, 0);
    EXPECT_EQ(tally.loops, 40 * 41 / 2);
}

}  // namespace
}  // namespace kelno
