#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kelno {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Color&) const = default;
};

// A position in logical units (0.1 mm, y up). 64 bits wide so that the symbol geometry around
// points at the int32 limits can be computed without overflow.
struct DrawPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    bool operator==(const DrawPoint&) const = default;
};

// Two corners as given, not normalised: a surface draws the rectangle between them whatever
// their order.
struct DrawRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    bool operator==(const DrawRect&) const = default;
};

struct LogicalSize {
    std::int64_t cx = 0;
    std::int64_t cy = 0;
    bool operator==(const LogicalSize&) const = default;
};

struct Pen {
    Color color;
    int width = 0;  // logical units; 0 draws one device pixel wide whatever the scale
    bool operator==(const Pen&) const = default;
};

struct Brush {
    Color color{255, 255, 255};
    bool operator==(const Brush&) const = default;
};

struct Font {
    int height = 0;  // logical units; 0 is the surface's own legible label height
    int weight = 400;
    bool operator==(const Font&) const = default;
};

// What the circuit drawing needs of a surface (the screen, an off-screen picture, a printer
// page). Coordinates are logical units with y up and the origin at the top-left corner of the
// drawing area. A surface starts with a black pen of width 0, a white brush, black text and
// its default font; the Select calls return what they replace so it can be put back.
class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Brush SelectBrush(const Brush& brush) = 0;
    virtual Font SelectFont(const Font& font) = 0;
    virtual Color SetTextColor(Color color) = 0;
    // The colour the surface was cleared with (the window colour on screen, white on paper).
    virtual Color BackgroundColor() const = 0;

    // Lines and outlines use the selected pen; the insides of rectangles and ellipses are
    // filled with the selected brush.
    virtual void DrawLine(DrawPoint from, DrawPoint to) = 0;
    virtual void DrawPolyline(std::span<const DrawPoint> points) = 0;
    virtual void DrawRectangle(const DrawRect& rect) = 0;
    virtual void DrawEllipse(const DrawRect& bounds) = 0;
    // A closed figure filled with the selected brush and not outlined.
    virtual void FillPolygon(std::span<const DrawPoint> points) = 0;
    // A solid fill that neither the pen nor the brush takes part in.
    virtual void FillRect(const DrawRect& rect, Color color) = 0;
    // UTF-8 text in the selected font and text colour, horizontally centred on `anchor` with its
    // top edge there, upright and without a background box.
    virtual void DrawTextTopCentre(DrawPoint anchor, std::string_view text) = 0;

    // How many logical units `pixels` device pixels cover in each axis (positive).
    virtual LogicalSize PixelsToLogical(int pixels) const = 0;
};

}  // namespace kelno
