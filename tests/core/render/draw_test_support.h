#pragma once

#include <cstdint>

#include "core/render/recording_surface.h"
#include "model/circuit.h"
#include "render/draw_circuit.h"

namespace kelno::testing {

struct OneElement {
    ElementKind kind = ElementKind::Wire;
    DrawPoint end1;
    DrawPoint end2;
    double resistance = 0.0;
    double emf = 0.0;
    double current = 0.0;
};

inline DrawSettings Settings(bool showCurrentFlow, bool noDiagonalWires = false) {
    DrawSettings settings;
    settings.showCurrentFlow = showCurrentFlow;
    settings.noDiagonalWires = noDiagonalWires;
    return settings;
}

// Draws a circuit of one element (and its two points) and returns what was drawn. The arrows
// of the current are off unless the settings say otherwise.
inline RecordingSurface DrawOne(const OneElement& e, DrawSettings settings = Settings(false)) {
    Circuit circuit;
    ElementRecord record = DefaultRecord(e.kind);
    record.resistance = e.resistance;
    record.emf = e.emf;
    record.current = e.current;
    circuit.AddElement(record,
                       circuit.AddPoint(0, static_cast<std::int32_t>(e.end1.x),
                                        static_cast<std::int32_t>(e.end1.y)),
                       circuit.AddPoint(1, static_cast<std::int32_t>(e.end2.x),
                                        static_cast<std::int32_t>(e.end2.y)));
    RecordingSurface surface;
    DrawCircuit(circuit, surface, settings);
    return surface;
}

}  // namespace kelno::testing
