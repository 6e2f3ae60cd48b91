#include "shell/desktop_files.h"

#include <gtest/gtest.h>

#include <string>

namespace kelno {
namespace {

TEST(ExecArgument, QuotesAndEscapesOnlyWhatNeedsIt) {
    struct Case {
        const char* path;
        const char* exec;  // as written in the file
    };
    const Case cases[] = {
        {"/usr/bin/kelno", "/usr/bin/kelno"},
        {"/opt/回路/kelno", "/opt/回路/kelno"},
        {"/opt/My Apps/kelno", "\"/opt/My Apps/kelno\""},
        {"/opt/100%/kelno", "/opt/100%%/kelno"},
        // In quotes $ " ` \ get a backslash, and every backslash is doubled once more in
        // the file.
        {"/a b/$x\"y\\z", "\"/a b/\\\\$x\\\\\"y\\\\\\\\z\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExecArgument(c.path), c.exec) << c.path;
    }
}

TEST(DesktopEntryText, OpensOneFileWithTheProgram) {
    const std::string entry = DesktopEntryText("/opt/My Apps/kelno");
    // Read back as the desktop reads it: the string escapes undone, the quoting kept.
    EXPECT_EQ(DesktopEntryExec(entry), "\"/opt/My Apps/kelno\" %f");
    EXPECT_NE(entry.find("\nMimeType=application/x-kelno;\n"), std::string::npos);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
}

TEST(MimePackageText, NamesKelFilesAsKelnoDocuments) {
    const std::string package = MimePackageText();
    EXPECT_NE(package.find("<mime-type type=\"application/x-kelno\">"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.kel\"/>"), std::string::npos);
    EXPECT_NE(package.find("<comment>Kelno Document</comment>"), std::string::npos);
}

TEST(DesktopEntryExec, ReadsTheEntryGroupOnly) {
    const std::string entry =
        "# comment\r\n"
        "[Desktop Action new-window]\r\n"
        "Exec=browser --new-window %u\r\n"
        "[Desktop Entry]\r\n"
        "Name=Browser\r\n"
        "Exec = /opt/web\\sbrowser/run\\\\it %u\r\n";
    EXPECT_EQ(DesktopEntryExec(entry), "/opt/web browser/run\\it %u");
    EXPECT_EQ(DesktopEntryExec("[Desktop Entry]\nName=x\n"), "");
    EXPECT_EQ(DesktopEntryExec(""), "");
}

}  // namespace
}  // namespace kelno
