#include "shell/recent_file_list.h"

#include <algorithm>

namespace kelno {

namespace {

constexpr std::string_view kEllipsis = "...";

// Characters of UTF-8 text: every byte that does not continue a sequence starts one.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string EscapeAmpersands(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += c;
        if (c == '&') {
            out += '&';
        }
    }
    return out;
}

}  // namespace

RecentFileList::RecentFileList(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        if (entries_.size() == kCapacity) {
            break;
        }
        if (!entry.empty() &&
            std::find(entries_.begin(), entries_.end(), entry) == entries_.end()) {
            entries_.push_back(entry);
        }
    }
}

void RecentFileList::Add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    Remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kCapacity) {
        entries_.resize(kCapacity);
    }
}

void RecentFileList::Remove(const std::string& path) {
    std::erase(entries_, path);
}

std::string RecentFileList::MenuText(std::size_t index) const {
    if (index >= entries_.size()) {
        return {};
    }
    return "&" + std::to_string(index + 1) + " " +
           EscapeAmpersands(AbbreviatePath(entries_[index], kDisplayLength));
}

std::string AbbreviatePath(std::string_view path, std::size_t maxChars) {
    if (CharacterCount(path) <= maxChars) {
        return std::string(path);
    }
    const std::size_t lastSlash = path.rfind('/');
    if (lastSlash == std::string_view::npos) {
        return std::string(path);
    }
    const std::string_view root = path.substr(0, path.starts_with('/') ? 1 : 0);
    // Directories are left out from just after the root until the rest fits.
    std::size_t rest = root.size();
    while (rest < lastSlash) {
        const std::size_t nextSlash = path.find('/', rest + 1);
        rest = nextSlash == std::string_view::npos ? lastSlash : nextSlash;
        const std::string candidate =
            std::string(root) + std::string(kEllipsis) + std::string(path.substr(rest));
        if (CharacterCount(candidate) <= maxChars) {
            return candidate;
        }
    }
    return std::string(path.substr(lastSlash + 1));
}

}  // namespace kelno
