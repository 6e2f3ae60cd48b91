// The document's own files on a desktop: the web build reads and writes bytes instead.
#include "document/document.h"
#include "io/file_bytes.h"

namespace kelno {

LoadResult Document::LoadFile(const std::string& path, const NewerVersionQuestion& ask) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(path, bytes, error)) {
        return {LoadStatus::Unreadable, error, false};
    }
    return Load(bytes, ask);
}

bool Document::SaveFile(const std::string& path, const WindowRect& window, std::string& error) {
    if (!WriteFileAtomically(path, SaveBytes(window), error)) {
        return false;
    }
    MarkSaved();
    return true;
}

}  // namespace kelno
