#pragma once

#include <string>
#include <string_view>

#include "model/circuit_element.h"
#include "model/element_kind.h"

namespace kelno {

// The one number formatter of the program: one decimal, with "m" below 0.5 (zero excepted)
// and "k" above 500, so 0.4999 V is "499.9 mV" and 500.01 V is "0.5 kV". A negative value
// always takes the milli form; callers that label a magnitude pass it positive. Accepts every
// double; the text is the caller's own and as long as the value needs.
std::string FormatValue(double value, std::string_view unit);

// The name shown for an element kind: "導線" for every wire, otherwise entry (code mod 7) of
// 導線, 電池, 抵抗, 電流計, 電圧計, 電球, スイッチ.
std::string_view ElementDisplayName(ElementKind kind);

// The status-bar line for a clicked element: its name, then resistance, emf, the magnitude
// of the current, the power and the heat in cal/sec, the same five fields for every kind.
std::string FormatElementSummary(const CircuitElement& element);

// The same line while the readings are hidden for pupils to predict them: the name, the
// resistance and the emf, nothing that follows from the analysis.
std::string FormatElementSummaryWithoutReadings(const CircuitElement& element);

// A point's potential with three significant digits and at most three decimals: "1.50 V",
// "-0.294 V", "12.0 V", "1230 V", "0.015 V"; a value that rounds to nothing is "0.00 V".
std::string FormatPotential(double volts);

}  // namespace kelno
