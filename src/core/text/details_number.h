#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelno {

// The number rule of the details dialog's boxes. Only the first 31 characters of the text
// count (the box held no more); blanks and tabs may stand around one decimal number in the
// classic locale (sign, digits, point, exponent). A text that reads as zero must begin with
// the digit 0, so that an empty box, "-0" or ".0" are refused rather than taken as zero.
// Values that are not finite ("1e999") are refused: they would poison the analysis.
// Nothing when the text is refused.
std::optional<double> ParseDetailsNumber(std::string_view text);

// A value as the dialog shows it: 15 significant digits, "%.15g" in the classic locale.
std::string FormatDetailsNumber(double value);

// The current as the dialog shows it: its magnitude truncated toward zero to five decimal
// places (0.0123456 shows as 0.01234, -0.5 as 0.5).
double DetailsCurrent(double current);

}  // namespace kelno
