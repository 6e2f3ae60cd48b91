#include "render/element_highlight.h"

#include <array>

#include "render/element_frame.h"
#include "render/element_symbol_table.h"
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
    if (const ElementSymbol* symbol = FindElementSymbol(element.kind)) {
        surface.FillRect(Grown(symbol->area(MakeElementFrame(end1, end2))), kHighlightColor);
    }
}

}  // namespace kelno
