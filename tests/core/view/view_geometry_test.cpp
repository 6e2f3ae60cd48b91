#include "view/view_geometry.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/case_name.h"
#include "model/circuit.h"

namespace kelno {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct SnapCase {
    LogicalPoint in;
    LogicalPoint out;
};

class SnapToGridTest : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapToGridTest, SnapsToTheNearestGridLine) {
    const SnapCase& c = GetParam();
    const LogicalPoint snapped = SnapToGrid(c.in);
    EXPECT_EQ(snapped.x, c.out.x) << "from (" << c.in.x << ", " << c.in.y << ")";
    EXPECT_EQ(snapped.y, c.out.y) << "from (" << c.in.x << ", " << c.in.y << ")";
}

std::string SnapCaseName(const ::testing::TestParamInfo<SnapCase>& info) {
    return testing::CaseName() << info.param.in.x << info.param.in.y;
}

INSTANTIATE_TEST_SUITE_P(VisibleArea, SnapToGridTest,
                         ::testing::Values(SnapCase{{25, -25}, {50, -50}},
                                           SnapCase{{24, -24}, {0, 0}},
                                           SnapCase{{74, -126}, {50, -150}},
                                           SnapCase{{0, 0}, {0, 0}}, SnapCase{{50, -50}, {50, -50}},
                                           SnapCase{{1075, -1074}, {1100, -1050}}),
                         SnapCaseName);

// Outside the window the formulas are kept as they are, which is not a symmetric rounding.
INSTANTIATE_TEST_SUITE_P(OutsideTheWindow, SnapToGridTest,
                         ::testing::Values(SnapCase{{-30, 30}, {0, 0}},
                                           SnapCase{{-80, 80}, {-50, 50}},
                                           SnapCase{{-25, 25}, {0, 0}},
                                           SnapCase{{-75, 75}, {-50, 50}}),
                         SnapCaseName);

INSTANTIATE_TEST_SUITE_P(Int32Limits, SnapToGridTest,
                         ::testing::Values(SnapCase{{kMax, kMin}, {2147483600, -2147483600}},
                                           SnapCase{{kMin, kMax}, {-2147483600, 2147483600}},
                                           SnapCase{{2147483624, -2147483624},
                                                    {2147483600, -2147483600}}),
                         SnapCaseName);

struct MidpointCase {
    LogicalPoint a;
    LogicalPoint b;
    LogicalPoint mid;
};

TEST(ElementMidpoint, TruncatesTowardZero) {
    const MidpointCase cases[] = {
        {{0, -3}, {1, -4}, {0, -3}},
        {{-1, 0}, {0, -1}, {0, 0}},
        {{-3, 3}, {0, 0}, {-1, 1}},
        {{800, -500}, {1200, -500}, {1000, -500}},
        {{kMax, kMin}, {kMax, kMin}, {kMax, kMin}},
        {{kMax, kMax}, {kMin, kMin}, {0, 0}},
    };
    for (const MidpointCase& c : cases) {
        Circuit circuit;
        CircuitElement* element =
            circuit
                .AddElement(DefaultRecord(ElementKind::Wire), circuit.AddPoint(0, c.a.x, c.a.y),
                            circuit.AddPoint(1, c.b.x, c.b.y))
                .element;
        EXPECT_EQ(ElementMidpoint(*element), c.mid) << c.a.x << "," << c.a.y;
    }
}

struct RectangleCase {
    LogicalPoint a;
    LogicalPoint b;
    LogicalPoint m;
    bool inside;
};

class InsideRectangleTest : public ::testing::TestWithParam<RectangleCase> {};

TEST_P(InsideRectangleTest, IncludesLeftAndLowerEdgesOnly) {
    const RectangleCase& c = GetParam();
    EXPECT_EQ(InsideRectangle(c.a, c.b, c.m), c.inside) << "(" << c.m.x << ", " << c.m.y << ")";
    // The corners may come in any order.
    EXPECT_EQ(InsideRectangle(c.b, c.a, c.m), c.inside);
    EXPECT_EQ(InsideRectangle({c.a.x, c.b.y}, {c.b.x, c.a.y}, c.m), c.inside);
}

INSTANTIATE_TEST_SUITE_P(Edges, InsideRectangleTest,
                         ::testing::Values(RectangleCase{{100, -100}, {0, 0}, {0, -100}, true},
                                           RectangleCase{{100, -100}, {0, 0}, {100, -50}, false},
                                           RectangleCase{{100, -100}, {0, 0}, {50, 0}, false},
                                           RectangleCase{{100, -100}, {0, 0}, {99, -1}, true},
                                           RectangleCase{{100, -100}, {0, 0}, {-1, -50}, false},
                                           RectangleCase{{100, -100}, {0, 0}, {50, -101}, false},
                                           RectangleCase{{0, 0}, {0, 0}, {0, 0}, false},
                                           RectangleCase{{kMin, kMin}, {kMax, kMax}, {0, 0}, true}),
                         [](const ::testing::TestParamInfo<RectangleCase>& info) {
                             const RectangleCase& c = info.param;
                             return std::string(testing::CaseName()
                                                << "Point" << c.m.x << c.m.y << "Corners" << c.a.x
                                                << c.a.y << c.b.x << c.b.y);
                         });

TEST(PlacedComponentEnds, SpansFourHundredUnitsAroundThePress) {
    const ComponentEnds ends = PlacedComponentEnds({1000, -500});
    EXPECT_EQ(ends.end1, (LogicalPoint{800, -500}));
    EXPECT_EQ(ends.end2, (LogicalPoint{1200, -500}));
    // At the very edge of the coordinate range both ends still exist, 400 units apart.
    const ComponentEnds right = PlacedComponentEnds({kMax, 0});
    EXPECT_EQ(right.end2.x, kMax);
    EXPECT_EQ(right.end2.x - right.end1.x, 400);
    const ComponentEnds left = PlacedComponentEnds({kMin, 0});
    EXPECT_EQ(left.end1.x, kMin);
    EXPECT_EQ(left.end2.x - left.end1.x, 400);
}

}  // namespace
}  // namespace kelno
