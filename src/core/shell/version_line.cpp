#include "shell/version_line.h"

namespace kelno {

std::string VersionLine(std::int32_t formatVersion) {
    const std::int32_t hundredths = formatVersion % 100;
    return "Kelno Version " + std::to_string(formatVersion / 100) + "." +
           (hundredths < 10 ? "0" : "") + std::to_string(hundredths);
}

}  // namespace kelno
