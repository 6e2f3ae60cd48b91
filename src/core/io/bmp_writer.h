#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelno {

// A picture of 8-bit red, green and blue values, rows from the top down, no padding.
struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes
};

// The largest picture the exporter writes: the file size field of the format is 32 bits.
inline constexpr std::uint64_t kMaxBmpFileSize = 0xFFFFFFFFu;

// Bytes per stored row of a 24-bit picture `width` pixels wide: 3 per pixel, rounded up to a
// multiple of 4.
std::uint64_t BmpRowLength(std::int64_t width);

// The whole file of an uncompressed 24-bit bitmap: the 14-byte file header, the 40-byte info
// header, then the rows bottom-up in blue, green, red order, each padded with zeros. On
// failure (an empty or inconsistent picture, or one too large for the format) returns false
// with a message for the user in `error`.
bool EncodeBmp24(const RgbImage& image, std::vector<std::uint8_t>& bytes, std::string& error);

// Encodes and writes the file so that an existing file is replaced completely or not at all.
bool WriteBmp24(const std::string& path, const RgbImage& image, std::string& error);

}  // namespace kelno
