#include "render/recording_surface.h"

#include <utility>

#include "text/number_text.h"

namespace kelno {

RecordingSurface::RecordingSurface(const ViewScale& scale, Color background)
    : scale_(scale), background_(background) {}

void RecordingSurface::Add(std::initializer_list<double> numbers) {
    calls_.insert(calls_.end(), numbers);
}

void RecordingSurface::AddColor(Color color) {
    Add({static_cast<double>(color.r), static_cast<double>(color.g), static_cast<double>(color.b)});
}

void RecordingSurface::AddRect(const DrawRect& rect) {
    Add({static_cast<double>(rect.left), static_cast<double>(rect.top),
         static_cast<double>(rect.right), static_cast<double>(rect.bottom)});
}

void RecordingSurface::AddPoints(std::span<const DrawPoint> points) {
    calls_.push_back(static_cast<double>(points.size()));
    for (const DrawPoint& point : points) {
        Add({static_cast<double>(point.x), static_cast<double>(point.y)});
    }
}

Pen RecordingSurface::SelectPen(const Pen& pen) {
    calls_.push_back(kPen);
    AddColor(pen.color);
    calls_.push_back(pen.width);
    return std::exchange(pen_, pen);
}

Brush RecordingSurface::SelectBrush(const Brush& brush) {
    calls_.push_back(kBrush);
    AddColor(brush.color);
    return std::exchange(brush_, brush);
}

Font RecordingSurface::SelectFont(const Font& font) {
    Add({kFont, static_cast<double>(font.height), static_cast<double>(font.weight)});
    return std::exchange(font_, font);
}

Color RecordingSurface::SetTextColor(Color color) {
    calls_.push_back(kTextColor);
    AddColor(color);
    return std::exchange(textColor_, color);
}

void RecordingSurface::DrawLine(DrawPoint from, DrawPoint to) {
    Add({kLine, static_cast<double>(from.x), static_cast<double>(from.y),
         static_cast<double>(to.x), static_cast<double>(to.y)});
}

void RecordingSurface::DrawPolyline(std::span<const DrawPoint> points) {
    calls_.push_back(kPolyline);
    AddPoints(points);
}

void RecordingSurface::DrawRectangle(const DrawRect& rect) {
    calls_.push_back(kRectangle);
    AddRect(rect);
}

void RecordingSurface::DrawEllipse(const DrawRect& bounds) {
    calls_.push_back(kEllipse);
    AddRect(bounds);
}

void RecordingSurface::FillPolygon(std::span<const DrawPoint> points) {
    calls_.push_back(kPolygon);
    AddPoints(points);
}

void RecordingSurface::FillRect(const DrawRect& rect, Color color) {
    calls_.push_back(kFillRect);
    AddRect(rect);
    AddColor(color);
}

void RecordingSurface::DrawTextTopCentre(DrawPoint anchor, std::string_view text) {
    Add({kText, static_cast<double>(anchor.x), static_cast<double>(anchor.y),
         static_cast<double>(texts_.size())});
    texts_.emplace_back(text);
}

LogicalSize RecordingSurface::PixelsToLogical(int pixels) const {
    return {scale_.PixelsToUnitsX(pixels), scale_.PixelsToUnitsY(pixels)};
}

std::string RecordingSurface::Listing() const {
    static constexpr const char* kNames[] = {"",        "pen",      "brush",   "font",
                                             "color",   "line",     "polyline", "rectangle",
                                             "ellipse", "polygon",  "fill",    "text"};
    // Operands after each opcode; polylines and polygons carry their own count.
    static constexpr int kOperands[] = {0, 4, 3, 2, 3, 4, -1, 4, 4, -1, 7, 3};
    std::string listing;
    for (std::size_t at = 0; at < calls_.size();) {
        const int op = static_cast<int>(calls_[at++]);
        listing += kNames[op];
        std::size_t count = kOperands[op] >= 0 ? static_cast<std::size_t>(kOperands[op])
                                               : 1 + 2 * static_cast<std::size_t>(calls_[at]);
        if (op == kText) {
            count = 2;
        }
        for (std::size_t i = 0; i < count; ++i) {
            listing += ' ';
            listing += ShortestRoundTrip(calls_[at++]);
        }
        if (op == kText) {
            listing += " \"" + texts_[static_cast<std::size_t>(calls_[at++])] + '"';
        }
        listing += '\n';
    }
    return listing;
}

}  // namespace kelno
