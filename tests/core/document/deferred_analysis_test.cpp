#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/circuit_builder.h"
#include "document/document.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// The analysis run elsewhere: a change leaves the readings pending until its result comes
// back, a later change supersedes an earlier result, and the result applied is exactly what
// the analysis here would have given.
class DeferredAnalysisTest : public ::testing::Test {
protected:
    // A default battery and a bulb in a ring, as one edit.
    void BuildRing() {
        doc.Checkpoint();
        CircuitBuilder b(doc.circuit());
        b.Add(ElementKind::Battery, 0, 1);
        b.Add(ElementKind::Wire, 1, 2);
        b.Add(ElementKind::Bulb, 2, 3);
        b.Add(ElementKind::Wire, 3, 0);
        doc.CircuitChanged();
    }

    // The currents and report of the live circuit analysed here, on a copy.
    static std::vector<double> CurrentsOf(const Circuit& circuit) {
        std::vector<double> currents;
        for (const CircuitElement& element : circuit.elements()) {
            currents.push_back(element.current);
        }
        return currents;
    }

    std::pair<std::vector<double>, AnalysisReport> AnalyseCopy() const {
        Circuit copy = doc.circuit();
        AnalysisReport report;
        Analyze(copy, &report);
        return {CurrentsOf(copy), report};
    }

    Document doc;
};

TEST_F(DeferredAnalysisTest, AChangeLeavesTheReadingsPendingUntilTheResultIsApplied) {
    doc.SetAnalysisDeferred(true);
    int repaints = 0;
    doc.Subscribe([&](DocumentEvent event) { repaints += event == DocumentEvent::Repaint; });
    BuildRing();
    EXPECT_TRUE(doc.analysisPending());
    EXPECT_EQ(CurrentsOf(doc.circuit()), std::vector<double>(4, 0.0));

    const auto [currents, report] = AnalyseCopy();
    repaints = 0;
    ASSERT_TRUE(doc.ApplyAnalysis(doc.analysisGeneration(), currents, report));
    EXPECT_FALSE(doc.analysisPending());
    EXPECT_EQ(CurrentsOf(doc.circuit()), currents);
    EXPECT_NE(currents[0], 0.0);
    EXPECT_FALSE(doc.shortCircuit());
    EXPECT_EQ(repaints, 1);
}

TEST_F(DeferredAnalysisTest, ALaterChangeSupersedesAnEarlierResult) {
    doc.SetAnalysisDeferred(true);
    BuildRing();
    const std::uint64_t first = doc.analysisGeneration();
    const auto [currents, report] = AnalyseCopy();
    doc.Undo();  // the circuit changes again before the result arrives
    EXPECT_NE(doc.analysisGeneration(), first);
    EXPECT_FALSE(doc.ApplyAnalysis(first, currents, report));
    EXPECT_TRUE(doc.analysisPending());
    // A result that does not fit the circuit is refused as well.
    EXPECT_FALSE(doc.ApplyAnalysis(doc.analysisGeneration(), currents, report));
}

TEST_F(DeferredAnalysisTest, AMoveAloneAsksForNoNewAnalysis) {
    doc.SetAnalysisDeferred(true);
    BuildRing();
    const std::uint64_t generation = doc.analysisGeneration();
    doc.Checkpoint();
    doc.circuit().points().begin()->x += 10;
    doc.GeometryChanged();
    EXPECT_EQ(doc.analysisGeneration(), generation);
    const auto [currents, report] = AnalyseCopy();
    EXPECT_TRUE(doc.ApplyAnalysis(generation, currents, report));
}

TEST_F(DeferredAnalysisTest, AShortComesBackAsAShortWithItsLoop) {
    doc.SetAnalysisDeferred(true);
    doc.Checkpoint();
    CircuitBuilder b(doc.circuit());
    b.Add(ElementKind::Battery, 0, 1, 0.0, 1.5);
    b.Add(ElementKind::Wire, 1, 0);
    doc.CircuitChanged();
    const auto [currents, report] = AnalyseCopy();
    ASSERT_NE(report.outcome, AnalysisOutcome::Solved);
    ASSERT_TRUE(doc.ApplyAnalysis(doc.analysisGeneration(), currents, report));
    EXPECT_TRUE(doc.shortCircuit());
    EXPECT_EQ(doc.lastAnalysis().failingLoop, report.failingLoop);
}

TEST_F(DeferredAnalysisTest, EndingDeferralAnalysesAPendingCircuitHere) {
    doc.SetAnalysisDeferred(true);
    BuildRing();
    const auto [currents, report] = AnalyseCopy();
    doc.SetAnalysisDeferred(false);
    EXPECT_FALSE(doc.analysisPending());
    EXPECT_EQ(CurrentsOf(doc.circuit()), currents);
    // Without deferral nothing is ever pending, and no result is taken from elsewhere.
    BuildRing();
    EXPECT_FALSE(doc.analysisPending());
    EXPECT_FALSE(doc.ApplyAnalysis(doc.analysisGeneration(), CurrentsOf(doc.circuit()), report));
}

}  // namespace
}  // namespace kelno
