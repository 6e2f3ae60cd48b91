#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelno {

// The largest file the program reads. Documents of a classroom are a few kilobytes; the
// bound keeps a wrong choice (a disk image, a device that never ends) from filling memory.
inline constexpr std::size_t kMaxReadableFileSize = std::size_t{64} << 20;

// Reads a whole file. On failure returns false and puts a message for the user into `error`.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);

// Writes a whole file without ever harming the one it replaces. The bytes go to a new file
// beside the target that takes over the old file's permission bits (and its group, where
// the user may set it) and is renamed over the target only once everything has been
// written and flushed: the target then holds either the old content or the new, whole.
// A symbolic link is followed: its target is replaced and the link stays. When no new file
// can be made beside the target (a folder the user may not write in), or replacing it would
// take the file from its owner, the target is overwritten in place, after the room for the
// new bytes has been reserved, so that a full disk fails before the old content is
// touched. A device or pipe is written directly. On failure returns false with a message
// in `error` that names the file and the reason.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error);

}  // namespace kelno
