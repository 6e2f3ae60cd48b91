#include "view/view_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelno {
namespace {

TEST(ViewScale, ScreenAt96DpiHasAbout378PixelsPerMillimetre) {
    const ViewScale scale = ViewScale::FromDpi(96, 96);
    EXPECT_NEAR(scale.pixelsPerUnitX() * 10, 3.78, 0.005);
    // Twenty pixels are about 53 units, to the right and, with y up, downward.
    EXPECT_EQ(scale.ToLogical(DevicePoint{20, 20}), (LogicalPoint{53, -53}));
    EXPECT_EQ(scale.ToDevice(LogicalPoint{53, -53}), (DevicePoint{20, 20}));
    EXPECT_EQ(PixelDistance({0, 0}, {53, 0}, scale), 20);
    EXPECT_EQ(scale.PixelsToUnitsX(15), 40);
    EXPECT_EQ(scale.PixelsToUnitsY(-15), 40);
}

TEST(ViewScale, AxesMayDiffer) {
    const ViewScale scale = ViewScale::FromDpi(254, 127);  // 1 and 0.5 pixels per unit
    EXPECT_EQ(scale.ToLogical(DevicePoint{10, 10}), (LogicalPoint{10, -20}));
    EXPECT_EQ(scale.ToDevice(LogicalPoint{10, -20}), (DevicePoint{10, 10}));
    EXPECT_EQ(PixelDistance({0, 0}, {10, -30}, scale), 15);
}

TEST(ViewScale, UnusableScalesFallBackToTheScreen) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double bad : {0.0, -1.0, nan, std::numeric_limits<double>::infinity()}) {
        const ViewScale scale(bad, bad);
        EXPECT_EQ(scale.ToLogical(DevicePoint{20, 20}), (LogicalPoint{53, -53})) << bad;
    }
}

TEST(ViewScale, ExtremeCoordinatesStayDefined) {
    const ViewScale fine(100.0, 100.0);
    const LogicalPoint far{std::numeric_limits<std::int32_t>::max(),
                           std::numeric_limits<std::int32_t>::min()};
    const LogicalPoint near{std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max()};
    // The difference does not fit into 32 bits; the distance is still right.
    EXPECT_EQ(PixelDistance(near, far, ViewScale(1.0, 1.0)), 4294967295);
    EXPECT_GT(PixelDistance(near, far, fine), 400000000000);
    const ViewScale coarse(1e-12, 1e-12);
    EXPECT_EQ(coarse.ToLogical(DevicePoint{1000000, 1000000}), far);
}

}  // namespace
}  // namespace kelno
