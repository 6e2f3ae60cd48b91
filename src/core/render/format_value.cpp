#include "render/format_value.h"

#include <algorithm>
#include <cmath>

#include "numeric/portable_math.h"
#include "text/number_text.h"

namespace kelno {

namespace {

constexpr int kMaxPotentialDecimals = 3;
constexpr double kZeroPotential = 1e-4;

// "%.1f" in the classic locale, whatever locale the process has set: the window layer
// switches to the user's locale, which may use a decimal comma.
std::string OneDecimal(double value) {
    return FormatFixed(value, 1);
}

std::string Join(double number, std::string_view prefix, std::string_view unit) {
    std::string text = OneDecimal(number);
    text += ' ';
    text += prefix;
    text += unit;
    return text;
}

}  // namespace

std::string FormatValue(double value, std::string_view unit) {
    if (value != 0.0 && value < 0.5) {
        return Join(value * 1000.0, "m", unit);
    }
    if (value > 500.0) {
        return Join(value * 0.001, "k", unit);
    }
    return Join(value, "", unit);
}

std::string_view ElementDisplayName(ElementKind kind) {
    static constexpr std::string_view kNames[] = {"導線",   "電池", "抵抗",    "電流計",
                                                  "電圧計", "電球", "スイッチ"};
    const std::int32_t code = KindCode(kind);
    return code <= 0 ? kNames[0] : kNames[code % 7];
}

std::string FormatElementSummaryWithoutReadings(const CircuitElement& element) {
    std::string text(ElementDisplayName(element.kind));
    text += ": ";
    text += FormatValue(element.resistance, "Ω   ");
    text += FormatValue(element.emf, "V");
    return text;
}

std::string FormatElementSummary(const CircuitElement& element) {
    const double power = element.current * element.resistance * element.current;
    std::string text = FormatElementSummaryWithoutReadings(element);
    text += "   ";
    text += FormatValue(std::fabs(element.current), "A   ");
    text += FormatValue(power, "W   ");
    text += FormatValue(0.24 * power, "cal/sec");
    return text;
}

std::string FormatPotential(double volts) {
    if (!std::isfinite(volts)) {
        return "? V";
    }
    // Below half a millivolt every label reads zero. (Deep among the subnormal doubles the
    // rounding below would divide by a step that underflows to zero.)
    if (std::fabs(volts) < kZeroPotential) {
        return "0.00 V";
    }
    // Rounded to three significant digits first: 9.996 becomes 10.0, not 10.00.
    // The decade and its powers come from exact comparisons rather than log10 and pow,
    // whose last bits differ between C libraries.
    int exponent = volts == 0.0 ? 0 : DecimalExponent(std::fabs(volts));
    const double step = PowerOfTen(exponent - 2);
    const double rounded = std::round(volts / step) * step;
    if (std::fabs(rounded) >= PowerOfTen(exponent + 1)) {
        ++exponent;
    }
    // Below 0.1 V the last digit shown is the millivolt: smaller differences are the
    // analysis' own rounding, not something a pupil should read.
    const int decimals = std::clamp(2 - exponent, 0, kMaxPotentialDecimals);
    std::string text = FormatFixed(rounded, decimals);
    if (text.find_first_not_of("-0.") == std::string::npos) {
        text = "0.00";  // no "-0.000" for a value that rounds away
    }
    return text + " V";
}

}  // namespace kelno
