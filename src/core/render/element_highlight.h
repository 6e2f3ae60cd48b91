#pragma once

#include "model/circuit_element.h"
#include "render/draw_surface.h"

namespace kelno {

// The colour of the band under a highlighted element: a light red that the black lines,
// labels and white bodies of the symbols stand out on.
inline constexpr Color kHighlightColor{255, 140, 140};

// Draws the band that marks an element between the given ends: a wide stroke along its
// line (both legs of a wire drawn without diagonals) and, for a component, a patch a little
// larger than its symbol. Drawn before the symbols, so that it lies under them.
void DrawElementHighlight(const CircuitElement& element, DrawSurface& surface, DrawPoint end1,
                          DrawPoint end2, bool noDiagonalWires);

}  // namespace kelno
