#pragma once

#include <string>

namespace kelno {

// The shortest decimal text that reads back to exactly the same double ("0.1", "15",
// "1e+06"); "inf", "-inf" or "nan" for values that are not finite.
std::string ShortestRoundTrip(double value);

// The value as printf's "%.<precision>g" writes it in the classic locale ("1.07", "1e+06"),
// whatever locale the process runs in.
std::string FormatGeneral(double value, int precision = 6);

}  // namespace kelno
