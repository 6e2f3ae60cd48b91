#include "io/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kelno {
namespace {

namespace fs = std::filesystem;

class FileBytesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kelno-file-test-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
    }
    std::size_t FilesIn() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }
    fs::path folder_;
};

TEST_F(FileBytesTest, WritesReplacesAndReadsBack) {
    const std::string path = (folder_ / "a.kel").string();
    std::string error;
    const std::vector<std::uint8_t> first{1, 2, 3};
    const std::vector<std::uint8_t> second{9};
    ASSERT_TRUE(WriteFileAtomically(path, first, error)) << error;
    ASSERT_TRUE(WriteFileAtomically(path, second, error)) << error;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadFileBytes(path, back, error)) << error;
    EXPECT_EQ(back, second);
    EXPECT_EQ(FilesIn(), 1u);  // no temporary file left behind
}

TEST_F(FileBytesTest, FailedWriteKeepsTheOldFileAndSaysWhy) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write into a read-only folder";
    }
    const std::string path = (folder_ / "keep.kel").string();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, std::vector<std::uint8_t>{7, 7}, error));
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(WriteFileAtomically(path, std::vector<std::uint8_t>{1}, error));
    EXPECT_NE(error.find("ﾌｧｲﾙに書き込めませんでした。"), std::string::npos) << error;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadFileBytes(path, back, error));
    EXPECT_EQ(back, (std::vector<std::uint8_t>{7, 7}));
}

TEST_F(FileBytesTest, FailedRenameLeavesNoTemporaryFile) {
    // A folder cannot be replaced by a file, not even by root.
    const fs::path target = folder_ / "folder.kel";
    fs::create_directories(target);
    std::ofstream(target / "inside") << "x";
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target.string(), std::vector<std::uint8_t>{1}, error));
    EXPECT_NE(error.find("ﾌｧｲﾙに書き込めませんでした。"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(target / "inside"));
    EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(FileBytesTest, WriteIntoAMissingFolderFails) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomically((folder_ / "no" / "such.kel").string(),
                                     std::vector<std::uint8_t>{1}, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(FileBytesTest, WritingThroughASymbolicLinkReplacesTheTarget) {
    const fs::path target = folder_ / "target.kel";
    const fs::path link = folder_ / "link.kel";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target.string(), std::vector<std::uint8_t>{1}, error));
    fs::create_symlink(target, link);
    ASSERT_TRUE(WriteFileAtomically(link.string(), std::vector<std::uint8_t>{2}, error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadFileBytes(target.string(), back, error));
    EXPECT_EQ(back, std::vector<std::uint8_t>{2});
}

TEST_F(FileBytesTest, ReadingAMissingFileSaysSo) {
    std::vector<std::uint8_t> back;
    std::string error;
    EXPECT_FALSE(ReadFileBytes((folder_ / "missing.kel").string(), back, error));
    EXPECT_NE(error.find("ﾌｧｲﾙが見つかりません。"), std::string::npos);
}

}  // namespace
}  // namespace kelno
