#pragma once

#include <cstdint>
#include <string>

#include "model/circuit.h"
#include "model/tool.h"

namespace kelno {

// What a press of the left button at some spot would do with the current tool: the answer
// the editor shows while the mouse hovers, before anything happens.
enum class PressAction {
    MovePoint,        // grab the point and drag it
    StartWire,        // draw a wire from the point (a press on its rim)
    DetachLink,       // pull one link off the point (a press and a pull in that link's direction)
    SelectElement,    // select the element (and let a drag move the selection)
    DeselectElement,  // shift-press on a selected element: take it out of the selection
    PlaceComponent,   // place a component of the current tool here
    SelectArea,       // draw a rectangle that selects the elements inside it
};

// The answer, with the point, link or element concerned. Pointers are into the live
// circuit as it stood when asked and are only good until it next changes.
struct PressPreview {
    PressAction action = PressAction::SelectArea;
    const CircuitPoint* point = nullptr;      // the point grabbed, drawn from or pulled from
    const CircuitElement* link = nullptr;     // the link a pull takes off `point`
    const CircuitElement* element = nullptr;  // the element selected or deselected
    bool operator==(const PressPreview&) const = default;
};

// The status bar's prompt for an action (UTF-8); `tool` names the component placed.
std::string PressPrompt(PressAction action, Tool tool);

// The prompts while a wire or a point is dragged: what letting go here does.
std::string WireReleasePrompt(bool joins);
std::string PointReleasePrompt(bool joins);

}  // namespace kelno
