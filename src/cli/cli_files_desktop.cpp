#include "cli_files.h"

#include "io/file_bytes.h"

namespace kelno::cli {

bool ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    return ReadFileBytes(path, bytes, error);
}

bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes,
                     std::string& error) {
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace kelno::cli
