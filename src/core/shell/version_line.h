#pragma once

#include <cstdint>
#include <string>

namespace kelno {

// The About box's version line: "Kelno Version 1.06" for the format version 106. The
// digits are written the same in every locale.
std::string VersionLine(std::int32_t formatVersion);

}  // namespace kelno
