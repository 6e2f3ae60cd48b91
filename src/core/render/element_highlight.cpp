#include "render/element_highlight.h"

#include <array>

#include "render/element_frame.h"
#include "render/surface_scope.h"

namespace kelno {

namespace {

// Wide enough to show on both sides of a line at any scale, narrow enough to tell two
// parallel wires 5 mm apart.
constexpr int kBandWidth = 36;
// How far the patch reaches beyond a symbol.
constexpr std::int64_t kMargin = 16;

DrawRect Grown(const DrawRect& r) {
    return {r.left - kMargin, r.top + kMargin, r.right + kMargin, r.bottom - kMargin};
}

// The area a component's symbol covers, top above bottom; none for a wire.
bool SymbolArea(ElementKind kind, const ElementFrame& f, DrawRect& area) {
    const std::int64_t cx = f.cx;
    const std::int64_t cy = f.cy;
    switch (kind) {
        case ElementKind::Battery: {
            // The positive terminal reaches 32 units beyond the box on either side.
            constexpr std::int64_t kTerminal = 32;
            area = {cx - f.hw - kTerminal, cy + f.hh + kTerminal, cx + f.hw + kTerminal,
                    cy - f.hh - kTerminal};
            return true;
        }
        case ElementKind::Resistor:
            area = {cx - f.hw, cy + f.hh, cx + f.hw, cy - f.hh};
            return true;
        case ElementKind::Ammeter:
        case ElementKind::Voltmeter:
            area = {cx - 64, cy + 64, cx + 64, cy - 64};
            return true;
        case ElementKind::Bulb:
            area = {cx - 48, cy + 120, cx + 48, cy - 40};
            return true;
        case ElementKind::Switch:
            area = {cx - 80, cy + 48, cx + 80, cy - 48};
            return true;
        default:
            return false;
    }
}

}  // namespace

void DrawElementHighlight(const CircuitElement& element, DrawSurface& surface, DrawPoint end1,
                          DrawPoint end2, bool noDiagonalWires) {
    {
        PenScope band(surface, Pen{kHighlightColor, kBandWidth});
        if (IsWire(element.kind) && noDiagonalWires) {
            const std::array<DrawPoint, 3> path{end1, RightAngleCorner(element.kind, end1, end2),
                                                end2};
            surface.DrawPolyline(path);
        } else {
            surface.DrawLine(end1, end2);
        }
    }
    DrawRect area;
    if (SymbolArea(element.kind, MakeElementFrame(end1, end2), area)) {
        surface.FillRect(Grown(area), kHighlightColor);
    }
}

}  // namespace kelno
