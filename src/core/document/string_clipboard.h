#pragma once

#include <optional>
#include <string>
#include <utility>

#include "document/clipboard_port.h"

namespace kelno {

// A clipboard held in memory.
class StringClipboard : public ClipboardPort {
public:
    StringClipboard() = default;
    explicit StringClipboard(std::string text) : text_(std::move(text)) {}

    std::optional<std::string> ReadText() const override { return text_; }
    void WriteText(const std::string& text) override { text_ = text; }

private:
    std::optional<std::string> text_;
};

}  // namespace kelno
