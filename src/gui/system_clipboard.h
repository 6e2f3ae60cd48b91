#pragma once

#include <optional>
#include <string>

#include "document/clipboard_port.h"

namespace kelno {

// The desktop's clipboard as plain text, shared with every other program and every other
// copy of the editor.
class SystemClipboard : public ClipboardPort {
public:
    std::optional<std::string> ReadText() const override;
    // From the clipboard's bytes, without making a string of the whole text.
    std::optional<std::string> ReadStart(std::size_t bytes) const override;
    void WriteText(const std::string& text) override;
};

}  // namespace kelno
