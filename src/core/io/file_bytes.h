#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelno {

// The largest file the program reads. Documents of a classroom are a few kilobytes; the
// bound keeps a wrong choice (a disk image) from filling memory, and keeps loading and
// analysing any file it lets through under 400 MB: a point costs some 170 bytes in memory
// for the 8 it takes in a file, so 2 million lone points, the most 16 MB can hold, come
// to some 360 MB.
inline constexpr std::size_t kMaxReadableFileSize = std::size_t{16} << 20;

// True when `path` names a regular file (after links) or nothing at all; false for a pipe,
// a device, a socket or a folder, which a reader could wait on for ever. Never blocks.
bool IsRegularFileOrMissing(const std::string& path);

// Reads a whole regular file; anything else (a pipe, a device) is refused without waiting
// for it. On failure returns false and puts a message for the user into `error`.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);

// Writes a whole file without ever harming the one it replaces. The bytes go to a new file
// beside the target that takes over the old file's permission bits (and its group, where
// the user may set it) and is renamed over the target only once everything has been
// written and flushed: the target then holds either the old content or the new, whole.
// A symbolic link is followed: its target is replaced and the link stays; but a link in a
// shared sticky folder (like /tmp) that belongs neither to the user nor to the folder's
// owner is refused, as the system refuses to follow it. When no new file
// can be made beside the target (a folder the user may not write in), or replacing it would
// take the file from its owner, the target is overwritten in place, after the room for the
// new bytes has been reserved, so that a full disk fails before the old content is
// touched, and after its old bytes have been kept in an InPlaceCopy until the new ones are
// flushed. After a save, files of our pattern that a killed save of the same user left
// in the folder are removed. Anything but a regular file (a pipe, a device) is refused
// without being written. On failure returns false with a message in `error` that names
// the file and the reason.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error);

// Writes a whole file of the program's own (private: 0600 when new) through a new file
// renamed over it, never in place, flushed. Returns 0 or the error number.
int ReplaceFileDurably(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace kelno
