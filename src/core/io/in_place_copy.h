#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelno {

// The old bytes of a file while a save overwrites it in place (where no new file can be
// made beside it): a kill or a crash in the middle then leaves a copy to restore. The copy
// lives in the user's state folder, $XDG_STATE_HOME/Kelno or ~/.local/state/Kelno, named
// after the file's absolute path, and is removed once the new bytes are on the disk; a copy
// found there later means that the last save of that file never finished.
class InPlaceCopy {
public:
    // The folder the copies are kept in.
    static std::string Folder();
    // Where the copy of the file at `path` is kept.
    static std::string PathFor(const std::string& path);

    // Writes a copy of `oldBytes`, the present content of `path`, and flushes it to the disk.
    // Returns 0 or the error number.
    static int Keep(const std::string& path, std::span<const std::uint8_t> oldBytes);
    // Removes the copy of `path`, if there is one.
    static void Forget(const std::string& path);
    // The bytes kept for `path`, when a save of it was cut short.
    static std::optional<std::vector<std::uint8_t>> Find(const std::string& path);
};

}  // namespace kelno
