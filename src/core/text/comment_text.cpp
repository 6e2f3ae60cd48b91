#include "text/comment_text.h"

#include "text/code_page_932.h"

namespace kelno {

std::u16string CommentForEditing(std::string_view bytes) {
    const std::u16string text = Cp932ToUtf16(bytes);
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            out += text[i];
            continue;
        }
        out += u'\n';
        if (i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
    }
    return out;
}

std::string CommentFromEditing(std::u16string_view text) {
    std::u16string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;  // already a "\r\n": the "\n" brings its own "\r"
        }
        if (text[i] == u'\n') {
            lines += u'\r';
        }
        lines += text[i];
    }
    return Utf16ToCp932(lines);
}

}  // namespace kelno
