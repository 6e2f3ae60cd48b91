// Files for the tool under node, where the WebAssembly module reaches the real file
// system directly: a plain read, and a write that replaces the file.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "cli_files.h"
#include "io/file_bytes.h"  // the size limit alone

namespace kelno::cli {

namespace {

std::string Reason() {
    return errno != 0 ? std::string(std::strerror(errno)) : std::string("入出力の誤り");
}

}  // namespace

bool ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": ﾌｧｲﾙを開けません (" + Reason() + ")";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = path + ": ﾌｧｲﾙを読めません (" + Reason() + ")";
        return false;
    }
    if (bytes.size() > kMaxReadableFileSize) {
        error = path + ": ﾌｧｲﾙが大きすぎます";
        return false;
    }
    return true;
}

bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes,
                     std::string& error) {
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        error = path + ": ﾌｧｲﾙに書き込めません (" + Reason() + ")";
        return false;
    }
    return true;
}

}  // namespace kelno::cli
