#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace kelno {

// Appends little-endian fields to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void WriteUint8(std::uint8_t value) { WriteLittleEndian(value); }
    void WriteUint16(std::uint16_t value) { WriteLittleEndian(value); }
    void WriteUint32(std::uint32_t value) { WriteLittleEndian(value); }
    void WriteInt32(std::int32_t value) { WriteLittleEndian(static_cast<std::uint32_t>(value)); }
    void WriteDouble(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        WriteLittleEndian(bits);
    }
    void WriteBytes(std::string_view bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

private:
    template <class T>
    void WriteLittleEndian(T value) {
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }

    std::vector<std::uint8_t>& out_;
};

}  // namespace kelno
