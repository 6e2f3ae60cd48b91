#pragma once

#include <cstdint>

#include "model/element_kind.h"
#include "render/draw_surface.h"

namespace kelno {

// Where an element's symbol goes: its centre, the side its end2 lies on, and the 160 x 96
// box turned with it.
struct ElementFrame {
    std::int64_t cx = 0;
    std::int64_t cy = 0;
    // 0: end2 above end1, 1: to the right, 2: below, 3: to the left. Ends that coincide
    // give 2, a vertical symbol.
    int quadrant = 0;
    std::int64_t hw = 0;  // half width and half height of the box
    std::int64_t hh = 0;

    bool horizontal() const { return quadrant % 2 == 1; }
};

int ElementQuadrant(DrawPoint end1, DrawPoint end2);

// Where a wire drawn without diagonals turns: below or above end1 for a wire whose vertical
// leg comes first, beside it otherwise.
DrawPoint RightAngleCorner(ElementKind kind, DrawPoint end1, DrawPoint end2);
ElementFrame MakeElementFrame(DrawPoint end1, DrawPoint end2);

}  // namespace kelno
