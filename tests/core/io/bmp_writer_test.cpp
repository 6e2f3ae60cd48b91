#include "io/bmp_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/io/gradient_image.h"

namespace kelno {
namespace {

using testing::Gradient;

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

TEST(BmpWriter, RowLengthIsPaddedToFourBytes) {
    struct Case {
        std::int64_t width;
        std::uint64_t row;
    };
    for (const Case& c : {Case{1, 4}, Case{2, 8}, Case{3, 12}, Case{4, 12}, Case{400, 1200},
                          Case{401, 1204}, Case{402, 1208}, Case{403, 1212}}) {
        EXPECT_EQ(BmpRowLength(c.width), c.row) << c.width;
    }
}

TEST(BmpWriter, HeadersFollowTheFormat) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
    };
    for (const Case& c : {Case{400, 3}, Case{401, 2}, Case{1, 1}, Case{5, 7}}) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(EncodeBmp24(Gradient(c.width, c.height), bytes, error)) << error;
        const std::uint32_t row = static_cast<std::uint32_t>(BmpRowLength(c.width));
        const std::uint32_t size = row * c.height + 54;
        ASSERT_EQ(bytes.size(), size);
        EXPECT_EQ(bytes[0], 0x42);
        EXPECT_EQ(bytes[1], 0x4D);
        EXPECT_EQ(Read32(bytes, 2), size);
        EXPECT_EQ(Read16(bytes, 6), 0);
        EXPECT_EQ(Read16(bytes, 8), 0);
        EXPECT_EQ(Read32(bytes, 10), 54u);
        EXPECT_EQ(Read32(bytes, 14), 40u);
        EXPECT_EQ(Read32(bytes, 18), static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(Read32(bytes, 22), static_cast<std::uint32_t>(c.height));
        EXPECT_EQ(Read16(bytes, 26), 1);
        EXPECT_EQ(Read16(bytes, 28), 24);
        EXPECT_EQ(Read32(bytes, 30), 0u);
        EXPECT_EQ(Read32(bytes, 34), row * c.height);
        for (std::size_t at = 38; at < 54; at += 4) {
            EXPECT_EQ(Read32(bytes, at), 0u) << at;
        }
    }
}

TEST(BmpWriter, RowsGoBottomUpInBlueGreenRedWithZeroPadding) {
    const std::int32_t width = 5;  // 15 bytes of pixels, one byte of padding
    const std::int32_t height = 3;
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(EncodeBmp24(Gradient(width, height), bytes, error));
    for (std::int32_t stored = 0; stored < height; ++stored) {
        const std::size_t start = 54 + stored * 16;
        const std::int32_t y = height - 1 - stored;  // the first stored row is the bottom one
        for (std::int32_t x = 0; x < width; ++x) {
            EXPECT_EQ(bytes[start + 3 * x], 200);  // blue
            EXPECT_EQ(bytes[start + 3 * x + 1], y);
            EXPECT_EQ(bytes[start + 3 * x + 2], x);
        }
        EXPECT_EQ(bytes[start + 15], 0);
    }
}

TEST(BmpWriter, RefusesPicturesItCannotWrite) {
    struct Case {
        RgbImage image;
        const char* why;
    };
    const Case cases[] = {
        {RgbImage{0, 10, {}}, "no width"},
        {RgbImage{10, 0, {}}, "no height"},
        {RgbImage{-1, 10, {}}, "negative width"},
        {RgbImage{2, 2, std::vector<std::uint8_t>(11)}, "too few bytes"},
        {RgbImage{2, 2, std::vector<std::uint8_t>(13)}, "too many bytes"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_FALSE(EncodeBmp24(c.image, bytes, error)) << c.why;
        EXPECT_FALSE(error.empty()) << c.why;
    }
}

TEST(BmpWriter, RefusesMoreThanFourGigabytes) {
    // 40000 x 40000 pixels would need 4.8 GB; the size is checked before anything is built.
    RgbImage huge{40000, 40000, {}};
    huge.rgb.resize(1);  // inconsistent too, but the size must be what is reported
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(EncodeBmp24(huge, bytes, error));
    EXPECT_NE(error.find("大きすぎる"), std::string::npos) << error;
}

}  // namespace
}  // namespace kelno
