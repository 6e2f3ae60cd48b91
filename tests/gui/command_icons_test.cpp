#include "command_icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <set>
#include <vector>

namespace kelno {
namespace {

constexpr int kToolBarCommands[] = {57600, 57601, 57603, 57643, 57644, 57635, 57634,
                                    57637, 57607, 150,   148,   57664, 142,   141,
                                    143,   144,   145,   140,   147,   146,   181};

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y).alpha() > 0;
        }
    }
    return count;
}

int Colours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

TEST(CommandIcons, EveryToolBarCommandHasItsOwnPictureAtBothSizes) {
    std::vector<QImage> seen;
    for (const int command : kToolBarCommands) {
        for (const int scale : {1, 2}) {
            const QImage image = CommandIconImage(command, scale);
            EXPECT_EQ(image.size(), QSize(16 * scale, 15 * scale)) << command;
            // Something drawn, with an outline or detail: more than one colour.
            EXPECT_GT(OpaquePixels(image), 10 * scale * scale) << command;
            EXPECT_GE(Colours(image), 2) << command;
        }
        const QImage picture = CommandIconImage(command, 1);
        for (const QImage& other : seen) {
            EXPECT_NE(picture, other) << command << " looks like another command";
        }
        seen.push_back(picture);

        const QIcon icon = CommandIcon(command);
        EXPECT_EQ(icon.pixmap(QSize(16, 15), 1.0).size(), QSize(16, 15)) << command;
        EXPECT_EQ(icon.pixmap(QSize(16, 15), 2.0).size(), QSize(32, 30)) << command;
    }
}

TEST(CommandIcons, OtherCommandsHaveNone) {
    EXPECT_TRUE(CommandIcon(57604).isNull());
    EXPECT_TRUE(CommandIconImage(0, 1).isNull());
}

TEST(ApplicationIcon, IsDrawnAtEverySize) {
    for (const int pixels : {16, 32, 48, 256}) {
        const QImage image = ApplicationIconImage(pixels);
        EXPECT_EQ(image.size(), QSize(pixels, pixels));
        EXPECT_GT(OpaquePixels(image), pixels * pixels / 4) << pixels;
    }
    EXPECT_FALSE(ApplicationIcon().pixmap(64).isNull());
}

}  // namespace
}  // namespace kelno
