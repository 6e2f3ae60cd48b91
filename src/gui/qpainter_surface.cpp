#include "qpainter_surface.h"

#include <QPaintEngine>
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
    if (painter_.paintEngine() != nullptr &&
        painter_.paintEngine()->type() == QPaintEngine::Raster) {
        rasterArea_ = QRectF(painter_.window());
    }
    SelectFont(font_);
}

QPainterSurface::~QPainterSurface() {
    painter_.restore();
}

Pen QPainterSurface::SelectPen(const Pen& pen) {
    const Pen previous = pen_;
    pen_ = pen;
    tools_ = Tools::Unknown;
    return previous;
}

Brush QPainterSurface::SelectBrush(const Brush& brush) {
    const Brush previous = brush_;
    brush_ = brush;
    tools_ = Tools::Unknown;
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
    metrics_.emplace(painter_.font(), painter_.device());
    widths_.clear();
    return previous;
}

Color QPainterSurface::SetTextColor(Color color) {
    const Color previous = textColor_;
    textColor_ = color;
    if (tools_ == Tools::Text) {
        tools_ = Tools::Unknown;
    }
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
    if (tools_ == Tools::Outline) {
        return;
    }
    tools_ = Tools::Outline;
    // Width 0 is a cosmetic pen: one device pixel, whatever the scale, unless the view asks
    // for thicker thin lines.
    const bool thin = pen_.width <= 0;
    double width = thin ? 0.0 : pen_.width * scale_.pixelsPerUnitX();
    if (thin && thinLineWidth_ > 0.0) {
        width = thinLineWidth_;
    }
    QPen pen(ToQColor(pen_.color), width);
    pen.setCosmetic(thin && thinLineWidth_ <= 0.0);
    painter_.setPen(pen);
    painter_.setBrush(ToQColor(brush_.color));
}

void QPainterSurface::UseFill() {
    if (tools_ == Tools::Fill) {
        return;
    }
    tools_ = Tools::Fill;
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
    const QPointF at = ToDevice(anchor);
    const qreal width = TextWidth(string);
    const QRectF box(at.x() - width / 2.0, at.y(), width, metrics_->height());
    if (OutsideRaster(box)) {
        return;
    }
    if (tools_ != Tools::Text) {
        painter_.setPen(ToQColor(textColor_));
        tools_ = Tools::Text;
    }
    painter_.drawText(QPointF(box.x(), at.y() + metrics_->ascent()), string);
}

qreal QPainterSurface::TextWidth(const QString& text) {
    const auto known = widths_.constFind(text);
    if (known != widths_.constEnd()) {
        return *known;
    }
    const qreal width = metrics_->horizontalAdvance(text);
    widths_.insert(text, width);
    return width;
}

// Whether a label's box lies so far outside the picture that none of its pixels could
// reach it, with a line's height to spare for glyphs that overhang their advance.
bool QPainterSurface::OutsideRaster(const QRectF& area) const {
    if (!rasterArea_) {
        return false;
    }
    const qreal margin = metrics_->height();
    return !area.adjusted(-margin, -margin, margin, margin).intersects(*rasterArea_);
}

LogicalSize QPainterSurface::PixelsToLogical(int pixels) const {
    return {scale_.PixelsToUnitsX(pixels), scale_.PixelsToUnitsY(pixels)};
}

}  // namespace kelno
