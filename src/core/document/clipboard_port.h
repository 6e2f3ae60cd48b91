#pragma once

#include <optional>
#include <string>

namespace kelno {

// The system clipboard as the document's commands see it: plain text in, plain text out.
// The editor window backs it with the desktop's clipboard; tests and kelno-cli back it
// with a string.
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    // The text on the clipboard, or nothing when it holds no text.
    virtual std::optional<std::string> ReadText() const = 0;
    // Replaces the clipboard's contents. A clipboard that cannot take the text keeps
    // whatever it held; copying does not report that.
    virtual void WriteText(const std::string& text) = 0;
};

}  // namespace kelno
