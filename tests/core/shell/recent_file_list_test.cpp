#include "shell/recent_file_list.h"

#include <gtest/gtest.h>

namespace kelno {
namespace {

using Entries = std::vector<std::string>;

TEST(RecentFileList, KeepsTheNewestFourOnceEach) {
    RecentFileList list;
    for (const char* path : {"/a.kel", "/b.kel", "/c.kel", "/d.kel", "/e.kel"}) {
        list.Add(path);
    }
    EXPECT_EQ(list.entries(), (Entries{"/e.kel", "/d.kel", "/c.kel", "/b.kel"}));
    list.Add("/c.kel");  // opened again: to the front, not twice
    EXPECT_EQ(list.entries(), (Entries{"/c.kel", "/e.kel", "/d.kel", "/b.kel"}));
    list.Remove("/e.kel");
    list.Add("");
    EXPECT_EQ(list.entries(), (Entries{"/c.kel", "/d.kel", "/b.kel"}));
}

TEST(RecentFileList, StoredEntriesLoseBlanksRepeatsAndTheSurplus) {
    const RecentFileList list(
        Entries{"/a.kel", "", "/a.kel", "/b.kel", "/c.kel", "/d.kel", "/e.kel"});
    EXPECT_EQ(list.entries(), (Entries{"/a.kel", "/b.kel", "/c.kel", "/d.kel"}));
}

TEST(RecentFileList, MenuTextIsNumberedShortenedAndShowsAmpersands) {
    const RecentFileList list(Entries{"/home/pupil/R&D/bulbs.kel",
                                      "/home/pupil/classes/2026/spring/bulbs-in-parallel.kel"});
    EXPECT_EQ(list.MenuText(0), "&1 /home/pupil/R&&D/bulbs.kel");
    EXPECT_EQ(list.MenuText(1), "&2 /.../bulbs-in-parallel.kel");
    EXPECT_EQ(list.MenuText(2), "");
}

TEST(AbbreviatePath, LeavesOutDirectoriesAfterTheRootUntilThePathFits) {
    struct Case {
        const char* path;
        std::size_t max;
        const char* shown;
    };
    const Case cases[] = {
        {"/home/pupil/circuits/bulbs.kel", 30, "/home/pupil/circuits/bulbs.kel"},
        {"/home/pupil/circuits/bulbs.kel", 29, "/.../pupil/circuits/bulbs.kel"},
        {"/home/pupil/circuits/bulbs.kel", 24, "/.../circuits/bulbs.kel"},
        {"/home/pupil/circuits/bulbs.kel", 14, "/.../bulbs.kel"},
        {"/home/pupil/circuits/bulbs.kel", 13, "bulbs.kel"},  // the name at least
        {"/home/a-very-long-file-name-indeed.kel", 10, "a-very-long-file-name-indeed.kel"},
        {"circuits/2026/bulbs.kel", 16, ".../bulbs.kel"},
        // Characters, not bytes: eleven Japanese characters fit into eleven.
        {"/授業/でんき.kel", 11, "/授業/でんき.kel"},
        {"/授業/三年/でんき.kel", 12, "/.../でんき.kel"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AbbreviatePath(c.path, c.max), c.shown) << c.path << " " << c.max;
    }
}

}  // namespace
}  // namespace kelno
