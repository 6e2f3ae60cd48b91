#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace kelno {

// Reads little-endian fields from a byte span. Every read checks that its bytes are
// there; a failed read leaves the position unchanged and returns false.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    std::size_t position() const { return position_; }

    bool ReadUint8(std::uint8_t& value) { return ReadLittleEndian(value); }
    bool ReadUint16(std::uint16_t& value) { return ReadLittleEndian(value); }
    bool ReadUint32(std::uint32_t& value) { return ReadLittleEndian(value); }
    bool ReadInt32(std::int32_t& value) {
        std::uint32_t bits;
        if (!ReadLittleEndian(bits)) {
            return false;
        }
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    bool ReadDouble(double& value) {
        std::uint64_t bits;
        if (!ReadLittleEndian(bits)) {
            return false;
        }
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    bool ReadBytes(std::size_t count, std::string& out) {
        if (count > remaining()) {
            return false;
        }
        out.assign(reinterpret_cast<const char*>(bytes_.data() + position_), count);
        position_ += count;
        return true;
    }

private:
    template <class T>
    bool ReadLittleEndian(T& value) {
        if (sizeof(T) > remaining()) {
            return false;
        }
        T result = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            result |= static_cast<T>(static_cast<T>(bytes_[position_ + i]) << (8 * i));
        }
        position_ += sizeof(T);
        value = result;
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace kelno
