#include "render/element_symbol_table.h"

#include <array>

#include "render/element_symbols.h"

namespace kelno {

namespace {

void DrawResistorSymbol(const CircuitElement& element, DrawSurface& surface,
                        const ElementFrame& frame, bool /*hideReadings*/) {
    DrawResistor(element, surface, frame);
}

void DrawSwitchSymbol(const CircuitElement& element, DrawSurface& surface,
                      const ElementFrame& frame, bool /*hideReadings*/) {
    DrawSwitch(element, surface, frame);
}

DrawRect BatteryArea(const ElementFrame& f) {
    // The positive terminal reaches 32 units beyond the box on either side.
    constexpr std::int64_t kTerminal = 32;
    return {f.cx - f.hw - kTerminal, f.cy + f.hh + kTerminal, f.cx + f.hw + kTerminal,
            f.cy - f.hh - kTerminal};
}

DrawRect BoxArea(const ElementFrame& f) {
    return {f.cx - f.hw, f.cy + f.hh, f.cx + f.hw, f.cy - f.hh};
}

DrawRect MeterArea(const ElementFrame& f) {
    return {f.cx - 64, f.cy + 64, f.cx + 64, f.cy - 64};
}

DrawRect BulbArea(const ElementFrame& f) {
    return {f.cx - 48, f.cy + 120, f.cx + 48, f.cy - 40};
}

DrawRect SwitchArea(const ElementFrame& f) {
    return {f.cx - 80, f.cy + 48, f.cx + 80, f.cy - 48};
}

const std::array<ElementSymbol, 6> kSymbols{{
    {ElementKind::Battery, DrawBattery, BatteryArea},
    {ElementKind::Resistor, DrawResistorSymbol, BoxArea},
    {ElementKind::Ammeter, DrawMeter, MeterArea},
    {ElementKind::Voltmeter, DrawMeter, MeterArea},
    {ElementKind::Bulb, DrawBulb, BulbArea},
    {ElementKind::Switch, DrawSwitchSymbol, SwitchArea},
}};

}  // namespace

std::span<const ElementSymbol> ElementSymbols() {
    return kSymbols;
}

const ElementSymbol* FindElementSymbol(ElementKind kind) {
    for (const ElementSymbol& symbol : kSymbols) {
        if (symbol.kind == kind) {
            return &symbol;
        }
    }
    return nullptr;
}

}  // namespace kelno
