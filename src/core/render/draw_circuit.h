#pragma once

#include <functional>
#include <string_view>

#include "model/circuit.h"
#include "render/draw_surface.h"

namespace kelno {

// What the drawing takes from the document and the view besides the circuit.
struct DrawSettings {
    bool showGrid = false;
    bool showCurrentFlow = true;
    bool noDiagonalWires = false;
    // The last analysis failed; the status bar then says "Short".
    bool shortCircuit = false;
    // The document's tool; -1 is the selection tool. A selected point gets an inner mark
    // under every other tool.
    int currentTool = -1;
    // The drawing area in logical units, which the grid covers.
    LogicalSize gridExtent;
};

// The status-bar text after a failed analysis.
inline constexpr std::string_view kShortStatusText = "Short";

// Receives status-bar text from the drawing.
using StatusSink = std::function<void(std::string_view text)>;

// Draws the whole circuit with its computed state: the grid, every element's symbol, the
// connection points, the selection marks and, as an option, arrows of the current. Each
// drawing of a circuit whose analysis failed sends "Short" to `status`. Reads the circuit
// and never changes it; the surface gets back its pen, brush, font and text colour.
void DrawCircuit(const Circuit& circuit, DrawSurface& surface, const DrawSettings& settings,
                 const StatusSink& status = {});

// One element between the given ends, with its state and, with `showFlow`, its arrow.
void DrawElement(const CircuitElement& element, DrawSurface& surface, DrawPoint end1,
                 DrawPoint end2, bool showFlow, bool noDiagonalWires);

// A line with a filled head of `headSize` units at `to`; lines shorter than the head get none.
void DrawArrowLine(DrawSurface& surface, DrawPoint from, DrawPoint to, int headSize);

// The outline of a rectangle in four lines of the current pen.
void DrawOutlineRect(DrawSurface& surface, const DrawRect& rect);

}  // namespace kelno
