#include "view/hit_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelno {
namespace {

// The tolerances are in pixels whatever the scale: every test runs at several resolutions.
// All are at most one pixel per unit, so whole pixels convert to units and back exactly.
const ViewScale kScales[] = {ViewScale(1.0, 1.0), ViewScale::FromDpi(96, 96),
                             ViewScale::FromDpi(120, 120), ViewScale::FromDpi(192, 192),
                             ViewScale::FromDpi(96, 144)};

// A logical position `dx`, `dy` device pixels (y down) away from `origin`.
LogicalPoint Offset(const ViewScale& scale, LogicalPoint origin, int dx, int dy) {
    const LogicalPoint step = scale.ToLogical(DevicePoint{dx, dy});
    return {origin.x + step.x, origin.y + step.y};
}

struct GrabCase {
    int dx;
    int dy;
    bool grabbed;
    int distance;
};

TEST(HitTestPoint, GrabsWithinFourteenPixels) {
    const GrabCase cases[] = {
        {0, 0, true, 0},      {5, 0, true, 5},    {6, 0, true, 6},    {14, 0, true, 14},
        {15, 0, false, 0},    {0, 14, true, 14},  {0, -15, false, 0}, {10, 14, true, 14},
        {-14, -14, true, 14}, {14, 15, false, 0}, {-15, 3, false, 0},
    };
    for (const ViewScale& scale : kScales) {
        Circuit circuit;
        CircuitPoint* point = circuit.AddPoint(0, 1000, -800);
        for (const GrabCase& c : cases) {
            const PointHit hit =
                HitTestPoint(circuit, Offset(scale, {1000, -800}, c.dx, c.dy), scale);
            SCOPED_TRACE("dx " + std::to_string(c.dx) + " dy " + std::to_string(c.dy) + " at " +
                         std::to_string(scale.pixelsPerUnitX()));
            EXPECT_EQ(hit.point, c.grabbed ? point : nullptr);
            if (c.grabbed) {
                EXPECT_EQ(hit.distance, c.distance);
            }
        }
    }
}

TEST(HitTestPoint, TheEarlierOfTwoPointsWins) {
    for (const ViewScale& scale : kScales) {
        Circuit circuit;
        const LogicalPoint press{2000, -2000};
        circuit.AddPoint(0, 0, 0);  // far away
        CircuitPoint* first = circuit.AddPoint(1, Offset(scale, press, 12, 0).x, press.y);
        circuit.AddPoint(2, press.x, press.y);  // nearer, but later in the list
        EXPECT_EQ(HitTestPoint(circuit, press, scale).point, first);
        EXPECT_EQ(HitTestPoint(circuit, press, scale).distance, 12);
    }
}

// An element between two points whose midpoint is `mid`.
CircuitElement* ElementAround(Circuit& circuit, LogicalPoint mid) {
    return circuit
        .AddElement(DefaultRecord(ElementKind::Resistor), circuit.AddPoint(0, mid.x - 200, mid.y),
                    circuit.AddPoint(0, mid.x + 200, mid.y))
        .element;
}

TEST(HitTestElement, HitsMidpointsNearerThanTwentyPixels) {
    struct Case {
        int dx, dy;
        bool hit;
    };
    const Case cases[] = {{0, 0, true},   {19, 0, true},  {0, -19, true},  {19, 19, true},
                          {20, 0, false}, {0, 20, false}, {-20, 5, false}, {19, -20, false}};
    for (const ViewScale& scale : kScales) {
        Circuit circuit;
        CircuitElement* element = ElementAround(circuit, {3000, -1000});
        for (const Case& c : cases) {
            EXPECT_EQ(HitTestElement(circuit, Offset(scale, {3000, -1000}, c.dx, c.dy), scale),
                      c.hit ? element : nullptr)
                << c.dx << ", " << c.dy;
        }
    }
}

TEST(HitTestElement, TheLaterOfTwoElementsWins) {
    for (const ViewScale& scale : kScales) {
        Circuit circuit;
        const LogicalPoint press{3000, -1000};
        ElementAround(circuit, press);  // exactly under the press, but earlier
        CircuitElement* later = ElementAround(circuit, Offset(scale, press, 19, -19));
        ElementAround(circuit, Offset(scale, press, 20, 0));  // latest, but out of reach
        EXPECT_EQ(HitTestElement(circuit, press, scale), later);
    }
}

TEST(HitTestElement, EmptyCircuitHitsNothing) {
    Circuit circuit;
    EXPECT_EQ(HitTestElement(circuit, {0, 0}, kScales[0]), nullptr);
    EXPECT_EQ(HitTestPoint(circuit, {0, 0}, kScales[0]).point, nullptr);
}

TEST(FindLink, FindsTheJoiningElementEitherWay) {
    Circuit circuit;
    CircuitPoint* a = circuit.AddPoint(0, 0, 0);
    CircuitPoint* b = circuit.AddPoint(1, 100, 0);
    CircuitPoint* c = circuit.AddPoint(2, 200, 0);
    CircuitElement* ab = circuit.AddElement(DefaultRecord(ElementKind::Wire), a, b).element;
    EXPECT_EQ(FindLink(a, b), ab);
    EXPECT_EQ(FindLink(b, a), ab);
    EXPECT_EQ(FindLink(a, c), nullptr);
    EXPECT_EQ(FindLink(nullptr, a), nullptr);
}

TEST(NearestFreePoint, SkipsItselfLinkedAndDistantPoints) {
    for (const ViewScale& scale : kScales) {
        Circuit circuit;
        const LogicalPoint mouse{5000, -5000};
        CircuitPoint* from = circuit.AddPoint(0, mouse.x, mouse.y);  // itself: skipped
        CircuitPoint* linked = circuit.AddPoint(1, mouse.x, mouse.y);
        circuit.AddElement(DefaultRecord(ElementKind::Wire), from, linked);
        circuit.AddPoint(2, Offset(scale, mouse, 25, 0).x, mouse.y);  // too far
        CircuitPoint* atTwenty =
            circuit.AddPoint(3, Offset(scale, mouse, 0, 20).x, Offset(scale, mouse, 0, 20).y);
        CircuitPoint* atNineteen = circuit.AddPoint(4, Offset(scale, mouse, -19, 0).x, mouse.y);

        EXPECT_EQ(NearestFreePoint(circuit, mouse, from, 20, Limit::Inclusive, scale), atTwenty);
        EXPECT_EQ(NearestFreePoint(circuit, mouse, from, 20, Limit::Exclusive, scale), atNineteen);
        EXPECT_EQ(NearestFreePoint(circuit, mouse, from, 10, Limit::Exclusive, scale), nullptr);
        // Without a starting point nothing is excluded: the first point in the list wins.
        EXPECT_EQ(NearestFreePoint(circuit, mouse, nullptr, 0, Limit::Inclusive, scale), from);
        // From the linked point: `from` is its neighbour and skipped, the rest as before.
        EXPECT_EQ(NearestFreePoint(circuit, mouse, linked, 20, Limit::Inclusive, scale), atTwenty);
    }
}

}  // namespace
}  // namespace kelno
