#include "tool_cursors.h"

#include <QBitmap>
#include <QImage>
#include <QPoint>
#include <array>
#include <optional>
#include <string_view>

#include "command_icons.h"
#include "command_table.h"

namespace kelno {

namespace {

constexpr int kCursorSize = 32;
// Where the tool's picture (16 x 15) sits: below and right of the pointer.
const QPoint kPictureCorner(16, 17);

// The pointer with its tip at (0, 0): 'X' black, '#' white, '.' clear.
constexpr std::array<std::string_view, 17> kPointer{{
    "X..........",
    "XX.........",
    "X#X........",
    "X##X.......",
    "X###X......",
    "X####X.....",
    "X#####X....",
    "X######X...",
    "X#######X..",
    "X########X.",
    "X#####XXXXX",
    "X##X##X....",
    "X#X.X##X...",
    "XX..X##X...",
    "X....X##X..",
    ".....X##X..",
    "......XX...",
}};

// A cursor being drawn: every pixel clear, white or black.
struct MonoPicture {
    QImage black{kCursorSize, kCursorSize, QImage::Format_Mono};
    QImage opaque{kCursorSize, kCursorSize, QImage::Format_Mono};

    MonoPicture() {
        // Bit 1 is black (and opaque in the mask), as bitmaps take it.
        for (QImage* image : {&black, &opaque}) {
            image->setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
            image->fill(0);
        }
    }
    void Set(int x, int y, bool isBlack) {
        if (x < 0 || y < 0 || x >= kCursorSize || y >= kCursorSize) {
            return;
        }
        black.setPixel(x, y, isBlack ? 1 : 0);
        opaque.setPixel(x, y, 1);
    }
    bool IsOpaque(int x, int y) const {
        return x >= 0 && y >= 0 && x < kCursorSize && y < kCursorSize &&
               opaque.pixelIndex(x, y) != 0;
    }
};

void DrawPointer(MonoPicture& picture, QPoint tip) {
    for (std::size_t row = 0; row < kPointer.size(); ++row) {
        for (std::size_t column = 0; column < kPointer[row].size(); ++column) {
            const char c = kPointer[row][column];
            if (c != '.') {
                picture.Set(tip.x() + static_cast<int>(column), tip.y() + static_cast<int>(row),
                            c == 'X');
            }
        }
    }
}

// The tool-bar picture in black and white: dark colours black, light ones white, with a
// white rim round it so that it shows on a dark background too.
void DrawToolPicture(MonoPicture& picture, Tool tool) {
    const QImage art = ToolIconImage(tool, 1);
    MonoPicture symbol;
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const QColor colour = art.pixelColor(x, y);
            if (colour.alpha() >= 128) {
                symbol.Set(kPictureCorner.x() + x, kPictureCorner.y() + y,
                           qGray(colour.rgb()) < 128);
            }
        }
    }
    for (int y = 0; y < kCursorSize; ++y) {
        for (int x = 0; x < kCursorSize; ++x) {
            if (symbol.IsOpaque(x, y)) {
                picture.Set(x, y, symbol.black.pixelIndex(x, y) != 0);
                continue;
            }
            const bool nearSymbol = symbol.IsOpaque(x - 1, y) || symbol.IsOpaque(x + 1, y) ||
                                    symbol.IsOpaque(x, y - 1) || symbol.IsOpaque(x, y + 1);
            if (nearSymbol && !picture.IsOpaque(x, y)) {
                picture.Set(x, y, false);
            }
        }
    }
}

}  // namespace

QCursor ToolCursor(Tool tool) {
    const std::optional<QPoint> hotSpot = RowOfTool(tool).cursorHotSpot;
    if (!hotSpot) {
        return QCursor(Qt::ArrowCursor);
    }
    MonoPicture picture;
    DrawToolPicture(picture, tool);
    DrawPointer(picture, *hotSpot);
    return QCursor(QBitmap::fromImage(picture.black), QBitmap::fromImage(picture.opaque),
                   hotSpot->x(), hotSpot->y());
}

}  // namespace kelno
