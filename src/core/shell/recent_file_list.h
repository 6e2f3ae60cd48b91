#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelno {

// The files opened or saved last, newest first, as the File menu lists them. Paths are
// compared as they stand: the window gives them in one canonical form.
class RecentFileList {
public:
    static constexpr std::size_t kCapacity = 4;
    // How many characters a path may take in the menu.
    static constexpr std::size_t kDisplayLength = 30;

    // Takes stored entries: empty ones and repeats are dropped, the newest four kept.
    explicit RecentFileList(const std::vector<std::string>& entries = {});

    const std::vector<std::string>& entries() const { return entries_; }

    // A file opened or saved under a new name: to the front, once.
    void Add(const std::string& path);
    void Remove(const std::string& path);

    // The menu text of entry `index`: "&1 " and the path shortened to kDisplayLength
    // characters, with '&' doubled so that it shows as itself.
    std::string MenuText(std::size_t index) const;

private:
    std::vector<std::string> entries_;
};

// Shortens a path (UTF-8) to at most `maxChars` characters by leaving out directories just
// after the root: "/home/pupil/circuits/bulbs.kel" may become "/.../circuits/bulbs.kel".
// When not even "/.../" and the file name fit, the file name alone is given, however long.
std::string AbbreviatePath(std::string_view path, std::size_t maxChars);

}  // namespace kelno
