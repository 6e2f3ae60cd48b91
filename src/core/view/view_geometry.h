#pragma once

#include <cstdint>

#include "model/circuit_element.h"
#include "view/logical_point.h"

namespace kelno {

// The grid is drawn and snapped to every 50 units (5 mm), through the logical origin.
inline constexpr std::int32_t kGridPitch = 50;
// A component placed with a tool spans 400 units horizontally around the press position.
inline constexpr std::int32_t kComponentHalfSpan = 200;

// The grid line nearest to `p` in each axis, halves going away from the origin inside the
// visible area (x >= 0, y <= 0). Outside it the same formulas apply unchanged, so -30 snaps
// to 0 but -80 to -50 in x. Results that would leave int32 stay on the outermost grid line.
LogicalPoint SnapToGrid(LogicalPoint p);

// The middle of an element's ends, each coordinate truncated toward zero: an element's only
// handle for clicks, the selection rectangle and the selection mark.
LogicalPoint ElementMidpoint(const CircuitElement& element);
LogicalPoint Midpoint(LogicalPoint a, LogicalPoint b);

// Whether `m` lies in the rectangle spanned by corners `a` and `b`, the left and the
// numerically smaller y edge included, the right and the numerically larger y edge excluded.
bool InsideRectangle(LogicalPoint a, LogicalPoint b, LogicalPoint m);

// Where the ends of a component placed at `position` go: end1 200 units to the left, end2 200
// units to the right (never snapped). Positions near the int32 limits are moved inwards so
// that both ends exist.
struct ComponentEnds {
    LogicalPoint end1;
    LogicalPoint end2;
};
ComponentEnds PlacedComponentEnds(LogicalPoint position);

}  // namespace kelno
