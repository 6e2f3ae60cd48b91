#include "render/format_value.h"

#include <charconv>
#include <cmath>

namespace kelno {

namespace {

// "%.1f" in the classic locale, whatever locale the process has set: the window layer
// switches to the user's locale, which may use a decimal comma. The largest double has 309
// digits before the point.
std::string OneDecimal(double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return std::string(buffer, result.ptr);
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

std::string FormatElementSummary(const CircuitElement& element) {
    const double power = element.current * element.resistance * element.current;
    std::string text(ElementDisplayName(element.kind));
    text += ": ";
    text += FormatValue(element.resistance, "Ω   ");
    text += FormatValue(element.emf, "V   ");
    text += FormatValue(std::fabs(element.current), "A   ");
    text += FormatValue(power, "W   ");
    text += FormatValue(0.24 * power, "cal/sec");
    return text;
}

}  // namespace kelno
