#pragma once

#include <string>
#include <string_view>

namespace kelno {

// A document's comment is held as code page 932 bytes with "\r\n" line breaks, as files
// have always stored it; an edit box holds Unicode text with "\n" line breaks. These two
// functions cross between them, so that every window and tool converts the same way.

// The comment as an edit box shows it: "\r\n" and a lone "\r" become "\n".
std::u16string CommentForEditing(std::string_view bytes);

// The text of an edit box as a document holds it: every "\n" becomes "\r\n"; characters
// that code page 932 lacks become '?'.
std::string CommentFromEditing(std::u16string_view text);

}  // namespace kelno
