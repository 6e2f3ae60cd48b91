#include "io/in_place_copy.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "io/file_bytes.h"

namespace kelno {

namespace {

namespace fs = std::filesystem;

// A copy starts with this line and the file's absolute path on the next, so that it is
// never taken for the copy of another file.
constexpr std::string_view kHeader = "Kelno in-place copy\n";

// The absolute path of the file itself, links followed, as both the save and the open see it.
std::string Identity(const std::string& path) {
    std::error_code failure;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, failure), failure);
    return failure ? fs::absolute(path).lexically_normal().string() : resolved.string();
}

// 64-bit FNV-1a: a short, fixed-length name for any path.
std::uint64_t NameHash(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    return hash;
}

std::vector<std::uint8_t> Header(const std::string& identity) {
    std::string text(kHeader);
    text += identity;
    text += '\n';
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace

std::string InPlaceCopy::Folder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return std::string(state) + "/Kelno";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/Kelno";
}

std::string InPlaceCopy::PathFor(const std::string& path) {
    char name[40];
    std::snprintf(name, sizeof name, "%016llx.kel-copy",
                  static_cast<unsigned long long>(NameHash(Identity(path))));
    return Folder() + "/" + name;
}

int InPlaceCopy::Keep(const std::string& path, std::span<const std::uint8_t> oldBytes) {
    std::error_code failure;
    if (fs::create_directories(Folder(), failure)) {
        fs::permissions(Folder(), fs::perms::owner_all, failure);
    }
    if (failure) {
        return failure.value();
    }
    std::vector<std::uint8_t> bytes = Header(Identity(path));
    bytes.insert(bytes.end(), oldBytes.begin(), oldBytes.end());
    // The copy goes through a new file renamed into place, and is flushed before the
    // original is touched.
    return ReplaceFileDurably(PathFor(path), bytes);
}

void InPlaceCopy::Forget(const std::string& path) {
    std::error_code ignored;
    fs::remove(PathFor(path), ignored);
}

std::optional<std::vector<std::uint8_t>> InPlaceCopy::Find(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    const std::string copy = PathFor(path);
    std::error_code failure;
    if (!fs::exists(copy, failure) || !ReadFileBytes(copy, bytes, error)) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> header = Header(Identity(path));
    if (bytes.size() < header.size() || !std::equal(header.begin(), header.end(), bytes.begin())) {
        return std::nullopt;
    }
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(header.size()));
    return bytes;
}

}  // namespace kelno
