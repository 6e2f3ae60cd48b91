#include "action_cursors.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <functional>

#include "document/document.h"
#include "tool_cursors.h"

namespace kelno {

namespace {

constexpr int kCursorSize = 32;

// A cursor from a drawing in black and white on a clear picture: what is painted dark is
// black, what is painted light is white, the rest shows what lies under the cursor.
QCursor CursorFromDrawing(const std::function<void(QPainter&)>& draw, QPoint hotSpot) {
    QImage art(kCursorSize, kCursorSize, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter painter(&art);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        draw(painter);
    }
    QImage black(kCursorSize, kCursorSize, QImage::Format_Mono);
    QImage opaque(kCursorSize, kCursorSize, QImage::Format_Mono);
    for (QImage* image : {&black, &opaque}) {
        image->setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        image->fill(0);
    }
    for (int y = 0; y < kCursorSize; ++y) {
        for (int x = 0; x < kCursorSize; ++x) {
            const QRgb pixel = art.pixel(x, y);
            if (qAlpha(pixel) >= 128) {
                opaque.setPixel(x, y, 1);
                black.setPixel(x, y, qGray(pixel) < 128 ? 1 : 0);
            }
        }
    }
    return QCursor(QBitmap::fromImage(black), QBitmap::fromImage(opaque), hotSpot.x(), hotSpot.y());
}

void DrawPointer(QPainter& painter) {
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(0, 16), QPoint(4, 12), QPoint(7, 18),
                                  QPoint(9, 17), QPoint(6, 11), QPoint(11, 11)}));
}

QCursor MoveCursor() {
    return CursorFromDrawing(
        [](QPainter& painter) {
            painter.drawPolygon(QPolygon(
                {QPoint(15, 4),  QPoint(19, 8),  QPoint(16, 8),  QPoint(16, 14), QPoint(22, 14),
                 QPoint(22, 11), QPoint(26, 15), QPoint(22, 19), QPoint(22, 16), QPoint(16, 16),
                 QPoint(16, 22), QPoint(19, 22), QPoint(15, 26), QPoint(11, 22), QPoint(14, 22),
                 QPoint(14, 16), QPoint(8, 16),  QPoint(8, 19),  QPoint(4, 15),  QPoint(8, 11),
                 QPoint(8, 14),  QPoint(14, 14), QPoint(14, 8),  QPoint(11, 8)}));
            painter.fillRect(QRect(14, 14, 3, 3), Qt::black);  // the hot spot
        },
        QPoint(15, 15));
}

// A point with a link that a pull takes off it.
QCursor DetachCursor() {
    return CursorFromDrawing(
        [](QPainter& painter) {
            DrawPointer(painter);
            painter.drawEllipse(QRect(12, 21, 6, 6));
            painter.setPen(QPen(Qt::black, 2));
            painter.drawLine(QPoint(19, 24), QPoint(22, 24));
            painter.drawLine(QPoint(25, 21), QPoint(30, 16));
        },
        QPoint(0, 0));
}

QCursor SelectCursor(bool deselect) {
    return CursorFromDrawing(
        [deselect](QPainter& painter) {
            DrawPointer(painter);
            painter.drawRect(QRect(14, 19, 14, 8));
            if (deselect) {
                painter.drawLine(QPoint(17, 23), QPoint(25, 23));
            }
        },
        QPoint(0, 0));
}

}  // namespace

QCursor ActionCursor(PressAction action, Tool tool) {
    switch (action) {
        case PressAction::MovePoint:
            return MoveCursor();
        case PressAction::StartWire:
            return ToolCursor(Tool::Wire);
        case PressAction::DetachLink:
            return DetachCursor();
        case PressAction::SelectElement:
            return SelectCursor(false);
        case PressAction::DeselectElement:
            return SelectCursor(true);
        case PressAction::PlaceComponent:
        case PressAction::SelectArea:
            break;
    }
    return ToolCursor(tool);
}

}  // namespace kelno
