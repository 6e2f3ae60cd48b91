#pragma once

#include <cstddef>
#include <cstdint>

namespace kelno::cp932 {

struct CodePair {
    std::uint16_t from;
    std::uint16_t to;
};

extern const CodePair kDoubleByteToUnicode[];
extern const std::size_t kDoubleByteToUnicodeCount;
extern const CodePair kUnicodeToDoubleByte[];
extern const std::size_t kUnicodeToDoubleByteCount;

}  // namespace kelno::cp932
