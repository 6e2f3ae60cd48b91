#pragma once

#include <cstddef>
#include <set>
#include <string>

#include "model/circuit.h"
#include "render/draw_surface.h"
#include "view/view_scale.h"

namespace kelno {

// A dry cell gets hot above this current (amperes).
inline constexpr double kLargeBatteryCurrent = 3.0;

// Whether the element is a battery whose current is larger than a dry cell takes.
bool CarriesLargeCurrent(const CircuitElement& element);

// The status bar's sentence when some battery carries a large current; empty otherwise.
std::string LargeCurrentSentence(const Circuit& circuit);

// The points, by their position in the circuit's list, that end exactly one element (two
// elements between the same two points count as two) and lie
// within the join tolerance (20 pixels at `scale`) of another point they are not joined to:
// ends that look connected and are not.
std::set<std::size_t> UnjoinedEnds(const Circuit& circuit, const ViewScale& scale);

// A small yellow warning triangle with an exclamation mark, its lower left corner at
// `corner`.
void DrawWarningSign(DrawSurface& surface, DrawPoint corner);

// The warning sign beside each point listed and beside each battery with a large current.
void DrawUnjoinedEndMarks(const Circuit& circuit, DrawSurface& surface,
                          const std::set<std::size_t>& points);
void DrawLargeCurrentMarks(const Circuit& circuit, DrawSurface& surface);

}  // namespace kelno
