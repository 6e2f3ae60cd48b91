#include "analysis/point_potentials.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/analyze.h"
#include "core/circuit_builder.h"
#include "support/circuit_generators.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

constexpr double kBulbRingCurrent = 1.5 / 5.1;

// The potential of the point with the builder's number `n` (points are made in number order).
std::optional<double> At(const PointPotentialList& potentials, int n) {
    return potentials.at(static_cast<std::size_t>(n));
}

TEST(PointPotentials, BulbRingRisesAcrossTheBatteryAndFallsAcrossTheBulb) {
    for (const bool reversed : {false, true}) {
        Circuit circuit;
        CircuitBuilder b(circuit);
        // A battery given backwards (negative emf) has its negative terminal at end2.
        if (reversed) {
            b.Add(ElementKind::Battery, 1, 0, 0.1, -1.5);
        } else {
            b.Add(ElementKind::Battery, 0, 1, 0.1, 1.5);
        }
        b.Add(ElementKind::Wire, 1, 2);
        b.Add(ElementKind::Bulb, 2, 3);
        b.Add(ElementKind::Wire, 3, 0);
        ASSERT_TRUE(Analyze(circuit));
        const PointPotentialList v = PointPotentials(circuit);
        ASSERT_EQ(v.size(), 4u);
        EXPECT_EQ(At(v, 0), 0.0) << reversed;
        EXPECT_NEAR(*At(v, 1), 1.5 - 0.1 * kBulbRingCurrent, 1e-12);
        // Joined by a wire alone: exactly the same potential.
        EXPECT_EQ(At(v, 2), At(v, 1));
        EXPECT_EQ(At(v, 3), At(v, 0));
    }
}

TEST(PointPotentials, EachPieceIsMeasuredFromItsOwnFirstBattery) {
    Circuit circuit;
    CircuitBuilder b(circuit);
    // Piece one: two 1.5 V batteries in series with a resistor; the second one in the list
    // order is the first in the ring, so the reference is the list's first battery, 2 -> 3.
    b.Add(ElementKind::Battery, 2, 3, 0.0, 1.5);
    b.Add(ElementKind::Battery, 1, 2, 0.0, 1.5);
    b.Add(ElementKind::Resistor, 3, 1, 30.0);
    // Piece two: a resistor and a bulb without a battery.
    b.Add(ElementKind::Resistor, 4, 5, 10.0);
    b.Add(ElementKind::Bulb, 5, 4);
    // Piece three: a battery behind an open switch; the far side has no battery.
    b.Add(ElementKind::Battery, 6, 7, 0.1, 9.0);
    b.Add(ElementKind::Switch, 7, 8, 1.0);
    b.Add(ElementKind::Resistor, 8, 6, 10.0);
    ASSERT_TRUE(Analyze(circuit));
    const PointPotentialList v = PointPotentials(circuit);
    ASSERT_EQ(v.size(), 9u);
    EXPECT_EQ(At(v, 2), 0.0);
    EXPECT_NEAR(*At(v, 3), 1.5, 1e-12);
    EXPECT_NEAR(*At(v, 1), -1.5, 1e-12);
    EXPECT_FALSE(At(v, 4));
    EXPECT_FALSE(At(v, 5));
    EXPECT_EQ(At(v, 6), 0.0);
    // No current through the open switch: no drop inside the battery.
    EXPECT_EQ(At(v, 7), 9.0);
    // The resistor joins point 8 to point 6 and carries no current.
    EXPECT_EQ(At(v, 8), 0.0);
}

TEST(PointPotentials, ALoneElementAndAnEmptyCircuit) {
    Circuit empty;
    EXPECT_TRUE(PointPotentials(empty).empty());
    Circuit circuit;
    CircuitBuilder b(circuit);
    b.Add(ElementKind::Battery, 0, 1);  // connected to nothing: its full emf at end2
    b.Add(ElementKind::Battery, 2, 2);  // both ends on one point
    ASSERT_TRUE(Analyze(circuit));
    const PointPotentialList v = PointPotentials(circuit);
    EXPECT_EQ(At(v, 0), 0.0);
    EXPECT_EQ(At(v, 1), 1.5);
    EXPECT_EQ(At(v, 2), 0.0);
}

// The analysis stops once no loop current changes by 1e-8 A, so a sum of drops can be off
// by about that current through each resistance of the circuit.
double Tolerance(const Circuit& circuit) {
    double total = 0.0;
    for (const CircuitElement& e : circuit.elements()) {
        total += e.IsOpenSwitch() ? 0.0 : std::fabs(e.resistance);
    }
    return 1e-8 * total;
}

// Every voltmeter reads resistance * current = potential(end1) - potential(end2), and in
// general every conducting element rises by emf - resistance * current from end1 to end2.
TEST(PointPotentials, EveryElementAndEveryVoltmeterAgreesWithThePotentialsOfItsEnds) {
    int solved = 0;
    int voltmeters = 0;
    for (int trial = 0; trial < 1500; ++trial) {
        Circuit circuit = testing::RandomCircuit(20251209 + trial, {12, 24, false, false});
        if (!Analyze(circuit)) {
            continue;
        }
        ++solved;
        const PointPotentialList v = PointPotentials(circuit);
        const double tolerance = Tolerance(circuit);
        for (const CircuitElement& e : circuit.elements()) {
            const auto& v1 = v[static_cast<std::size_t>(e.end1()->serial)];
            const auto& v2 = v[static_cast<std::size_t>(e.end2()->serial)];
            if (e.IsOpenSwitch()) {
                continue;
            }
            // Both ends lie in one piece: both have a potential or neither has.
            ASSERT_EQ(v1.has_value(), v2.has_value()) << "trial " << trial;
            if (!v1) {
                continue;
            }
            // A voltmeter with an emf of its own (only a foreign file gives it one) reads
            // that emf besides; the rule for every element below covers it.
            if (e.kind == ElementKind::Voltmeter && e.emf == 0.0) {
                ++voltmeters;
                EXPECT_NEAR(*v1 - *v2, e.resistance * e.current, tolerance) << "trial " << trial;
            }
            EXPECT_NEAR(*v2 - *v1, e.emf - e.resistance * e.current, tolerance)
                << "trial " << trial;
        }
    }
    // The generator must keep producing circuits worth checking.
    EXPECT_GT(solved, 1400);
    EXPECT_GT(voltmeters, 1000);
}

}  // namespace
}  // namespace kelno
