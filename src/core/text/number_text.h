#pragma once

#include <charconv>
#include <string>

namespace kelno {

// Numbers as text in the classic locale, whatever locale the process runs in, the same on
// every toolchain. Where the C++ library converts doubles itself (std::to_chars and
// std::from_chars) these use it; elsewhere (the WebAssembly toolchain's library has
// neither for doubles) the fallback below gives the very same text and the same doubles.

// The shortest decimal text that reads back to exactly the same double ("0.1", "15",
// "1e+06"); "inf", "-inf" or "nan" for values that are not finite.
std::string ShortestRoundTrip(double value);

// The value as printf's "%.<precision>g" writes it in the classic locale ("1.07", "1e+06").
std::string FormatGeneral(double value, int precision = 6);

// The value as printf's "%.<decimals>f" writes it in the classic locale ("0.5", "-12.000").
std::string FormatFixed(double value, int decimals);

// Reads a decimal number at the start of [first, last) as std::from_chars does in its
// general format: an optional minus sign (no plus, no blanks), digits with an optional
// point and exponent, or "inf", "infinity", "nan"; correctly rounded. A value beyond the
// doubles, or one that rounds to zero from non-zero digits, is result_out_of_range.
std::from_chars_result ParseDouble(const char* first, const char* last, double& value);

// The same conversions done with the C library's printf and strtod. Always built, so that
// the native tests can prove them equal to the C++ library's on millions of values.
namespace fallback {
std::string ShortestRoundTrip(double value);
std::string FormatGeneral(double value, int precision);
std::string FormatFixed(double value, int decimals);
std::from_chars_result ParseDouble(const char* first, const char* last, double& value);
}  // namespace fallback

}  // namespace kelno
