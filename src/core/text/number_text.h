#pragma once

#include <string>

namespace kelno {

// The shortest decimal text that reads back to exactly the same double ("0.1", "15",
// "1e+06"); "inf", "-inf" or "nan" for values that are not finite.
std::string ShortestRoundTrip(double value);

}  // namespace kelno
