#pragma once

#include <span>
#include <string_view>

#include "model/element_kind.h"
#include "model/tool.h"

namespace kelno {

// What an element does in a circuit, as the sentences about a short speak of it.
enum class ElementRole { Wire, Source, Load, Meter, Switch };

// Everything the program knows about one kind of element apart from its picture.
struct ElementKindInfo {
    ElementKind kind = ElementKind::Wire;
    ElementRole role = ElementRole::Wire;
    double resistance = 0.0;    // of a newly placed element, ohms
    double emf = 0.0;           // of a newly placed element, volts
    std::string_view name;      // as the status-bar summary and the short sentence say it
    std::string_view fullName;  // as kelno-cli's element list says it
    Tool tool = Tool::Wire;     // the tool that places elements of the kind
};

// One row per kind, in code order: the wire (for both wire codes), then 1 to 6.
std::span<const ElementKindInfo> ElementCatalogue();

// The row of a kind, the wire's for every code at or below 0; none for codes beyond
// the switch, which only a foreign file can hold.
const ElementKindInfo* FindKindInfo(ElementKind kind);

// The row whose name is shown for a kind: codes beyond the switch are folded modulo 7,
// as the summary has always shown them.
const ElementKindInfo& DisplayedKindInfo(ElementKind kind);

// A component tool's kind: one of the catalogue's kinds that is not a wire.
bool IsComponentKind(ElementKind kind);

}  // namespace kelno
