#include "view/view_zoom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/case_name.h"

namespace kelno {
namespace {

using namespace view_zoom;

TEST(ViewZoomTest, StepsGoUpAndDownWithinTheLimits) {
    struct Step {
        double from;
        double in;
        double out;
    };
    for (const Step& s : {Step{1.0, 1.25, 0.75}, Step{0.25, 0.5, 0.25}, Step{4.0, 4.0, 3.0},
                          Step{1.1, 1.25, 1.0}, Step{2.0, 2.5, 1.5}}) {
        EXPECT_EQ(ZoomIn(s.from), s.in) << s.from;
        EXPECT_EQ(ZoomOut(s.from), s.out) << s.from;
    }
}

struct KeepCase {
    double before;
    double after;
    DevicePoint scroll;
    DevicePoint cursor;
};

class ZoomKeepsTheCursorTest : public ::testing::TestWithParam<KeepCase> {};

// The logical point a click under the cursor lands on is the same after the zoom.
TEST_P(ZoomKeepsTheCursorTest, ClickUnderTheCursorLandsOnTheSameLogicalPoint) {
    const KeepCase& c = GetParam();
    const ViewScale screen = ViewScale::FromDpi(96, 96);
    const ViewScale before = Zoomed(screen, c.before);
    const ViewScale after = Zoomed(screen, c.after);
    const LogicalPoint clicked =
        before.ToLogical({c.scroll.x + c.cursor.x, c.scroll.y + c.cursor.y});
    const DevicePoint scroll = ScrollKeepingCursor(c.scroll, c.cursor, before, after);
    const LogicalPoint now = after.ToLogical({scroll.x + c.cursor.x, scroll.y + c.cursor.y});
    // Within the logical units that one pixel covers at the coarser scale.
    const std::int64_t slack = std::max(before.PixelsToUnitsX(1), after.PixelsToUnitsX(1));
    EXPECT_LE(std::abs(now.x - clicked.x), slack);
    EXPECT_LE(std::abs(now.y - clicked.y), slack);
    EXPECT_EQ(after.ToDevice(clicked).x - scroll.x, c.cursor.x);
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomKeepsTheCursorTest,
                         ::testing::Values(KeepCase{1.0, 1.25, {0, 0}, {400, 300}},
                                           KeepCase{1.25, 1.5, {120, 80}, {10, 590}},
                                           KeepCase{2.0, 0.5, {900, 700}, {333, 222}},
                                           KeepCase{4.0, 0.25, {5000, 3000}, {0, 0}},
                                           KeepCase{0.75, 3.0, {0, 0}, {1023, 767}}),
                         [](const auto& info) {
                             return std::string(testing::CaseName()
                                                << info.param.before << "to" << info.param.after
                                                << "at" << info.param.cursor.x);
                         });

TEST(ViewZoomTest, FitZoomMakesTheCircuitsBoundsFitTheVisibleArea) {
    Circuit circuit;
    EXPECT_FALSE(CircuitBounds(circuit));
    circuit.AddPoint(0, 1000, -1000);
    circuit.AddPoint(1, 3000, -2000);
    const auto bounds = CircuitBounds(circuit);
    ASSERT_TRUE(bounds);
    EXPECT_LE(bounds->left, 1000);
    EXPECT_GE(bounds->right, 3000);
    EXPECT_GE(bounds->top, -1000);
    EXPECT_LE(bounds->bottom, -2000);
    const ViewScale screen = ViewScale::FromDpi(96, 96);
    const double zoom = FitZoom(*bounds, 800, 600, screen);
    const ViewScale fitted = Zoomed(screen, zoom);
    const DevicePoint topLeft = fitted.ToDevice(bounds->left, bounds->top);
    const DevicePoint bottomRight = fitted.ToDevice(bounds->right, bounds->bottom);
    EXPECT_LE(bottomRight.x - topLeft.x, 800);
    EXPECT_LE(bottomRight.y - topLeft.y, 600);
    EXPECT_GE(bottomRight.x - topLeft.x, 790) << "as large as fits";
    EXPECT_EQ(FitZoom(*bounds, 100000, 100000, screen), kLargest);
    EXPECT_EQ(FitZoom(*bounds, 10, 10, screen), kSmallest);
}

}  // namespace
}  // namespace kelno
