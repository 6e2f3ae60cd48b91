#pragma once

#include <QCursor>

#include "model/tool.h"

namespace kelno {

// The mouse cursor of a tool (`currentTool`): the standard arrow for the selection tool; for
// the wire and the components a 32 x 32 black-and-white pointer with a small picture of the
// tool, whose hot spot is the pointer's tip. The tool table gives the hot spots.
QCursor ToolCursor(Tool tool);

}  // namespace kelno
