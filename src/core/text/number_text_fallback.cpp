// The conversions of number_text.h through the C library's printf and strtod, for C++
// libraries that cannot convert doubles with std::to_chars and std::from_chars. printf and
// strtod are exact in both directions; what they lack is the shortest round-trip form and
// from_chars's grammar, which are built here on top of them.
#include <locale.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>
#include <string>

#include "text/number_text.h"

namespace kelno::fallback {

namespace {

// Switches this thread to the classic locale's numbers while it lives: the window layer
// runs in the user's locale, whose decimal mark may be a comma.
class ClassicNumbers {
public:
    ClassicNumbers() : previous_(uselocale(Classic())) {}
    ~ClassicNumbers() { uselocale(previous_); }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    static locale_t Classic() {
        static const locale_t classic = newlocale(LC_NUMERIC_MASK, "C", locale_t{});
        return classic;
    }
    locale_t previous_;
};

template <class... Args>
std::string Printed(const char* format, Args... args) {
    const ClassicNumbers classic;
    char small[64];
    const int length = std::snprintf(small, sizeof small, format, args...);
    if (length < static_cast<int>(sizeof small)) {
        return std::string(small, static_cast<std::size_t>(length));
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');  // "%f" of a huge value
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

double ReadBack(const std::string& text) {
    const ClassicNumbers classic;
    return std::strtod(text.c_str(), nullptr);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWithIgnoringCase(const char* first, const char* last, std::string_view word) {
    if (static_cast<std::size_t>(last - first) < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = first[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != word[i]) {
            return false;
        }
    }
    return true;
}

// The decimal digits `mantissa` times 10^`scale` (the shortest that read back as `value`),
// written as std::to_chars writes its shortest form: fixed or scientific, whichever is
// shorter, fixed when they tie. A whole number in fixed form shows all its exact digits.
std::string ShortestLayout(double value, std::uint64_t mantissa, int scale) {
    while (mantissa % 10 == 0) {
        mantissa /= 10;
        ++scale;
    }
    const std::string digits = std::to_string(mantissa);
    const int count = static_cast<int>(digits.size());
    const int exponent = scale + count - 1;

    std::string scientific = digits.substr(0, 1);
    if (count > 1) {
        scientific += '.';
        scientific += digits.substr(1);
    }
    const int absolute = exponent < 0 ? -exponent : exponent;
    scientific += exponent < 0 ? "e-" : "e+";
    scientific += (absolute < 10 ? "0" : "") + std::to_string(absolute);

    std::string fixed;
    if (scale >= 0) {
        fixed = Printed("%.0f", value);
    } else if (exponent >= 0) {
        fixed = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + '.' +
                digits.substr(static_cast<std::size_t>(exponent) + 1);
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return fixed.size() <= scientific.size() ? fixed : scientific;
}

}  // namespace

std::string FormatGeneral(double value, int precision) {
    return Printed("%.*g", precision, value);
}

std::string FormatFixed(double value, int decimals) {
    return Printed("%.*f", decimals, value);
}

std::string ShortestRoundTrip(double value) {
    if (std::isnan(value)) {
        return std::signbit(value) ? "-nan" : "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    if (value == 0.0) {
        return std::signbit(value) ? "-0" : "0";
    }
    const std::string sign = value < 0 ? "-" : "";
    const double magnitude = std::fabs(value);
    // For each number of digits, the two decimals of that many digits around the value are
    // the nearest one (printf's rounding) and its neighbour on the value's other side; the
    // shortest form is the nearest of these that reads back as the value. A number of
    // digits that works keeps working with one more, so the search halves the range.
    const auto readsBack = [magnitude](int digits) -> std::optional<std::pair<std::uint64_t, int>> {
        const std::string nearest = Printed("%.*e", digits - 1, magnitude);
        const std::size_t e = nearest.find('e');
        std::uint64_t mantissa = 0;
        for (std::size_t i = 0; i < e; ++i) {
            if (IsDigit(nearest[i])) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(nearest[i] - '0');
            }
        }
        const int scale = std::atoi(nearest.c_str() + e + 1) - (digits - 1);
        const auto valueOf = [scale](std::uint64_t m) {
            return ReadBack(std::to_string(m) + "e" + std::to_string(scale));
        };
        const double back = valueOf(mantissa);
        if (back == magnitude) {
            return std::pair(mantissa, scale);
        }
        const std::uint64_t other = back > magnitude ? mantissa - 1 : mantissa + 1;
        if (other != 0 && valueOf(other) == magnitude) {
            return std::pair(other, scale);
        }
        return std::nullopt;
    };
    int fewest = 1;
    int most = 17;  // 17 significant digits always read back
    while (fewest < most) {
        const int middle = (fewest + most) / 2;
        if (readsBack(middle)) {
            most = middle;
        } else {
            fewest = middle + 1;
        }
    }
    const auto [mantissa, scale] = *readsBack(fewest);
    return sign + ShortestLayout(magnitude, mantissa, scale);
}

std::from_chars_result ParseDouble(const char* first, const char* last, double& value) {
    const char* at = first;
    const bool negative = at != last && *at == '-';
    if (negative) {
        ++at;
    }
    if (StartsWithIgnoringCase(at, last, "inf")) {
        at += StartsWithIgnoringCase(at, last, "infinity") ? 8 : 3;
        value = negative ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::infinity();
        return {at, std::errc()};
    }
    if (StartsWithIgnoringCase(at, last, "nan")) {
        at += 3;
        if (at != last && *at == '(') {
            const char* close = at + 1;
            while (close != last && (IsDigit(*close) || *close == '_' ||
                                     (*close >= 'a' && *close <= 'z') ||
                                     (*close >= 'A' && *close <= 'Z'))) {
                ++close;
            }
            if (close != last && *close == ')') {
                at = close + 1;
            }
        }
        value = std::copysign(std::numeric_limits<double>::quiet_NaN(), negative ? -1.0 : 1.0);
        return {at, std::errc()};
    }
    bool nonZeroDigit = false;
    std::size_t digits = 0;
    const auto takeDigits = [&] {
        while (at != last && IsDigit(*at)) {
            nonZeroDigit = nonZeroDigit || *at != '0';
            ++digits;
            ++at;
        }
    };
    takeDigits();
    if (at != last && *at == '.') {
        ++at;
        takeDigits();
    }
    if (digits == 0) {
        return {first, std::errc::invalid_argument};
    }
    if (at != last && (*at == 'e' || *at == 'E')) {
        const char* exponent = at + 1;
        if (exponent != last && (*exponent == '+' || *exponent == '-')) {
            ++exponent;
        }
        if (exponent != last && IsDigit(*exponent)) {
            while (exponent != last && IsDigit(*exponent)) {
                ++exponent;
            }
            at = exponent;
        }
    }
    const double read = ReadBack(std::string(first, at));
    if (std::isinf(read) || (read == 0.0 && nonZeroDigit)) {
        return {at, std::errc::result_out_of_range};
    }
    value = read;
    return {at, std::errc()};
}

}  // namespace kelno::fallback
