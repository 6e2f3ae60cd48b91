#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelno {

// Reads a whole file. On failure returns false and puts a message for the user into `error`.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);

// Writes a whole file so that it is either replaced completely or not touched at all: the
// bytes go to a new file beside the target, which is renamed over the target only once
// everything has been written and flushed. On failure returns false with a message in
// `error`; the old file, if any, is as it was.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error);

}  // namespace kelno
