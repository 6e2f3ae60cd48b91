#include "render/draw_circuit.h"

#include <array>
#include <cmath>

#include "render/element_frame.h"
#include "render/element_highlight.h"
#include "render/element_symbol_table.h"
#include "render/format_value.h"
#include "render/surface_scope.h"
#include "render/warning_marks.h"
#include "view/view_geometry.h"

namespace kelno {

namespace {

constexpr Color kGridColor{180, 180, 180};
constexpr Color kMarkColor{128, 128, 128};
constexpr Color kArrowHeadColor{0, 0, 0};
constexpr std::int64_t kPointRadius = 8;
constexpr int kArrowHeadSize = 24;
// Currents smaller than this in magnitude get no arrow.
constexpr double kFlowThreshold = 1e-6;
// Selection marks are sized in device pixels, so they look the same at every scale.
constexpr int kPointMarkPixels = 15;
constexpr int kPointInnerMarkPixels = 6;
constexpr int kElementMarkPixels = 35;
constexpr Color kPotentialColor{0, 0, 160};
// A potential's label lies above and to the left of its point: clear of wires that leave
// the point to the left or upward, of the value labels, which lie below the symbols, and of
// the body of a component whose lead starts there (a body reaches 48 units to either side
// of its line).
constexpr std::int64_t kPotentialOffsetX = -64;
constexpr std::int64_t kPotentialOffsetY = 116;

DrawPoint PositionOf(const CircuitPoint* point) {
    return {point->x, point->y};
}

void DrawGrid(DrawSurface& surface, LogicalSize extent) {
    const std::int64_t width = extent.cx;
    const std::int64_t height = -extent.cy;  // y points up: the area lies below the origin
    PenScope pen(surface, Pen{kGridColor, 0});
    for (std::int64_t x = 0; x < width; x += kGridPitch) {
        surface.DrawLine({x, 0}, {x, height});
    }
    for (std::int64_t y = 0; y > height; y -= kGridPitch) {
        surface.DrawLine({0, y}, {width, y});
    }
}

DrawRect Around(DrawPoint centre, LogicalSize half) {
    return {centre.x - half.cx, centre.y - half.cy, centre.x + half.cx, centre.y + half.cy};
}

void DrawSelectionMarks(const Circuit& circuit, DrawSurface& surface, Tool currentTool) {
    const LogicalSize pointMark = surface.PixelsToLogical(kPointMarkPixels);
    const LogicalSize elementMark = surface.PixelsToLogical(kElementMarkPixels);
    const LogicalSize innerMark = surface.PixelsToLogical(kPointInnerMarkPixels);
    PenScope pen(surface, Pen{kMarkColor, 0});
    if (circuit.pointSelected()) {
        const DrawPoint p = PositionOf(circuit.selectedPoint());
        DrawOutlineRect(surface, Around(p, pointMark));
        if (currentTool != Tool::Selection) {
            DrawOutlineRect(surface, Around(p, innerMark));
        }
    }
    for (const CircuitElement* element : circuit.selection()) {
        const DrawPoint a = PositionOf(element->end1());
        const DrawPoint b = PositionOf(element->end2());
        DrawOutlineRect(surface, Around({(a.x + b.x) / 2, (a.y + b.y) / 2}, elementMark));
    }
}

// The line of an element, with an arrow in the direction of a current worth showing.
void DrawFlowLine(DrawSurface& surface, DrawPoint from, DrawPoint to, double current,
                  bool showFlow) {
    if (showFlow && current > kFlowThreshold) {
        DrawArrowLine(surface, from, to, kArrowHeadSize);
    } else if (showFlow && current < -kFlowThreshold) {
        DrawArrowLine(surface, to, from, kArrowHeadSize);
    } else {
        surface.DrawLine(from, to);
    }
}

// A wire drawn without diagonals: one horizontal and one vertical leg; the arrow, if any,
// sits on the leg that ends where the current goes.
void DrawRightAngleWire(const CircuitElement& wire, DrawSurface& surface, DrawPoint end1,
                        DrawPoint end2, bool showFlow) {
    const DrawPoint corner = RightAngleCorner(wire.kind, end1, end2);
    if (showFlow && wire.current > kFlowThreshold) {
        surface.DrawLine(end1, corner);
        DrawArrowLine(surface, corner, end2, kArrowHeadSize);
    } else if (showFlow && wire.current < -kFlowThreshold) {
        surface.DrawLine(end2, corner);
        DrawArrowLine(surface, corner, end1, kArrowHeadSize);
    } else {
        const std::array<DrawPoint, 3> path{end1, corner, end2};
        surface.DrawPolyline(path);
    }
}

void DrawHighlights(const Circuit& circuit, DrawSurface& surface, const DrawSettings& settings) {
    std::size_t number = 0;
    for (const CircuitElement& element : circuit.elements()) {
        if (settings.highlightElements.contains(number++)) {
            DrawElementHighlight(element, surface, PositionOf(element.end1()),
                                 PositionOf(element.end2()), settings.noDiagonalWires);
        }
    }
}

void DrawPotentials(const Circuit& circuit, DrawSurface& surface,
                    const PointPotentialList& potentials) {
    TextColorScope color(surface, kPotentialColor);
    std::size_t number = 0;
    for (const CircuitPoint& point : circuit.points()) {
        if (number < potentials.size() && potentials[number]) {
            surface.DrawTextTopCentre({point.x + kPotentialOffsetX, point.y + kPotentialOffsetY},
                                      FormatPotential(*potentials[number]));
        }
        ++number;
    }
}

}  // namespace

void DrawCircuit(const Circuit& circuit, DrawSurface& surface, const DrawSettings& settings,
                 const StatusSink& status) {
    if (settings.showGrid) {
        DrawGrid(surface, settings.gridExtent);
    }
    DrawHighlights(circuit, surface, settings);
    {
        FontScope labelFont(surface, Font{});
        for (const CircuitElement& element : circuit.elements()) {
            DrawElement(element, surface, PositionOf(element.end1()), PositionOf(element.end2()),
                        settings.showCurrentFlow, settings.noDiagonalWires, settings.hideReadings);
        }
        for (const CircuitPoint& point : circuit.points()) {
            surface.DrawEllipse(Around({point.x, point.y}, {kPointRadius, kPointRadius}));
        }
        if (settings.showPotentials && !settings.hideReadings) {
            DrawPotentials(circuit, surface, settings.potentials);
        }
    }
    DrawUnjoinedEndMarks(circuit, surface, settings.unjoinedEnds);
    if (settings.warnLargeCurrent && !settings.hideReadings && !settings.shortCircuit) {
        DrawLargeCurrentMarks(circuit, surface);
    }
    DrawSelectionMarks(circuit, surface, settings.currentTool);
    if (settings.shortCircuit && status) {
        status(kShortStatusText);
    }
}

void DrawElement(const CircuitElement& element, DrawSurface& surface, DrawPoint end1,
                 DrawPoint end2, bool showFlow, bool noDiagonalWires, bool hideReadings) {
    const bool wire = IsWire(element.kind);
    // An arrow shows the direction of the current, a reading like any other.
    showFlow = showFlow && !hideReadings;
    if (!wire || !noDiagonalWires) {
        DrawFlowLine(surface, end1, end2, element.current, showFlow);
    }
    if (const ElementSymbol* symbol = FindElementSymbol(element.kind)) {
        symbol->draw(element, surface, MakeElementFrame(end1, end2), hideReadings);
    } else if (wire && noDiagonalWires) {
        // Kinds beyond the catalogue, which only a foreign file can hold, stay a bare line.
        DrawRightAngleWire(element, surface, end1, end2, showFlow);
    }
}

void DrawArrowLine(DrawSurface& surface, DrawPoint from, DrawPoint to, int headSize) {
    surface.DrawLine(from, to);
    const double dx = static_cast<double>(to.x - from.x);
    const double dy = static_cast<double>(to.y - from.y);
    const double length = std::sqrt(dx * dx + dy * dy);
    if (headSize <= 0 || length < headSize) {
        return;
    }
    const double ax = headSize / length * dx;
    const double ay = headSize / length * dy;
    const double bx = static_cast<double>(to.x) - ax;
    const double by = static_cast<double>(to.y) - ay;
    constexpr double kHalfWidth = 0.4;  // of the head's length, on each side
    const std::array<DrawPoint, 3> head{
        to,
        DrawPoint{static_cast<std::int64_t>(bx - kHalfWidth * ay),
                  static_cast<std::int64_t>(by + kHalfWidth * ax)},
        DrawPoint{static_cast<std::int64_t>(bx + kHalfWidth * ay),
                  static_cast<std::int64_t>(by - kHalfWidth * ax)},
    };
    BrushScope brush(surface, Brush{kArrowHeadColor});
    surface.FillPolygon(head);
}

void DrawOutlineRect(DrawSurface& surface, const DrawRect& rect) {
    const std::array<DrawPoint, 5> outline{
        DrawPoint{rect.left, rect.top}, DrawPoint{rect.left, rect.bottom},
        DrawPoint{rect.right, rect.bottom}, DrawPoint{rect.right, rect.top},
        DrawPoint{rect.left, rect.top}};
    surface.DrawPolyline(outline);
}

}  // namespace kelno
