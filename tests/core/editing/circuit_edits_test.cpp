#include "editing/circuit_edits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/circuit_builder.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(CircuitEditsTest, MergeOntoACommonNeighbourKeepsBothElements) {
    Circuit circuit;
    CircuitBuilder b(circuit);
    CircuitElement* battery = b.Add(ElementKind::Battery, 0, 1);
    CircuitElement* meter = b.Add(ElementKind::Voltmeter, 0, 2);
    MergePoints(circuit, b.Point(2), b.Point(1));
    EXPECT_EQ(circuit.PointCount(), 2u);
    EXPECT_EQ(circuit.ElementCount(), 2u);
    EXPECT_EQ(meter->end2(), b.Point(1));
    EXPECT_EQ(b.Point(0)->LinkTo(b.Point(1)), battery) << "the earlier element keeps the link";
    EXPECT_EQ(circuit.UnlinkedCount(), 1u);
}

TEST(CircuitEditsTest, MergeCarriesAnElementWithoutALinkAlong) {
    Circuit circuit;
    CircuitBuilder b(circuit);
    CircuitElement* first = b.Add(ElementKind::Resistor, 0, 1);
    CircuitElement* twin = b.Add(ElementKind::Bulb, 0, 1);
    ASSERT_FALSE(twin->linked());
    MergePoints(circuit, b.Point(1), b.Point(2));
    EXPECT_EQ(circuit.ElementCount(), 2u);
    EXPECT_EQ(first->end2(), b.Point(2));
    EXPECT_EQ(twin->end2(), b.Point(2));
    EXPECT_EQ(circuit.UnlinkedCount(), 1u);
}

TEST(CircuitEditsTest, DetachingTheOnlyLinkRemovesThePointLeftBehind) {
    Circuit circuit;
    CircuitBuilder b(circuit);
    CircuitElement* wire = b.Add(ElementKind::Wire, 0, 1);  // point 1 lies right of point 0
    circuit.SelectPoint(b.Point(0));
    CircuitPoint* pulled = DetachLink(circuit, b.Point(0), {0, -100}, {-300, -100}, -300, 0);
    EXPECT_EQ(pulled, nullptr) << "a drag away from the only link moves the point itself";

    pulled = DetachLink(circuit, b.Point(0), {0, -100}, {40, -100}, 40, 0);
    ASSERT_NE(pulled, nullptr);
    EXPECT_EQ(wire->end1(), pulled);
    EXPECT_EQ(circuit.PointCount(), 2u);
    EXPECT_EQ(circuit.selectedPoint(), pulled);
}

TEST(CircuitEditsTest, MovesStopAtTheCoordinateLimitsWithoutOverflow) {
    Circuit circuit;
    CircuitPoint* low = circuit.AddPoint(0, kMin + 5, kMin + 5);
    CircuitPoint* high = circuit.AddPoint(0, kMin + 400, kMin + 5);
    circuit.Select(circuit.AddElement(DefaultRecord(ElementKind::Bulb), low, high).element);
    MoveMarkedPoints(circuit, -100, std::int64_t{kMin} * 4);
    EXPECT_EQ(low->x, kMin);
    EXPECT_EQ(high->x, kMin + 395) << "the selection keeps its shape";
    EXPECT_EQ(low->y, kMin);

    MovePoint(*high, std::int64_t{kMax} * 8, std::int64_t{kMax} * 8);
    EXPECT_EQ(high->x, kMax);
    EXPECT_EQ(high->y, kMax);
}

TEST(CircuitEditsTest, BendFlipStaysAWireForEveryWireCode) {
    for (const std::int32_t code : {0, -1, -2, -7, kMin}) {
        CircuitElement wire;
        wire.kind = KindFromCode(code);
        FlipWireBend(wire);
        EXPECT_TRUE(IsWire(wire.kind)) << code;
        EXPECT_EQ(wire.kind, code == -1 ? ElementKind::Wire : ElementKind::WireVerticalFirst);
    }
}

TEST(CircuitEditsTest, PlacementNearTheLimitKeepsBothEndsInRange) {
    Circuit circuit;
    CircuitElement* placed = PlaceComponent(circuit, ElementKind::Resistor, {kMax, 0});
    EXPECT_EQ(placed->end2()->x, kMax);
    EXPECT_EQ(placed->end1()->x, kMax - 400);
}

}  // namespace
}  // namespace kelno
