#pragma once

#include <cstring>
#include <type_traits>

namespace kelno {

// The bits of one value read as another type of the same size, as std::bit_cast does; the
// C++ library of the WebAssembly toolchain has no std::bit_cast yet.
template <class To, class From>
To BitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From));
    static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

}  // namespace kelno
