#pragma once

#include <QCursor>

#include "editing/press_preview.h"

namespace kelno {

// The mouse cursor that tells what a press would do, with `tool` the current tool: a
// four-headed arrow to move a point, the wire tool's cursor to draw a wire from a point, a
// pointer with a link pulled off a point to take that link off, a pointer with an element's
// box to select (or, with a bar in it, to deselect) an element, and the tool's own cursor to
// place a component or to draw a selection rectangle. Drawn in black and white, 32 x 32,
// like the tool cursors.
QCursor ActionCursor(PressAction action, Tool tool);

}  // namespace kelno
