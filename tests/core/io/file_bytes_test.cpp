#include "io/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/io/child_process.h"

namespace kelno {
namespace {

namespace fs = std::filesystem;
using kelno::testing::ChildSettings;
using kelno::testing::RunInChild;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kCannotWrite = "ﾌｧｲﾙに書き込めませんでした。";

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
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    static Bytes Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::string& path, const Bytes& bytes) {
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(path, bytes, error)) << error;
    }
    static struct stat StatOf(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info;
    }
    // Gives the folder to the user that RunInChild's dropRoot runs as.
    void HandFolderToUnprivilegedUser() const {
        ASSERT_EQ(
            ::chown(folder_.c_str(), testing::UnprivilegedUser(), testing::UnprivilegedGroup()), 0);
    }
    static void SkipUnlessRoot() {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root to give files to other users";
        }
    }
    fs::path folder_;
};

// A save that failed: the message names the file and says why in Japanese.
void ExpectToldAbout(const std::string& error, const std::string& path, const char* reason) {
    EXPECT_NE(error.find(kCannotWrite), std::string::npos) << error;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
}

TEST_F(FileBytesTest, WritesReplacesAndReadsBack) {
    const std::string path = PathOf("a.kel");
    Write(path, {1, 2, 3});
    Write(path, {9});
    Bytes back;
    std::string error;
    ASSERT_TRUE(ReadFileBytes(path, back, error)) << error;
    EXPECT_EQ(back, Bytes{9});
    EXPECT_EQ(FilesIn(), 1u);  // no temporary file left behind
}

class KeptModeTest : public FileBytesTest, public ::testing::WithParamInterface<mode_t> {};

TEST_P(KeptModeTest, SaveKeepsThePermissionBits) {
    const std::string path = PathOf("private.kel");
    Write(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), GetParam()), 0);
    Write(path, {2, 2});
    EXPECT_EQ(StatOf(path).st_mode & 07777, GetParam());
    EXPECT_EQ(Contents(path), (Bytes{2, 2}));
}

INSTANTIATE_TEST_SUITE_P(Modes, KeptModeTest, ::testing::Values(0600, 0640, 0644, 0664, 0755),
                         [](const ::testing::TestParamInfo<mode_t>& info) {
                             char name[16];
                             std::snprintf(name, sizeof name, "Mode0%o", info.param);
                             return std::string(name);
                         });

TEST_F(FileBytesTest, NewFileFollowsTheUmask) {
    const mode_t previous = ::umask(027);
    Write(PathOf("new.kel"), {1});
    ::umask(previous);
    EXPECT_EQ(StatOf(PathOf("new.kel")).st_mode & 0777, 0640u);
}

TEST_F(FileBytesTest, RootKeepsOwnerAndGroup) {
    SkipUnlessRoot();
    const std::string path = PathOf("pupil.kel");
    Write(path, {1});
    ASSERT_EQ(::chown(path.c_str(), testing::UnprivilegedUser(), testing::UnprivilegedGroup()), 0);
    Write(path, {2});
    EXPECT_EQ(StatOf(path).st_uid, testing::UnprivilegedUser());
    EXPECT_EQ(StatOf(path).st_gid, testing::UnprivilegedGroup());
}

TEST_F(FileBytesTest, GroupRightsDoNotPassToAnotherGroup) {
    SkipUnlessRoot();  // the file must belong to a group that the saving user is not in
    HandFolderToUnprivilegedUser();
    const std::string path = PathOf("shared.kel");
    Write(path, {1});
    ASSERT_EQ(::chown(path.c_str(), testing::UnprivilegedUser(), 0), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0660), 0);
    const std::string error = RunInChild({.dropRoot = true}, [&] {
        std::string message;
        return WriteFileAtomically(path, Bytes{2}, message) ? std::string() : message;
    });
    EXPECT_EQ(error, "");
    EXPECT_EQ(Contents(path), Bytes{2});
    EXPECT_EQ(StatOf(path).st_mode & 0777, 0600u);
}

TEST_F(FileBytesTest, ReadOnlyFolderWithAWritableFileIsWrittenInPlace) {
    HandFolderToUnprivilegedUser();
    const std::string path = PathOf("homework.kel");
    Write(path, Bytes(100, 1));
    ASSERT_EQ(::chown(path.c_str(), testing::UnprivilegedUser(), testing::UnprivilegedGroup()), 0);
    const ino_t inode = StatOf(path).st_ino;
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string error = RunInChild({.dropRoot = true}, [&] {
        std::string message;
        return WriteFileAtomically(path, Bytes(10, 2), message) ? std::string() : message;
    });
    EXPECT_EQ(error, "");
    EXPECT_EQ(Contents(path), Bytes(10, 2));  // shorter than before: nothing of the old left
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(FileBytesTest, FullDiskInAReadOnlyFolderLeavesTheOldFileWhole) {
    HandFolderToUnprivilegedUser();
    const std::string path = PathOf("homework.kel");
    Write(path, Bytes(1000, 1));
    ASSERT_EQ(::chown(path.c_str(), testing::UnprivilegedUser(), testing::UnprivilegedGroup()), 0);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string error = RunInChild({.dropRoot = true, .fileSizeLimit = 4096}, [&] {
        std::string message;
        return WriteFileAtomically(path, Bytes(100000, 2), message) ? std::string() : message;
    });
    ExpectToldAbout(error, path, "ﾌｧｲﾙが大きすぎます。");
    EXPECT_EQ(error.find("壊れている"), std::string::npos) << error;
    EXPECT_EQ(Contents(path), Bytes(1000, 1));
}

TEST_F(FileBytesTest, FullDiskLeavesTheOldFileWholeAndNoTemporaryFile) {
    const std::string path = PathOf("circuit.kel");
    Write(path, Bytes(1000, 1));
    const std::string error = RunInChild({.fileSizeLimit = 4096}, [&] {
        std::string message;
        return WriteFileAtomically(path, Bytes(100000, 2), message) ? std::string() : message;
    });
    ExpectToldAbout(error, path, "ﾌｧｲﾙが大きすぎます。");
    EXPECT_EQ(Contents(path), Bytes(1000, 1));
    EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(FileBytesTest, ReadOnlyFileIsNotReplaced) {
    HandFolderToUnprivilegedUser();
    const std::string path = PathOf("finished.kel");
    Write(path, {1});
    ASSERT_EQ(::chown(path.c_str(), testing::UnprivilegedUser(), testing::UnprivilegedGroup()), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string error = RunInChild({.dropRoot = true}, [&] {
        std::string message;
        return WriteFileAtomically(path, Bytes{2}, message) ? std::string() : message;
    });
    ExpectToldAbout(error, path, "ｱｸｾｽする権限がありません。");
    EXPECT_EQ(Contents(path), Bytes{1});
}

TEST_F(FileBytesTest, AnotherUsersFileKeepsItsOwner) {
    SkipUnlessRoot();
    ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0);
    const std::string path = PathOf("teacher.kel");
    Write(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const std::string error = RunInChild({.dropRoot = true}, [&] {
        std::string message;
        return WriteFileAtomically(path, Bytes{2, 2}, message) ? std::string() : message;
    });
    EXPECT_EQ(error, "");
    EXPECT_EQ(Contents(path), (Bytes{2, 2}));
    EXPECT_EQ(StatOf(path).st_uid, 0u);
    EXPECT_EQ(StatOf(path).st_mode & 0777, 0666u);
}

TEST_F(FileBytesTest, FailedRenameLeavesNoTemporaryFile) {
    // A folder cannot be replaced by a file, not even by root.
    const fs::path target = folder_ / "folder.kel";
    fs::create_directories(target);
    std::ofstream(target / "inside") << "x";
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target.string(), Bytes{1}, error));
    ExpectToldAbout(error, target.string(), "同じ名前のﾌｫﾙﾀﾞがあります。");
    EXPECT_TRUE(fs::exists(target / "inside"));
    EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(FileBytesTest, WriteIntoAMissingFolderFails) {
    const std::string path = PathOf("no/such.kel");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, Bytes{1}, error));
    ExpectToldAbout(error, path, "ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。");
}

TEST_F(FileBytesTest, SymbolicLinksAreWrittenThroughAndKept) {
    fs::create_directories(folder_ / "real");
    const std::string target = PathOf("real/target.kel");
    Write(target, {1});
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    fs::create_symlink("real/target.kel", folder_ / "relative.kel");
    fs::create_symlink(folder_ / "relative.kel", folder_ / "chain.kel");

    Write(PathOf("relative.kel"), {2});
    EXPECT_EQ(Contents(target), Bytes{2});
    Write(PathOf("chain.kel"), {3});
    EXPECT_EQ(Contents(target), Bytes{3});
    EXPECT_TRUE(fs::is_symlink(folder_ / "relative.kel"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "chain.kel"));
    EXPECT_EQ(StatOf(target).st_mode & 0777, 0600u);
    EXPECT_EQ(FilesIn(), 3u);
}

TEST_F(FileBytesTest, DanglingLinkCreatesItsTargetAndALoopIsRefused) {
    fs::create_symlink("made.kel", folder_ / "dangling.kel");
    Write(PathOf("dangling.kel"), {4});
    EXPECT_EQ(Contents(PathOf("made.kel")), Bytes{4});
    EXPECT_TRUE(fs::is_symlink(folder_ / "dangling.kel"));

    fs::create_symlink("loop-b.kel", folder_ / "loop-a.kel");
    fs::create_symlink("loop-a.kel", folder_ / "loop-b.kel");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(PathOf("loop-a.kel"), Bytes{5}, error));
    ExpectToldAbout(error, PathOf("loop-a.kel"), "ｼﾝﾎﾞﾘｯｸﾘﾝｸをたどりきれません。");
}

TEST_F(FileBytesTest, PipeIsWrittenAsAStreamAndStaysAPipe) {
    const std::string path = PathOf("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    Bytes received;
    std::thread reader([&] { received = Contents(path); });
    std::string error;
    const bool written = WriteFileAtomically(path, Bytes{7, 8, 9}, error);
    reader.join();
    EXPECT_TRUE(written) << error;
    EXPECT_EQ(received, (Bytes{7, 8, 9}));
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(FileBytesTest, ReadingAMissingFileSaysSo) {
    Bytes back;
    std::string error;
    EXPECT_FALSE(ReadFileBytes(PathOf("missing.kel"), back, error));
    EXPECT_NE(error.find("ﾌｧｲﾙが見つかりません。"), std::string::npos);
}

TEST_F(FileBytesTest, ReadingAnEndlessDeviceStopsAtTheBound) {
    Bytes back;
    std::string error;
    EXPECT_FALSE(ReadFileBytes("/dev/zero", back, error));
    EXPECT_NE(error.find("ﾌｧｲﾙが大きすぎます。"), std::string::npos) << error;
    EXPECT_TRUE(back.empty());
}

}  // namespace
}  // namespace kelno
