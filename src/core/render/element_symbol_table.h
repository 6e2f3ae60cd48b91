#pragma once

#include <span>

#include "model/circuit_element.h"
#include "render/draw_surface.h"
#include "render/element_frame.h"

namespace kelno {

// The picture of one kind of component: how it is drawn over its lead line, and the area
// it covers (top above bottom), which a highlight patch reaches beyond.
struct ElementSymbol {
    ElementKind kind = ElementKind::Wire;
    void (*draw)(const CircuitElement& element, DrawSurface& surface, const ElementFrame& frame,
                 bool hideReadings) = nullptr;
    DrawRect (*area)(const ElementFrame& frame) = nullptr;
};

// One row per component kind of the catalogue, in code order. Wires have no symbol.
std::span<const ElementSymbol> ElementSymbols();

// The symbol of a kind; none for a wire or a code beyond the catalogue, drawn as a bare line.
const ElementSymbol* FindElementSymbol(ElementKind kind);

}  // namespace kelno
