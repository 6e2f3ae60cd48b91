#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string_view>

#include "analysis/point_potentials.h"
#include "model/circuit.h"
#include "model/tool.h"
#include "render/draw_surface.h"

namespace kelno {

// What the drawing takes from the document and the view besides the circuit.
struct DrawSettings {
    bool showGrid = false;
    bool showCurrentFlow = true;
    bool noDiagonalWires = false;
    // The last analysis failed; the status bar then says "Short".
    bool shortCircuit = false;
    // The document's tool. A selected point gets an inner mark under every tool but the
    // selection tool.
    Tool currentTool = Tool::Selection;
    // The drawing area in logical units, which the grid covers.
    LogicalSize gridExtent;

    // For pupils who predict before they look: nothing that the analysis found shows. No
    // meter readings (the needles rest on their zero side), no bulb powers or glow, no
    // arrows of the current, no battery marked as driven backwards.
    bool hideReadings = false;
    // Elements by their position in the circuit's list, drawn over a red band that lies
    // under every symbol: the loop that made the analysis fail.
    std::set<std::size_t> highlightElements;
    // Each point's potential, in `potentials` by the point's position in the circuit's
    // list, written beside it. Potentials are readings too: hidden with them.
    bool showPotentials = false;
    PointPotentialList potentials;
    // Points by their position in the circuit's list that end one element and lie so near
    // another point that they look joined: each gets a small warning sign.
    std::set<std::size_t> unjoinedEnds;
    // A battery with a current larger than a dry cell takes gets a warning sign (a reading:
    // not while the readings are hidden, nor after a failed analysis).
    bool warnLargeCurrent = false;
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
// With `hideReadings` it is drawn as if no current flowed, and without the labels of
// readings.
void DrawElement(const CircuitElement& element, DrawSurface& surface, DrawPoint end1,
                 DrawPoint end2, bool showFlow, bool noDiagonalWires, bool hideReadings = false);

// A line with a filled head of `headSize` units at `to`; lines shorter than the head get none.
void DrawArrowLine(DrawSurface& surface, DrawPoint from, DrawPoint to, int headSize);

// The outline of a rectangle in four lines of the current pen.
void DrawOutlineRect(DrawSurface& surface, const DrawRect& rect);

}  // namespace kelno
