#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelno::cli {

// The tool's files. On a desktop these are the editor's own safe reads and writes; under
// node (the WebAssembly build) they are plain reads and writes of the real files.
// On failure both return false with a message that names the file and the reason.
bool ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);
bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes,
                     std::string& error);

}  // namespace kelno::cli
