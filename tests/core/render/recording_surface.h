#pragma once

#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "render/draw_surface.h"

namespace kelno::testing {

// A surface that keeps every drawing call with the pen, brush, font and text colour in force,
// so that tests can check the geometry and the colours of a drawing.
class RecordingSurface : public DrawSurface {
public:
    enum class Op { Line, Polyline, Rectangle, Ellipse, Polygon, Fill, Text };

    struct Call {
        Op op;
        std::vector<DrawPoint> points;  // Line: from, to; Text: the anchor
        DrawRect rect;                  // Rectangle, Ellipse, Fill
        std::string text;
        Pen pen;
        Brush brush;
        Font font;
        Color textColor;
        Color fillColor;  // Fill only
    };

    // `unitsPerPixel` logical units make one device pixel in each axis.
    explicit RecordingSurface(double unitsPerPixel = 1.0) : unitsPerPixel_(unitsPerPixel) {}

    Pen SelectPen(const Pen& pen) override { return Swap(pen_, pen); }
    Brush SelectBrush(const Brush& brush) override { return Swap(brush_, brush); }
    Font SelectFont(const Font& font) override { return Swap(font_, font); }
    Color SetTextColor(Color color) override { return Swap(textColor_, color); }
    Color BackgroundColor() const override { return background; }

    void DrawLine(DrawPoint from, DrawPoint to) override { Record(Op::Line, {from, to}); }
    void DrawPolyline(std::span<const DrawPoint> points) override {
        Record(Op::Polyline, {points.begin(), points.end()});
    }
    void DrawRectangle(const DrawRect& rect) override { Record(Op::Rectangle, {}).rect = rect; }
    void DrawEllipse(const DrawRect& rect) override { Record(Op::Ellipse, {}).rect = rect; }
    void FillPolygon(std::span<const DrawPoint> points) override {
        Record(Op::Polygon, {points.begin(), points.end()});
    }
    void FillRect(const DrawRect& rect, Color color) override {
        Call& call = Record(Op::Fill, {});
        call.rect = rect;
        call.fillColor = color;
    }
    void DrawTextTopCentre(DrawPoint anchor, std::string_view text) override {
        Record(Op::Text, {anchor}).text = std::string(text);
    }
    LogicalSize PixelsToLogical(int pixels) const override {
        const auto units = static_cast<std::int64_t>(std::lround(pixels * unitsPerPixel_));
        return {units, units};
    }

    std::vector<const Call*> Calls(Op op) const {
        std::vector<const Call*> found;
        for (const Call& call : calls) {
            if (call.op == op) {
                found.push_back(&call);
            }
        }
        return found;
    }

    // The first text call with this text, or nullptr.
    const Call* FindText(std::string_view text) const {
        for (const Call& call : calls) {
            if (call.op == Op::Text && call.text == text) {
                return &call;
            }
        }
        return nullptr;
    }

    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }
    const Font& font() const { return font_; }
    Color textColor() const { return textColor_; }

    std::vector<Call> calls;
    Color background{255, 255, 255};

private:
    template <class T>
    static T Swap(T& slot, const T& value) {
        T previous = slot;
        slot = value;
        return previous;
    }

    Call& Record(Op op, std::vector<DrawPoint> points) {
        calls.push_back({op, std::move(points), {}, {}, pen_, brush_, font_, textColor_, {}});
        return calls.back();
    }

    double unitsPerPixel_;
    Pen pen_;
    Brush brush_;
    Font font_{13, 700};  // anything but the label font, so that selecting it shows
    Color textColor_;
};

}  // namespace kelno::testing
