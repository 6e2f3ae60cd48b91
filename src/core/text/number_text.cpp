#include "text/number_text.h"

#include <version>

namespace kelno {

// The one place that asks which conversions the C++ library has.
#if defined(__cpp_lib_to_chars)

std::string ShortestRoundTrip(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatGeneral(double value, int precision) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    return std::string(buffer, result.ptr);
}

std::string FormatFixed(double value, int decimals) {
    // The largest double has 309 digits before the point.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::from_chars_result ParseDouble(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::general);
}

#else

std::string ShortestRoundTrip(double value) {
    return fallback::ShortestRoundTrip(value);
}

std::string FormatGeneral(double value, int precision) {
    return fallback::FormatGeneral(value, precision);
}

std::string FormatFixed(double value, int decimals) {
    return fallback::FormatFixed(value, decimals);
}

std::from_chars_result ParseDouble(const char* first, const char* last, double& value) {
    return fallback::ParseDouble(first, last, value);
}

#endif

}  // namespace kelno
