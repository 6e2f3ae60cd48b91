#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model/element_kind.h"

namespace kelno {

// The editing tools: the selection tool, the wire tool and one tool per component kind.
// Which kind a tool places is the element catalogue's business (ElementKindInfo::tool).
enum class Tool : std::uint8_t {
    Selection,
    Wire,
    Battery,
    Resistor,
    Ammeter,
    Voltmeter,
    Bulb,
    Switch,
};

// Every tool, in the order of the enumeration.
inline constexpr std::array kAllTools{Tool::Selection, Tool::Wire,    Tool::Battery,
                                      Tool::Resistor,  Tool::Ammeter, Tool::Voltmeter,
                                      Tool::Bulb,      Tool::Switch};
static_assert(static_cast<std::size_t>(kAllTools.back()) + 1 == kAllTools.size(),
              "kAllTools lists every tool");

// The kind an element placed with a tool has: the wire's for the wire tool, none for the
// selection tool.
std::optional<ElementKind> KindOfTool(Tool tool);

// The tool that places elements of a kind: the wire tool for both wire codes, none for
// codes beyond the catalogue.
std::optional<Tool> ToolOfKind(ElementKind kind);

// A tool that places a component where the mouse is pressed.
bool IsComponentTool(Tool tool);

// The number of a tool where a number has to stand for it (the web page's interface):
// -1 for the selection tool, otherwise the code of the kind the tool places.
std::int32_t ToolCode(Tool tool);
// The tool of such a number; none for a number that is no tool's.
std::optional<Tool> ToolFromCode(std::int32_t code);

}  // namespace kelno
