#pragma once

#include <cstddef>
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
    // At most the first `bytes` bytes of that text, for a look at how it begins; a clipboard
    // that can do without reading a large text whole does so.
    virtual std::optional<std::string> ReadStart(std::size_t bytes) const {
        std::optional<std::string> text = ReadText();
        if (text && text->size() > bytes) {
            text->resize(bytes);
        }
        return text;
    }
    // Replaces the clipboard's contents. A clipboard that cannot take the text keeps
    // whatever it held; copying does not report that.
    virtual void WriteText(const std::string& text) = 0;
};

}  // namespace kelno
