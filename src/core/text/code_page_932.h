#pragma once

#include <string>
#include <string_view>

namespace kelno {

// Conversions between Shift-JIS (code page 932, in Windows' variant), in which documents
// hold their comment, and Unicode. Characters that code page 932 lacks become '?';
// byte sequences that are not code page 932 become U+FFFD.
std::string Utf16ToCp932(std::u16string_view text);
std::u16string Cp932ToUtf16(std::string_view bytes);
std::string Utf8ToCp932(std::string_view text);
std::string Cp932ToUtf8(std::string_view bytes);

// UTF-8 <-> UTF-16; invalid input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace kelno
