#pragma once

#include <cstdint>

namespace kelno {

// The code of an element's kind. The same numbers are stored in .kel files and in
// clipboard text and, for 0 to 6, stand for the tools that place them where a tool needs a
// number (ToolCode). Files may hold any 32-bit value; every value at or below 0 is a wire.
enum class ElementKind : std::int32_t {
    WireVerticalFirst = -1,  // wire whose right-angle bend lies at (end1.x, end2.y)
    Wire = 0,                // wire whose right-angle bend lies at (end2.x, end1.y)
    Battery = 1,
    Resistor = 2,
    Ammeter = 3,
    Voltmeter = 4,
    Bulb = 5,
    Switch = 6,
};

constexpr std::int32_t KindCode(ElementKind kind) {
    return static_cast<std::int32_t>(kind);
}
constexpr ElementKind KindFromCode(std::int32_t code) {
    return static_cast<ElementKind>(code);
}
constexpr bool IsWire(ElementKind kind) {
    return KindCode(kind) <= 0;
}

// The values an element carries besides its two ends. A record is what AddElement copies
// into a new element, and what files and clipboard text hold for one.
struct ElementRecord {
    ElementKind kind = ElementKind::Wire;
    std::int32_t serial = 0;
    double resistance = 0.0;  // ohms; for a switch the open flag (0.0 = closed)
    double current = 0.0;     // amperes, positive from end1 to end2
    double emf = 0.0;         // volts, positive drives current from end1 to end2
};

// The values of an element newly placed with a tool, or of a wire drawn or split.
// Codes outside 1 to 6 get the values of a wire.
ElementRecord DefaultRecord(ElementKind kind);

}  // namespace kelno
