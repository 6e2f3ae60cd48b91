#include "tool_cursors.h"

#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>

namespace kelno {
namespace {

TEST(ToolCursors, PointersOfThirtyTwoSquareWithTheirTipAtTheHotSpot) {
    // Tools 0 to 6 and the hot spots they are known by.
    const QPoint hotSpots[] = {{1, 2}, {2, 1}, {3, 2}, {1, 1}, {0, 2}, {1, 1}, {1, 0}};
    for (int tool = 0; tool < 7; ++tool) {
        const QCursor cursor = ToolCursor(tool);
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
    for (int a = 0; a < 7; ++a) {
        for (int b = a + 1; b < 7; ++b) {
            EXPECT_NE(ToolCursor(a).bitmap().toImage(), ToolCursor(b).bitmap().toImage())
                << a << " " << b;
        }
    }
}

TEST(ToolCursors, SelectionAndUnknownToolsHaveTheArrow) {
    for (const int tool : {-1, 7, -2}) {
        EXPECT_EQ(ToolCursor(tool).shape(), Qt::ArrowCursor) << tool;
    }
}

}  // namespace
}  // namespace kelno
