#include "io/bmp_writer.h"


namespace kelno {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;

constexpr const char* kEmptyPicture = "ﾋﾞｯﾄﾏｯﾌﾟに保存する画像の大きさが 0 です。";
constexpr const char* kPictureTooLarge = "画像が大きすぎるため、ﾋﾞｯﾄﾏｯﾌﾟ形式では保存できません。";
constexpr const char* kInconsistentPicture = "画像のﾃﾞｰﾀが大きさと合いません。";

void Put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void WriteHeaders(std::uint8_t* out, const RgbImage& image, std::uint32_t imageSize) {
    out[0] = 'B';
    out[1] = 'M';
    Put32(out + 2, kPixelOffset + imageSize);
    Put32(out + 10, kPixelOffset);
    Put32(out + 14, kInfoHeaderSize);
    Put32(out + 18, static_cast<std::uint32_t>(image.width));
    Put32(out + 22, static_cast<std::uint32_t>(image.height));  // positive: bottom-up rows
    Put16(out + 26, 1);                                         // planes
    Put16(out + 28, 24);                                        // bits per pixel
    Put32(out + 34, imageSize);
    // Compression, resolutions and colour counts stay zero: none, unknown, no colour table.
}

}  // namespace

std::uint64_t BmpRowLength(std::int64_t width) {
    return (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
}

bool EncodeBmp24(const RgbImage& image, std::vector<std::uint8_t>& bytes, std::string& error) {
    if (image.width <= 0 || image.height <= 0) {
        error = kEmptyPicture;
        return false;
    }
    const std::uint64_t width = static_cast<std::uint64_t>(image.width);
    const std::uint64_t height = static_cast<std::uint64_t>(image.height);
    const std::uint64_t rowLength = BmpRowLength(image.width);
    const std::uint64_t imageSize = rowLength * height;
    if (kPixelOffset + imageSize > kMaxBmpFileSize) {
        error = kPictureTooLarge;
        return false;
    }
    if (image.rgb.size() != width * height * 3) {
        error = kInconsistentPicture;
        return false;
    }
    bytes.assign(kPixelOffset + imageSize, 0);
    WriteHeaders(bytes.data(), image, static_cast<std::uint32_t>(imageSize));
    for (std::uint64_t row = 0; row < height; ++row) {
        const std::uint8_t* source = image.rgb.data() + (height - 1 - row) * width * 3;
        std::uint8_t* target = bytes.data() + kPixelOffset + row * rowLength;
        for (std::uint64_t x = 0; x < width; ++x) {
            target[3 * x] = source[3 * x + 2];
            target[3 * x + 1] = source[3 * x + 1];
            target[3 * x + 2] = source[3 * x];
        }
    }
    return true;
}

}  // namespace kelno
