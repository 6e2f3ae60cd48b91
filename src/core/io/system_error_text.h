#pragma once

#include <string>

namespace kelno {

// Why a call of the operating system failed, for the user, in Japanese: the usual reasons
// of file operations (no permission, disk full, file too large, missing folder …) in
// words; any other error number with the system's own text.
std::string SystemErrorText(int errorNumber);

}  // namespace kelno
