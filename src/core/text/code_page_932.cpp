#include "text/code_page_932.h"

#include <algorithm>
#include <cstdint>

#include "text/cp932_table.h"

namespace kelno {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

const cp932::CodePair* Lookup(const cp932::CodePair* table, std::size_t count, std::uint16_t key) {
    const cp932::CodePair* end = table + count;
    const cp932::CodePair* found = std::lower_bound(
        table, end, key,
        [](const cp932::CodePair& pair, std::uint16_t k) { return pair.from < k; });
    return found != end && found->from == key ? found : nullptr;
}

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The single bytes outside ASCII and the half-width katakana, as Windows reads them.
char16_t SingleByteToUnicode(unsigned char byte) {
    if (byte < 0x80) {
        return byte;
    }
    if (byte >= 0xA1 && byte <= 0xDF) {
        return static_cast<char16_t>(0xFF61 + (byte - 0xA1));
    }
    switch (byte) {
        case 0x80:
            return 0x0080;
        case 0xA0:
            return 0xF8F0;
        case 0xFD:
            return 0xF8F1;
        case 0xFE:
            return 0xF8F2;
        case 0xFF:
            return 0xF8F3;
        default:
            return kReplacement;
    }
}

// The single byte for a code unit, or -1 when the unit needs two bytes or none.
int UnicodeToSingleByte(char16_t unit) {
    if (unit < 0x80) {
        return unit;
    }
    if (unit >= 0xFF61 && unit <= 0xFF9F) {
        return 0xA1 + (unit - 0xFF61);
    }
    switch (unit) {
        case 0x0080:
            return 0x80;
        case 0xF8F0:
            return 0xA0;
        case 0xF8F1:
            return 0xFD;
        case 0xF8F2:
            return 0xFE;
        case 0xF8F3:
            return 0xFF;
        default:
            return -1;
    }
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string Utf16ToCp932(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;  // a character outside the BMP: one '?' for the pair
            out += '?';
            continue;
        }
        const int single = UnicodeToSingleByte(unit);
        if (single >= 0) {
            out += static_cast<char>(single);
            continue;
        }
        const cp932::CodePair* pair =
            Lookup(cp932::kUnicodeToDoubleByte, cp932::kUnicodeToDoubleByteCount, unit);
        if (pair == nullptr) {
            out += '?';
        } else {
            out += static_cast<char>(pair->to >> 8);
            out += static_cast<char>(pair->to & 0xFF);
        }
    }
    return out;
}

std::u16string Cp932ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!IsLeadByte(byte)) {
            out += SingleByteToUnicode(byte);
            continue;
        }
        if (i + 1 >= bytes.size()) {
            out += kReplacement;
            continue;
        }
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        const cp932::CodePair* pair =
            Lookup(cp932::kDoubleByteToUnicode, cp932::kDoubleByteToUnicodeCount,
                   static_cast<std::uint16_t>((byte << 8) | trail));
        if (pair != nullptr) {
            out += static_cast<char16_t>(pair->to);
            ++i;
        } else if (trail >= 0x40 && trail <= 0xFC && trail != 0x7F) {
            out += kReplacement;  // a well-formed pair without a character
            ++i;
        } else {
            out += kReplacement;  // a lone lead byte: the next byte stands on its own
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = 0;
        if (byte < 0x80) {
            code = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            extra = 1;
            code = byte & 0x1F;
        } else if ((byte & 0xF0) == 0xE0) {
            extra = 2;
            code = byte & 0x0F;
        } else if ((byte & 0xF8) == 0xF0) {
            extra = 3;
            code = byte & 0x07;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        bool valid = i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                code = (code << 6) | (next & 0x3F);
            }
        }
        static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || code < kMinimum[extra] || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            out += kReplacement;
            ++i;
            continue;
        }
        i += 1 + extra;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string Utf8ToCp932(std::string_view text) {
    return Utf16ToCp932(Utf8ToUtf16(text));
}

std::string Cp932ToUtf8(std::string_view bytes) {
    return Utf16ToUtf8(Cp932ToUtf16(bytes));
}

}  // namespace kelno
