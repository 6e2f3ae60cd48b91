#include "qpainter_surface.h"

#include <QFontMetricsF>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <cmath>

namespace kelno {

namespace {

QColor ToQColor(Color color) {
    return QColor(color.r, color.g, color.b);
}

}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter, const ViewScale& scale, QColor background)
    : painter_(painter), scale_(scale), background_(background) {
    painter_.save();
    painter_.resetTransform();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
    SelectFont(font_);
}

QPainterSurface::~QPainterSurface() {
    painter_.restore();
}

Pen QPainterSurface::SelectPen(const Pen& pen) {
    const Pen previous = pen_;
    pen_ = pen;
    return previous;
}

Brush QPainterSurface::SelectBrush(const Brush& brush) {
    const Brush previous = brush_;
    brush_ = brush;
    return previous;
}

Font QPainterSurface::SelectFont(const Font& font) {
    const Font previous = font_;
    font_ = font;
    const int height = font.height > 0 ? font.height : kLabelHeight;
    const int pixels = std::max(1, static_cast<int>(std::lround(height * scale_.pixelsPerUnitY())));
    QFont qfont = LabelFont(pixels);
    qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    painter_.setFont(qfont);
    return previous;
}

Color QPainterSurface::SetTextColor(Color color) {
    const Color previous = textColor_;
    textColor_ = color;
    return previous;
}

Color QPainterSurface::BackgroundColor() const {
    return {static_cast<std::uint8_t>(background_.red()),
            static_cast<std::uint8_t>(background_.green()),
            static_cast<std::uint8_t>(background_.blue())};
}

QFont QPainterSurface::LabelFont(int pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                      QStringLiteral("TakaoGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixelHeight));
    return font;
}

QPointF QPainterSurface::ToDevice(DrawPoint point) const {
    // Whole pixels, as the program has always drawn: one-pixel lines stay crisp.
    return {std::round(static_cast<double>(point.x) * scale_.pixelsPerUnitX()),
            std::round(-static_cast<double>(point.y) * scale_.pixelsPerUnitY())};
}

QRectF QPainterSurface::ToDevice(const DrawRect& rect) const {
    return QRectF(ToDevice(DrawPoint{rect.left, rect.top}),
                  ToDevice(DrawPoint{rect.right, rect.bottom}))
        .normalized();
}

QPolygonF QPainterSurface::ToDevice(std::span<const DrawPoint> points) const {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const DrawPoint& point : points) {
        polygon.append(ToDevice(point));
    }
    return polygon;
}

void QPainterSurface::UseOutline() {
    // Width 0 is a cosmetic pen: one device pixel, whatever the scale.
    const double width = pen_.width > 0 ? pen_.width * scale_.pixelsPerUnitX() : 0.0;
    QPen pen(ToQColor(pen_.color), width);
    pen.setCosmetic(pen_.width <= 0);
    painter_.setPen(pen);
    painter_.setBrush(ToQColor(brush_.color));
}

void QPainterSurface::UseFill() {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(brush_.color));
}

void QPainterSurface::DrawLine(DrawPoint from, DrawPoint to) {
    UseOutline();
    painter_.drawLine(ToDevice(from), ToDevice(to));
}

void QPainterSurface::DrawPolyline(std::span<const DrawPoint> points) {
    UseOutline();
    painter_.drawPolyline(ToDevice(points));
}

void QPainterSurface::DrawRectangle(const DrawRect& rect) {
    UseOutline();
    painter_.drawRect(ToDevice(rect));
}

void QPainterSurface::DrawEllipse(const DrawRect& bounds) {
    UseOutline();
    painter_.drawEllipse(ToDevice(bounds));
}

void QPainterSurface::FillPolygon(std::span<const DrawPoint> points) {
    UseFill();
    painter_.drawPolygon(ToDevice(points));
}

void QPainterSurface::FillRect(const DrawRect& rect, Color color) {
    painter_.fillRect(ToDevice(rect), ToQColor(color));
}

void QPainterSurface::DrawTextTopCentre(DrawPoint anchor, std::string_view text) {
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const QPointF at = ToDevice(anchor);
    painter_.setPen(ToQColor(textColor_));
    painter_.drawText(
        QPointF(at.x() - metrics.horizontalAdvance(string) / 2.0, at.y() + metrics.ascent()),
        string);
}

LogicalSize QPainterSurface::PixelsToLogical(int pixels) const {
    return {scale_.PixelsToUnitsX(pixels), scale_.PixelsToUnitsY(pixels)};
}

}  // namespace kelno
