// Loop equations that the sweeps give up on, solved directly instead.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/analyze.h"
#include "core/circuit_builder.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// Equal resistors between two points, then a default battery (1.5 V, 0.1 ohm) across them:
// the loops among the resistors all share the first one, and with many of them the sweeps
// stall.
struct ParallelCase {
    int resistors;
    bool direct;  // whether the sweeps give up
};

TEST(SolveDirectlyTest, ParallelResistorsReadWhatOhmsLawSays) {
    for (const ParallelCase c :
         {ParallelCase{200, false}, ParallelCase{300, true}, ParallelCase{600, true}}) {
        Circuit circuit;
        CircuitBuilder b(circuit);
        std::vector<CircuitElement*> resistors;
        for (int i = 0; i < c.resistors; ++i) {
            resistors.push_back(b.Add(ElementKind::Resistor, 0, 1, 10.0));
        }
        CircuitElement* battery = b.Add(ElementKind::Battery, 0, 1);
        AnalysisReport report;
        ASSERT_TRUE(Analyze(circuit, &report)) << c.resistors;
        EXPECT_EQ(report.outcome, AnalysisOutcome::Solved);
        EXPECT_EQ(report.solvedDirectly, c.direct) << c.resistors;
        EXPECT_TRUE(report.failingLoop.empty());
        const double total = 1.5 / (0.1 + 10.0 / c.resistors);
        EXPECT_NEAR(battery->current, total, total * 1e-6) << c.resistors;
        for (const CircuitElement* r : resistors) {
            EXPECT_NEAR(r->current, -total / c.resistors, total * 1e-6 / c.resistors);
        }
        // What the voltmeter across the battery reads.
        EXPECT_NEAR(1.5 - 0.1 * battery->current, total * 10.0 / c.resistors, 1e-6);
    }
}

// A negative resistance that keeps the sweeps swinging back and forth, in a system that has
// a solution all the same: a battery of 1 V and 2 ohms, and -1 ohm shorted by two wires.
TEST(SolveDirectlyTest, SweepsThatSwingForEverGetTheExactSolution) {
    Circuit c;
    CircuitBuilder b(c);
    CircuitElement* shared = b.Add(ElementKind::Resistor, 0, 1, -1.0);
    CircuitElement* battery = b.Add(ElementKind::Battery, 1, 2, 2.0, 1.0);
    b.Add(ElementKind::Wire, 2, 0);
    CircuitElement* across = b.Add(ElementKind::Wire, 1, 3);
    b.Add(ElementKind::Wire, 3, 0);
    AnalysisReport report;
    ASSERT_TRUE(Analyze(c, &report));
    EXPECT_TRUE(report.solvedDirectly);
    EXPECT_EQ(report.sweeps, kMaxSweeps);
    // The wires across the resistor leave it without voltage, so without current; the
    // battery drives 1 V / 2 ohms round through them.
    EXPECT_NEAR(shared->current, 0.0, 1e-12);
    EXPECT_NEAR(std::fabs(battery->current), 0.5, 1e-12);
    EXPECT_NEAR(std::fabs(across->current), 0.5, 1e-12);
}

// Where the equations have no solution either, it stays a short, with the sweeps' reason.
TEST(SolveDirectlyTest, SingularSystemsStayShorts) {
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Resistor, 0, 1, 2.0);
    b.Add(ElementKind::Battery, 0, 1, 2.0, 0.001);
    b.Add(ElementKind::Resistor, 0, 1, -1.0);
    AnalysisReport report;
    EXPECT_FALSE(Analyze(c, &report));
    EXPECT_EQ(report.outcome, AnalysisOutcome::NoConvergence);
    EXPECT_FALSE(report.solvedDirectly);
    EXPECT_FALSE(report.failingLoop.empty());
    for (const CircuitElement& e : c.elements()) {
        EXPECT_EQ(e.current, 0.0);
    }
}

}  // namespace
}  // namespace kelno
