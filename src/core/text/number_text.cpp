#include "text/number_text.h"

#include <charconv>

namespace kelno {

std::string ShortestRoundTrip(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace kelno
