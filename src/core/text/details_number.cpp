#include "text/details_number.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>

#include "text/number_text.h"

namespace kelno {

namespace {

constexpr std::size_t kBoxCharacters = 31;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return at;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return at;
}

// The length of the decimal number that begins at `at`, as the C library's strtod reads it
// without hexadecimal, infinity or NaN: sign, digits with an optional point (at least one
// digit), then an exponent only if it has digits. 0 when no number begins there.
std::size_t NumberLength(std::string_view text, std::size_t at) {
    std::size_t end = at;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
        ++end;
    }
    const std::size_t wholeEnd = SkipDigits(text, end);
    std::size_t digits = wholeEnd - end;
    end = wholeEnd;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, end + 1);
        digits += fractionEnd - (end + 1);
        end = fractionEnd;
    }
    if (digits == 0) {
        return 0;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) {
            end = exponentEnd;
        }
    }
    return end - at;
}

// Converts a number that NumberLength accepted; nothing when it lies beyond a double.
std::optional<double> ConvertNumber(std::string_view number) {
    // from_chars takes a minus sign but no plus sign.
    if (number.front() == '+') {
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = ParseDouble(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<double> ParseDetailsNumber(std::string_view text) {
    // Counted in bytes: any character outside ASCII refuses the text wherever it stands, so
    // bytes and characters cut the same numbers.
    text = text.substr(0, kBoxCharacters);
    const std::size_t start = SkipBlanks(text, 0);
    const std::size_t length = NumberLength(text, start);
    if (length == 0) {
        return std::nullopt;  // reads as zero without beginning with the digit 0
    }
    const std::optional<double> value = ConvertNumber(text.substr(start, length));
    if (!value || (*value == 0.0 && text[start] != '0')) {
        return std::nullopt;
    }
    if (SkipBlanks(text, start + length) != text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string FormatDetailsNumber(double value) {
    return FormatGeneral(value, 15);
}

double DetailsCurrent(double current) {
    // In doubles throughout: a huge current must not overflow an integer on the way.
    return std::trunc(std::fabs(current) * 100000.0) * 0.00001;
}

}  // namespace kelno
