#pragma once

#include <QCursor>

namespace kelno {

// The mouse cursor of a tool (`currentTool`): the standard arrow for the selection tool (-1)
// and any unknown tool; for the wire (0) and the components (1 battery, 2 resistor,
// 3 ammeter, 4 voltmeter, 5 bulb, 6 switch) a 32 x 32 black-and-white pointer with a small
// picture of the tool, whose hot spot is the pointer's tip.
QCursor ToolCursor(int tool);

}  // namespace kelno
