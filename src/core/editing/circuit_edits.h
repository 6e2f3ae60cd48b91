#pragma once

#include <cstdint>

#include "model/circuit.h"
#include "view/logical_point.h"
#include "view/view_scale.h"

namespace kelno {

// The edits of the circuit that mouse gestures and keys make. Each acts on the circuit
// alone; undo states, analysis and repainting are the caller's. Coordinates that would
// leave int32 stop at its limits instead.

// The angle (radians) below which a drag pulls a link off the point it starts from.
inline constexpr double kDetachAngle = 0.5235983333333333;

// Places a component of `kind` with the default values, its ends 200 units left and right
// of `position` on two new points, and makes it the only selected element.
CircuitElement* PlaceComponent(Circuit& circuit, ElementKind kind, LogicalPoint position);

// Moves every element that ends at `from` over to `into`, then removes `from`. The two
// points must not be joined to each other. An element that ends up parallel to another
// between the same two points stays in the circuit.
void MergePoints(Circuit& circuit, CircuitPoint* from, CircuitPoint* into);

// Moves the point by (dx, dy).
void MovePoint(CircuitPoint& point, std::int64_t dx, std::int64_t dy);

// Moves the ends of every selected element by (dx, dy), a point shared by several of them
// once. Near the int32 limits the step is shortened so that the selection keeps its shape.
void MoveMarkedPoints(Circuit& circuit, std::int64_t dx, std::int64_t dy);

// The first step of dragging `point` (grabbed at `grabbed`) toward `position`, (dx, dy)
// away: the link of the point whose direction lies closest to the drag direction, within
// kDetachAngle, is pulled off onto a new point at `position`, which becomes the selected
// point; the grabbed point goes when it has no links left. Angles are measured from the
// +y axis and compared by their plain difference, so a link straight down and a drag down
// and slightly left differ by almost a full turn. Returns the new point, or nullptr when
// no link lies in the drag's direction.
CircuitPoint* DetachLink(Circuit& circuit, CircuitPoint* point, LogicalPoint grabbed,
                         LogicalPoint position, std::int64_t dx, std::int64_t dy);

// The link that DetachLink would pull off `point` for a drag of (dx, dy) from `grabbed`,
// or nullptr when no link lies in the drag's direction.
CircuitElement* LinkToDetach(const CircuitPoint& point, LogicalPoint grabbed, std::int64_t dx,
                             std::int64_t dy);

// For each end of `element`, the first point in list order within 10 pixels of it that is
// not that end and not already joined to it.
struct LooseEndTargets {
    CircuitPoint* forEnd1 = nullptr;
    CircuitPoint* forEnd2 = nullptr;
    bool any() const { return forEnd1 != nullptr || forEnd2 != nullptr; }
};
LooseEndTargets FindLooseEndTargets(Circuit& circuit, const CircuitElement& element,
                                    const ViewScale& scale);

// Joins each end of `element` to its loose-end target with a new wire. Returns whether a
// wire was added.
bool JoinLooseEnds(Circuit& circuit, CircuitElement* element, const ViewScale& scale);

// Moves the right-angle bend of a wire to its other corner.
void FlipWireBend(CircuitElement& wire);

// Splits a wire at `position`: a new point there ends the wire, and a new wire runs from it
// to the wire's old first end. The new point becomes the selected point, so that it can be
// dragged at once. Returns the new point.
CircuitPoint* SplitWire(Circuit& circuit, CircuitElement* wire, LogicalPoint position);

// Opens a closed switch, closes an open one.
void ToggleSwitch(CircuitElement& element);

}  // namespace kelno
