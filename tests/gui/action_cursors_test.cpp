#include "action_cursors.h"

#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>
#include <vector>

#include "tool_cursors.h"

namespace kelno {
namespace {

// The cursors drawn for the actions themselves: black and white, 32 x 32, opaque and black
// at the hot spot, and each unlike the others.
TEST(ActionCursors, OwnPicturesAreThirtyTwoSquareWithTheHotSpotOnThePicture) {
    const std::vector<PressAction> drawn = {PressAction::MovePoint, PressAction::DetachLink,
                                            PressAction::SelectElement,
                                            PressAction::DeselectElement};
    std::vector<QImage> pictures;
    for (const PressAction action : drawn) {
        const QCursor cursor = ActionCursor(action, Tool::Wire);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << static_cast<int>(action);
        const QImage image = cursor.bitmap().toImage();
        const QImage mask = cursor.mask().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32));
        ASSERT_EQ(mask.size(), QSize(32, 32));
        EXPECT_EQ(mask.pixelIndex(cursor.hotSpot()), 1) << static_cast<int>(action);
        EXPECT_EQ(QColor(image.pixel(cursor.hotSpot())), QColor(Qt::black));
        for (const QImage& other : pictures) {
            EXPECT_NE(image, other) << static_cast<int>(action);
        }
        pictures.push_back(image);
    }
}

TEST(ActionCursors, WireAndPlacingAndTheRectangleKeepTheToolsCursors) {
    const auto same = [](const QCursor& a, const QCursor& b) {
        return a.shape() == b.shape() &&
               (a.shape() != Qt::BitmapCursor || a.bitmap().toImage() == b.bitmap().toImage());
    };
    EXPECT_TRUE(same(ActionCursor(PressAction::StartWire, Tool::Bulb), ToolCursor(Tool::Wire)));
    EXPECT_TRUE(
        same(ActionCursor(PressAction::PlaceComponent, Tool::Bulb), ToolCursor(Tool::Bulb)));
    EXPECT_TRUE(
        same(ActionCursor(PressAction::SelectArea, Tool::Selection), ToolCursor(Tool::Selection)));
}

}  // namespace
}  // namespace kelno
