#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/element_kind.h"

namespace kelno {

// Whether an element of `kind` may take `resistance` from the details dialog. A resistance
// below zero would make the element give out power (a bulb drawn glowing while it drives
// the circuit), so only a switch, whose resistance is its open flag, takes one.
bool DetailsResistanceAllowed(ElementKind kind, double resistance);
bool NegativeResistanceAllowed(ElementKind kind);

// A box of the details dialog read as a number: full-width digits, signs, point, exponent
// letter and blanks, as a Japanese input method types them ("２０", "－１．５"), count as
// their half-width forms; then the number rule of ParseDetailsNumber. The text is UTF-8.
std::optional<double> ParseDetailsInput(std::string_view text);

// The text with the full-width forms above (and the minus sign U+2212) replaced by their
// ASCII forms; every other character stays as it is.
std::string HalfWidthNumberText(std::string_view text);

}  // namespace kelno
