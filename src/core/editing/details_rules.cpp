#include "editing/details_rules.h"

#include "text/details_number.h"

namespace kelno {

namespace {

// The ASCII form of a full-width character that can stand in a number, or 0.
char HalfWidthOf(char32_t c) {
    if (c >= U'０' && c <= U'９') {
        return static_cast<char>('0' + (c - U'０'));
    }
    switch (c) {
        case U'．':
            return '.';
        case U'－':
        case U'−':  // the minus sign, which some input methods give for the minus key
            return '-';
        case U'＋':
            return '+';
        case U'ｅ':
            return 'e';
        case U'Ｅ':
            return 'E';
        case U'　':
            return ' ';
        default:
            return 0;
    }
}

// Every character replaced here takes three bytes in UTF-8.
bool BeginsThreeByteSequence(unsigned char lead) {
    return (lead & 0xF0u) == 0xE0u;
}

}  // namespace

bool NegativeResistanceAllowed(ElementKind kind) {
    return kind == ElementKind::Switch;
}

bool DetailsResistanceAllowed(ElementKind kind, double resistance) {
    return NegativeResistanceAllowed(kind) || resistance >= 0.0;
}

std::string HalfWidthNumberText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (BeginsThreeByteSequence(lead) && at + 2 < text.size()) {
            const auto second = static_cast<unsigned char>(text[at + 1]);
            const auto third = static_cast<unsigned char>(text[at + 2]);
            if ((second & 0xC0) == 0x80 && (third & 0xC0) == 0x80) {
                const char32_t c = (char32_t{lead & 0x0Fu} << 12) |
                                   (char32_t{second & 0x3Fu} << 6) | char32_t{third & 0x3Fu};
                if (const char ascii = HalfWidthOf(c)) {
                    out += ascii;
                    at += 3;
                    continue;
                }
            }
        }
        out += text[at];
        ++at;
    }
    return out;
}

std::optional<double> ParseDetailsInput(std::string_view text) {
    return ParseDetailsNumber(HalfWidthNumberText(text));
}

}  // namespace kelno
