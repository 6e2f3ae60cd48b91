#include "tool_cursors.h"

#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>

namespace kelno {
namespace {

TEST(ToolCursors, PointersOfThirtyTwoSquareWithTheirTipAtTheHotSpot) {
    // The wire and component tools and the hot spots they are known by.
    const Tool tools[] = {Tool::Wire,      Tool::Battery, Tool::Resistor, Tool::Ammeter,
                          Tool::Voltmeter, Tool::Bulb,    Tool::Switch};
    const QPoint hotSpots[] = {{1, 2}, {2, 1}, {3, 2}, {1, 1}, {0, 2}, {1, 1}, {1, 0}};
    for (int tool = 0; tool < 7; ++tool) {
        const QCursor cursor = ToolCursor(tools[tool]);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << tool;
        EXPECT_EQ(cursor.hotSpot(), hotSpots[tool]) << tool;
        const QImage image = cursor.bitmap().toImage();
        const QImage mask = cursor.mask().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32)) << tool;
        ASSERT_EQ(mask.size(), QSize(32, 32)) << tool;
        EXPECT_EQ(image.depth(), 1) << tool;
        EXPECT_EQ(mask.depth(), 1) << tool;

        // The tip: black and opaque at the hot spot, nothing above it or left of it.
        const QPoint tip = hotSpots[tool];
        EXPECT_EQ(mask.pixelIndex(tip), 1) << tool;
        EXPECT_EQ(QColor(image.pixel(tip)), QColor(Qt::black)) << tool;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (y < tip.y() || x < tip.x()) {
                    EXPECT_EQ(mask.pixelIndex(x, y), 0) << tool << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(ToolCursors, ToolsLookDifferent) {
    for (int a = 1; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            EXPECT_NE(ToolCursor(kAllTools[a]).bitmap().toImage(),
                      ToolCursor(kAllTools[b]).bitmap().toImage())
                << a << " " << b;
        }
    }
}

TEST(ToolCursors, SelectionToolHasTheArrow) {
    EXPECT_EQ(ToolCursor(Tool::Selection).shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace kelno
