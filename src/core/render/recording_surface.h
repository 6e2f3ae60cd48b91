#pragma once

#include <string>
#include <vector>

#include "render/draw_surface.h"
#include "view/view_scale.h"

namespace kelno {

// A surface that keeps every drawing call, in order, as numbers in one flat list (and the
// texts apart), so that another program can replay them: the web page draws them on a
// canvas, and kelno-cli writes them out to compare two builds call for call.
//
// Each call is its opcode, then its operands:
//   Pen r g b width · Brush r g b · Font height weight · TextColor r g b
//   Line x1 y1 x2 y2 · Rectangle l t r b · Ellipse l t r b · FillRect l t r b r g b
//   Polyline n x1 y1 … xn yn · Polygon n x1 y1 … · Text x y textIndex
// Coordinates are logical units; they stay within ±2^53 and so are exact as doubles.
class RecordingSurface : public DrawSurface {
public:
    enum Op : int {
        kPen = 1,
        kBrush,
        kFont,
        kTextColor,
        kLine,
        kPolyline,
        kRectangle,
        kEllipse,
        kPolygon,
        kFillRect,
        kText,
    };

    RecordingSurface(const ViewScale& scale, Color background);

    const std::vector<double>& calls() const { return calls_; }
    const std::vector<std::string>& texts() const { return texts_; }
    // Every call as one line of text: its name and operands (texts in quotes).
    std::string Listing() const;

    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    Font SelectFont(const Font& font) override;
    Color SetTextColor(Color color) override;
    Color BackgroundColor() const override { return background_; }
    void DrawLine(DrawPoint from, DrawPoint to) override;
    void DrawPolyline(std::span<const DrawPoint> points) override;
    void DrawRectangle(const DrawRect& rect) override;
    void DrawEllipse(const DrawRect& bounds) override;
    void FillPolygon(std::span<const DrawPoint> points) override;
    void FillRect(const DrawRect& rect, Color color) override;
    void DrawTextTopCentre(DrawPoint anchor, std::string_view text) override;
    LogicalSize PixelsToLogical(int pixels) const override;

private:
    void Add(std::initializer_list<double> numbers);
    void AddColor(Color color);
    void AddRect(const DrawRect& rect);
    void AddPoints(std::span<const DrawPoint> points);

    ViewScale scale_;
    Color background_;
    Pen pen_;
    Brush brush_;
    Font font_;
    Color textColor_;
    std::vector<double> calls_;
    std::vector<std::string> texts_;
};

}  // namespace kelno
