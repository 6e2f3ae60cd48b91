#include "analysis/analyze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/circuit_builder.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// The bulb ring: a default battery (0 -> 1) and a default bulb joined by two wires.
// `order` permutes the four elements; `bulbForward` orients the bulb along the ring.
struct Ring {
    Circuit circuit;
    CircuitElement* battery = nullptr;
    CircuitElement* bulb = nullptr;
};

void BuildRing(Ring& ring, const std::vector<int>& order, bool bulbForward) {
    CircuitBuilder b(ring.circuit);
    for (int i = 0; i < 4; ++i) {
        b.Point(i);
    }
    for (int which : order) {
        switch (which) {
            case 0:
                ring.battery = b.Add(ElementKind::Battery, 0, 1);
                break;
            case 1:
                b.Add(ElementKind::Wire, 1, 2);
                break;
            case 2:
                ring.bulb =
                    bulbForward ? b.Add(ElementKind::Bulb, 2, 3) : b.Add(ElementKind::Bulb, 3, 2);
                break;
            case 3:
                b.Add(ElementKind::Wire, 3, 0);
                break;
        }
    }
}

TEST(AnalyzeTest, BulbRingGivesTheSameCurrentWhateverTheOrder) {
    std::vector<int> order{0, 1, 2, 3};
    do {
        for (const bool bulbForward : {true, false}) {
            Ring ring;
            BuildRing(ring, order, bulbForward);
            AnalysisReport report;
            ASSERT_TRUE(Analyze(ring.circuit, &report));
            EXPECT_EQ(report.loops, 1u);
            EXPECT_EQ(report.sweeps, 2u);
            EXPECT_EQ(ring.battery->current, 0.29411764705882354);
            EXPECT_EQ(ring.bulb->current, bulbForward ? 0.29411764705882354 : -0.29411764705882354);
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

struct CurrentCase {
    const char* name;
    // Elements as (kind, end1, end2, resistance, emf); resistance < -1e300 means default.
    std::vector<std::tuple<int, int, int, double, double>> elements;
    bool ok;
    AnalysisOutcome outcome;
    std::vector<double> currents;  // exact expectations, element by element
};

constexpr double kDefault = -1e308;

class AnalyzeCurrentTest : public ::testing::TestWithParam<CurrentCase> {};

TEST_P(AnalyzeCurrentTest, GivesExactCurrents) {
    const CurrentCase& tc = GetParam();
    Circuit c;
    CircuitBuilder b(c);
    std::vector<CircuitElement*> elements;
    for (const auto& [kind, end1, end2, resistance, emf] : tc.elements) {
        CircuitElement* e = resistance == kDefault
                                ? b.Add(KindFromCode(kind), end1, end2)
                                : b.Add(KindFromCode(kind), end1, end2, resistance, emf);
        e->current = 123.0;  // stale values must be overwritten
        elements.push_back(e);
    }
    AnalysisReport report;
    EXPECT_EQ(Analyze(c, &report), tc.ok);
    EXPECT_EQ(report.outcome, tc.outcome);
    ASSERT_EQ(elements.size(), tc.currents.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        EXPECT_EQ(elements[i]->current, tc.currents[i]) << "element " << i;
    }
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, AnalyzeCurrentTest,
    ::testing::Values(
        CurrentCase{"Empty", {}, true, AnalysisOutcome::Solved, {}},
        CurrentCase{"NoClosedPath",
                    {{1, 0, 1, kDefault, 0}, {5, 1, 2, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {0.0, 0.0}},
        // A battery shorted by wires alone: 1.5 V / 0.1 ohm, a success.
        CurrentCase{"BatteryShortedByWires",
                    {{1, 0, 1, kDefault, 0}, {0, 1, 2, kDefault, 0}, {0, 2, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {15.0, 15.0, 15.0}},
        CurrentCase{"ZeroResistanceBatteryShorted",
                    {{1, 0, 1, 0.0, 1.5}, {0, 1, 2, kDefault, 0}, {0, 2, 0, kDefault, 0}},
                    false,
                    AnalysisOutcome::ZeroResistanceLoop,
                    {0.0, 0.0, 0.0}},
        CurrentCase{"VoltmeterOnBattery",
                    {{1, 0, 1, kDefault, 0}, {4, 0, 1, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {1.5 / (100000.0 + 0.1), -1.5 / (100000.0 + 0.1)}},
        CurrentCase{"RingOfWires",
                    {{0, 0, 1, kDefault, 0}, {0, 1, 2, kDefault, 0}, {-1, 2, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {0.0, 0.0, 0.0}},
        CurrentCase{"OpenSwitchInTheOnlyLoop",
                    {{1, 0, 1, kDefault, 0}, {6, 1, 2, 1.0, 0}, {5, 2, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {0.0, 0.0, 0.0}},
        CurrentCase{"ParallelIdealBatteriesOfDifferentEmf",
                    {{1, 0, 1, 0.0, 1.5}, {0, 1, 2, kDefault, 0}, {1, 0, 2, 0.0, 3.0}},
                    false,
                    AnalysisOutcome::ZeroResistanceLoop,
                    {0.0, 0.0, 0.0}},
        CurrentCase{"ExactlyTheCurrentLimit",
                    {{1, 0, 1, 1.0, 1000000.0}, {0, 1, 0 + 2, kDefault, 0}, {0, 2, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {1000000.0, 1000000.0, 1000000.0}},
        CurrentCase{
            "JustBeyondTheCurrentLimit",
            {{1, 0, 1, 1.0, 1000000.0000001}, {0, 1, 2, kDefault, 0}, {0, 2, 0, kDefault, 0}},
            false,
            AnalysisOutcome::CurrentLimit,
            {0.0, 0.0, 0.0}},
        CurrentCase{"TinyInternalResistanceShorted",
                    {{1, 0, 1, 1e-7, 1.5}, {0, 1, 2, kDefault, 0}, {0, 2, 0, kDefault, 0}},
                    false,
                    AnalysisOutcome::CurrentLimit,
                    {0.0, 0.0, 0.0}},
        CurrentCase{"NegativeCurrentLimit",
                    {{1, 0, 1, 1.0, -1000001.0}, {0, 1, 2, kDefault, 0}, {0, 2, 0, kDefault, 0}},
                    false,
                    AnalysisOutcome::CurrentLimit,
                    {0.0, 0.0, 0.0}},
        // Negative resistance: the search still ends, and 1.5 V / -4.9 ohm is a solution.
        CurrentCase{"NegativeResistanceRing",
                    {{1, 0, 1, kDefault, 0}, {2, 1, 2, -5.0, 0}, {0, 2, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {1.5 / (0.1 + -5.0), 1.5 / (0.1 + -5.0), 1.5 / (0.1 + -5.0)}},
        CurrentCase{"InfiniteResistance",
                    {{1, 0, 1, kDefault, 0}, {2, 1, 2, kInf, 0}, {0, 2, 0, kDefault, 0}},
                    false,
                    AnalysisOutcome::NonFiniteValue,
                    {0.0, 0.0, 0.0}},
        CurrentCase{"UndefinedEmfOnALoneBattery",
                    {{1, 0, 1, 0.1, kNaN}},
                    false,
                    AnalysisOutcome::NonFiniteValue,
                    {0.0}},
        // An open switch's flag is no value of the network, whatever it holds.
        CurrentCase{"OpenSwitchWithUndefinedFlag",
                    {{1, 0, 1, kDefault, 0}, {6, 1, 2, kNaN, 0}, {5, 2, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {0.0, 0.0, 0.0}},
        // A resistor beside an open switch carries the current the battery drives.
        CurrentCase{"ResistorBesideAnOpenSwitch",
                    {{1, 0, 2, kDefault, 0},
                     {0, 2, 1, kDefault, 0},
                     {6, 0, 1, 1.0, 0},
                     {2, 1, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {1.5 / (0.1 + 100.0), 1.5 / (0.1 + 100.0), 0.0, 1.5 / (0.1 + 100.0)}},
        CurrentCase{"ResistorBesideAClosedSwitch",
                    {{1, 0, 2, kDefault, 0},
                     {0, 2, 1, kDefault, 0},
                     {6, 0, 1, 0.0, 0},
                     {2, 1, 0, kDefault, 0}},
                    true,
                    AnalysisOutcome::Solved,
                    {15.0, 15.0, -15.0, 0.0}}),
    [](const auto& info) { return info.param.name; });

TEST(AnalyzeTest, ParallelBulbsShareTheBatteryCurrentWhateverTheOrder) {
    // Battery 0 -> 1; bulbs 2-3 and 4-5; wires 0-2, 2-4, 1-3, 3-5.
    std::vector<int> order{0, 1, 2, 3, 4, 5, 6};
    int permutations = 0;
    do {
        if (++permutations % 7 != 0) {
            continue;  // a spread of 720 of the 5040 orders is plenty
        }
        Circuit c;
        CircuitBuilder b(c);
        for (int i = 0; i < 6; ++i) {
            b.Point(i);
        }
        CircuitElement* battery = nullptr;
        CircuitElement* bulbA = nullptr;
        CircuitElement* bulbB = nullptr;
        for (int which : order) {
            switch (which) {
                case 0:
                    battery = b.Add(ElementKind::Battery, 0, 1);
                    break;
                case 1:
                    bulbA = b.Add(ElementKind::Bulb, 2, 3);
                    break;
                case 2:
                    bulbB = b.Add(ElementKind::Bulb, 4, 5);
                    break;
                case 3:
                    b.Add(ElementKind::Wire, 0, 2);
                    break;
                case 4:
                    b.Add(ElementKind::Wire, 2, 4);
                    break;
                case 5:
                    b.Add(ElementKind::Wire, 1, 3);
                    break;
                case 6:
                    b.Add(ElementKind::Wire, 3, 5);
                    break;
            }
        }
        AnalysisReport report;
        ASSERT_TRUE(Analyze(c, &report));
        EXPECT_EQ(report.loops, 2u);
        // The sweeps stop once no update exceeds 1e-8 A, so the currents agree with the exact
        // solution to about that.
        EXPECT_NEAR(battery->current, 1.5 / 2.6, 1e-7);
        EXPECT_NEAR(bulbA->current, -1.5 / 5.2, 1e-7);
        EXPECT_NEAR(bulbB->current, -1.5 / 5.2, 1e-7);
    } while (std::next_permutation(order.begin(), order.end()));
}

// Many pairs of loops whose sweeps swing for ever (each pair has a negative resistance):
// each sweep has so much to do that the bound on the sweeps' work ends them long before
// kMaxSweeps, and the equations are then solved directly.
TEST(AnalyzeTest, SweepsOfManyLoopsThatNeverSettleEndAtTheWorkBound) {
    constexpr int kPieces = 250;
    Circuit c;
    CircuitBuilder b(c);
    for (int i = 0; i < kPieces; ++i) {
        const int p = 4 * i;
        b.Add(ElementKind::Resistor, p, p + 1, -1.0);
        b.Add(ElementKind::Battery, p + 1, p + 2, 2.0, 1.0);
        b.Add(ElementKind::Wire, p + 2, p);
        b.Add(ElementKind::Wire, p + 1, p + 3);
        b.Add(ElementKind::Wire, p + 3, p);
    }
    AnalysisReport report;
    EXPECT_TRUE(Analyze(c, &report));
    EXPECT_TRUE(report.solvedDirectly);
    EXPECT_EQ(report.loops, 2u * kPieces);
    // Every sweep costs at least one unit per loop.
    EXPECT_LE(report.sweeps, SweepWorkLimit(report.loops, 0) / report.loops + 1);
    EXPECT_GT(report.sweeps, 1000u);
}

// A battery and a bulb left between the same two points after the element that held their
// link was removed: the bulb lights, as it does once the circuit is saved and loaded again.
TEST(AnalyzeTest, TwinsLeftBehindByTheirLinkHolderStillConduct) {
    Circuit c;
    CircuitBuilder b(c);
    CircuitElement* holder = b.Add(ElementKind::Wire, 0, 1);
    CircuitElement* battery = b.Add(ElementKind::Battery, 0, 1);
    CircuitElement* bulb = b.Add(ElementKind::Bulb, 1, 0);
    c.RemoveElement(holder);
    ASSERT_TRUE(Analyze(c));
    EXPECT_EQ(battery->current, 0.29411764705882354);
    EXPECT_EQ(bulb->current, 0.29411764705882354);
}

TEST(AnalyzeTest, LeavesStructureAndValuesAlone) {
    Ring ring;
    BuildRing(ring, {0, 1, 2, 3}, true);
    ring.battery->resistance = 0.0;  // no resistance left in the ring: a short
    ring.bulb->resistance = 0.0;
    EXPECT_FALSE(Analyze(ring.circuit));
    EXPECT_EQ(ring.circuit.ElementCount(), 4u);
    EXPECT_EQ(ring.battery->resistance, 0.0);
    EXPECT_EQ(ring.battery->emf, 1.5);
    ring.battery->resistance = 0.1;  // the next run succeeds again
    ring.bulb->resistance = 5.0;
    EXPECT_TRUE(Analyze(ring.circuit));
    EXPECT_EQ(ring.battery->current, 0.29411764705882354);
}

}  // namespace
}  // namespace kelno

namespace kelno {
namespace {

// A cancelled analysis is a failure of its own: nothing of it may pass for a result.
TEST(AnalyzeTest, CancelledAnalysisEndsWithoutCurrentsAndAnUnsetFlagChangesNothing) {
    Circuit circuit;
    testing::CircuitBuilder b(circuit);
    b.Add(ElementKind::Battery, 0, 1);
    b.Add(ElementKind::Bulb, 1, 0);
    const CancelFlag unset{false};
    AnalysisReport report;
    ASSERT_TRUE(Analyze(circuit, &report, &unset));
    const double solved = circuit.elements().begin()->current;
    Circuit plain = circuit;
    ASSERT_TRUE(Analyze(plain));
    EXPECT_EQ(plain.elements().begin()->current, solved);

    const CancelFlag set{true};
    EXPECT_FALSE(Analyze(circuit, &report, &set));
    EXPECT_EQ(report.outcome, AnalysisOutcome::Cancelled);
    EXPECT_STREQ(OutcomeName(report.outcome), "cancelled");
    for (const CircuitElement& element : circuit.elements()) {
        EXPECT_EQ(element.current, 0.0);
    }
}

}  // namespace
}  // namespace kelno
