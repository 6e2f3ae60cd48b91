#include "io/file_bytes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "core/io/child_process.h"
#include "io/in_place_copy.h"

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
        // Copies of files overwritten in place go here, where the unprivileged user of
        // RunInChild may write too.
        state_ = folder_.string() + "-state";
        fs::remove_all(state_);
        fs::create_directories(state_);
        fs::permissions(state_, fs::perms::all);
        ::setenv("XDG_STATE_HOME", state_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_STATE_HOME");
        fs::remove_all(state_);
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
    }
    std::size_t CopiesKept() const {
        const fs::path copies = fs::path(state_) / "Kelno";
        return fs::exists(copies)
                   ? static_cast<std::size_t>(std::distance(fs::directory_iterator(copies), {}))
                   : 0;
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
    std::string state_;
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
    EXPECT_EQ(CopiesKept(), 0u);  // the old bytes were kept only while the new ones went in
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

// A pipe with nobody at its other end, a device and a folder: reading and writing each
// ends at once with a message that names it, and leaves it as it was.
TEST_F(FileBytesTest, AnythingButARegularFileIsRefusedWithoutWaiting) {
    const std::string pipe = PathOf("pipe.kel");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(folder_ / "folder.kel");
    fs::create_symlink("pipe.kel", folder_ / "link-to-pipe.kel");
    for (const std::string& path :
         {pipe, std::string("/dev/null"), PathOf("folder.kel"), PathOf("link-to-pipe.kel")}) {
        Bytes back{1};
        std::string error;
        EXPECT_FALSE(ReadFileBytes(path, back, error)) << path;
        EXPECT_TRUE(back.empty()) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find("通常のﾌｧｲﾙではない"), std::string::npos) << error;
        error.clear();
        EXPECT_FALSE(WriteFileAtomically(path, Bytes{7, 8, 9}, error)) << path;
        const bool folder = path == PathOf("folder.kel");
        ExpectToldAbout(error, path, folder ? "同じ名前のﾌｫﾙﾀﾞがあります。" : "通常のﾌｧｲﾙではない");
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_symlink(folder_ / "link-to-pipe.kel"));
    EXPECT_EQ(FilesIn(), 3u);
}

// A link in a shared folder like /tmp, planted by another user, must not send a save to the
// file it points to; the links the system itself would follow still work.
TEST_F(FileBytesTest, ForeignLinkInASharedStickyFolderIsNotFollowed) {
    SkipUnlessRoot();
    const uid_t other = testing::UnprivilegedUser();
    struct Case {
        const char* name;
        fs::perms folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    };
    const fs::perms shared = fs::perms::all | fs::perms::sticky_bit;
    const Case cases[] = {
        {"another user's link in a sticky shared folder", shared, 0, other, false},
        {"the user's own link there", shared, 0, 0, true},
        {"the folder owner's link there", shared, other, other, true},
        {"another user's link in a folder without the sticky bit", fs::perms::all, 0, other, true},
    };
    const std::string victim = PathOf("victim.kel");
    for (const Case& c : cases) {
        Write(victim, {1});
        const fs::path folder = folder_ / "shared";
        fs::remove_all(folder);
        fs::create_directory(folder);
        fs::permissions(folder, c.folderMode);
        ASSERT_EQ(::chown(folder.c_str(), c.folderOwner, c.folderOwner), 0);
        const fs::path link = folder / "planted.kel";
        fs::create_symlink(victim, link);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
        std::string error;
        EXPECT_EQ(WriteFileAtomically(link.string(), Bytes{2}, error), c.followed) << c.name;
        EXPECT_EQ(Contents(victim), c.followed ? Bytes{2} : Bytes{1}) << c.name;
        EXPECT_TRUE(fs::is_symlink(link)) << c.name;
        if (!c.followed) {
            ExpectToldAbout(error, link.string(), "他のﾕｰｻﾞｰのｼﾝﾎﾞﾘｯｸﾘﾝｸ");
        }
    }
}

// An in-place save cut short: the copy of the old bytes stays until the new ones are in,
// and is found again by the file's path, whichever link it is reached through.
TEST_F(FileBytesTest, CopyOfAnInPlaceSaveIsFoundByItsFileUntilForgotten) {
    const std::string path = PathOf("homework.kel");
    Write(path, Bytes(50, 1));
    fs::create_symlink("homework.kel", folder_ / "link.kel");
    ASSERT_EQ(InPlaceCopy::Keep(path, Bytes(50, 1)), 0);
    Write(path, Bytes(5, 9));  // as torn as it gets
    EXPECT_EQ(InPlaceCopy::Find(PathOf("link.kel")), Bytes(50, 1));
    EXPECT_FALSE(InPlaceCopy::Find(PathOf("other.kel")).has_value());
    EXPECT_EQ(fs::status(InPlaceCopy::Folder()).permissions() & fs::perms::all,
              fs::perms::owner_all);
    // A copy that names another file (two paths of the same name hash) is not taken.
    std::ofstream(InPlaceCopy::PathFor(PathOf("other.kel")), std::ios::binary)
        << "Kelno in-place copy\n/somewhere/else.kel\nxx";
    EXPECT_FALSE(InPlaceCopy::Find(PathOf("other.kel")).has_value());
    InPlaceCopy::Forget(path);
    EXPECT_FALSE(InPlaceCopy::Find(path).has_value());
}

TEST_F(FileBytesTest, InPlaceSaveWithoutRoomForTheCopyLeavesTheFileAlone) {
    HandFolderToUnprivilegedUser();
    const std::string path = PathOf("homework.kel");
    Write(path, Bytes(100, 1));
    ASSERT_EQ(::chown(path.c_str(), testing::UnprivilegedUser(), testing::UnprivilegedGroup()), 0);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(state_, fs::perms::owner_all);  // root's alone
    const std::string error = RunInChild({.dropRoot = true}, [&] {
        std::string message;
        return WriteFileAtomically(path, Bytes(10, 2), message) ? std::string() : message;
    });
    ExpectToldAbout(error, path, "元の内容の控えを作れない");
    EXPECT_EQ(Contents(path), Bytes(100, 1));
}

// Files of our pattern left by killed saves go with the next save in their folder; a file
// still locked by a running save, another user's and other names stay.
TEST_F(FileBytesTest, SaveRemovesLeftoversOfKilledSavesOfTheSameUser) {
    SkipUnlessRoot();
    ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0);
    const auto make = [&](const char* name) {
        std::ofstream(PathOf(name)) << "left";
        return PathOf(name);
    };
    const std::string stale = make(".kelno-0123456789abcdef.tmp");
    const std::string running = make(".kelno-fedcba9876543210.tmp");
    const std::string foreign = make(".kelno-00000000000000aa.tmp");
    const std::string unlike = make(".kelno-notours.tmp");
    ASSERT_EQ(::chown(foreign.c_str(), testing::UnprivilegedUser(), testing::UnprivilegedGroup()),
              0);
    const int held = ::open(running.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    Write(PathOf("circuit.kel"), {1});
    ::close(held);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(foreign));
    EXPECT_TRUE(fs::exists(unlike));
}

TEST_F(FileBytesTest, SavesRunningTogetherInOneFolderLeaveEachOtherAlone) {
    // Each save clears leftovers in its folder: a finished new file of another save, not
    // yet renamed over its target, must not be taken for one.
    constexpr int kSavers = 4;
    constexpr int kSaves = 150;
    std::vector<std::string> failures[kSavers];
    std::vector<std::thread> savers;
    for (int s = 0; s < kSavers; ++s) {
        savers.emplace_back([&, s] {
            const std::string path = PathOf("circuit" + std::to_string(s) + ".kel");
            for (int i = 0; i < kSaves; ++i) {
                std::string error;
                if (!WriteFileAtomically(path, Bytes(64, static_cast<std::uint8_t>(i)), error)) {
                    failures[s].push_back(error);
                }
            }
        });
    }
    for (std::thread& saver : savers) {
        saver.join();
    }
    for (int s = 0; s < kSavers; ++s) {
        EXPECT_TRUE(failures[s].empty()) << failures[s].size() << " failed: " << failures[s][0];
        EXPECT_EQ(Contents(PathOf("circuit" + std::to_string(s) + ".kel")),
                  Bytes(64, static_cast<std::uint8_t>(kSaves - 1)));
    }
    EXPECT_EQ(FilesIn(), static_cast<std::size_t>(kSavers)) << "no new file left behind";
}

TEST_F(FileBytesTest, ReadingAMissingFileSaysSo) {
    Bytes back;
    std::string error;
    EXPECT_FALSE(ReadFileBytes(PathOf("missing.kel"), back, error));
    EXPECT_NE(error.find("ﾌｧｲﾙが見つかりません。"), std::string::npos);
}

TEST_F(FileBytesTest, ReadingAFileBeyondTheBoundStops) {
    const std::string path = PathOf("huge.kel");
    { std::ofstream out(path, std::ios::binary); }
    fs::resize_file(path, kMaxReadableFileSize + 1);  // sparse: costs no disk
    Bytes back;
    std::string error;
    EXPECT_FALSE(ReadFileBytes(path, back, error));
    EXPECT_NE(error.find("ﾌｧｲﾙが大きすぎます。"), std::string::npos) << error;
    EXPECT_NE(error.find("16 MB まで"), std::string::npos) << error;
    EXPECT_TRUE(back.empty());
    fs::resize_file(path, kMaxReadableFileSize);  // the largest that is read
    EXPECT_TRUE(ReadFileBytes(path, back, error)) << error;
    EXPECT_EQ(back.size(), kMaxReadableFileSize);
}

}  // namespace
}  // namespace kelno
