// Bitmaps written into files on a desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/io/gradient_image.h"
#include "io/bmp_writer.h"

namespace kelno {
namespace {

using testing::Gradient;

class BmpFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("kelno-bmp-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder_;
};

TEST_F(BmpFileTest, WritesTheEncodedBytesAndReplacesAnOldFile) {
    const auto path = folder_ / "picture.bmp";
    std::ofstream(path) << "an older, longer file that must be replaced completely........";
    std::string error;
    ASSERT_TRUE(WriteBmp24(path.string(), Gradient(401, 2), error)) << error;
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(EncodeBmp24(Gradient(401, 2), expected, error));
    EXPECT_EQ(ReadAll(path), expected);
}

TEST_F(BmpFileTest, SaysWhyWhenTheFolderIsMissing) {
    std::string error;
    EXPECT_FALSE(WriteBmp24((folder_ / "missing" / "picture.bmp").string(), Gradient(2, 2), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
}

TEST_F(BmpFileTest, LeavesNothingBehindForARefusedPicture) {
    const auto path = folder_ / "picture.bmp";
    std::string error;
    EXPECT_FALSE(WriteBmp24(path.string(), RgbImage{}, error));
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

}  // namespace
}  // namespace kelno
