#include "shell/browser_command.h"

#include <gtest/gtest.h>

#include <string>

namespace kelno {
namespace {

constexpr const char* kTarget = "https://kelno.example.org/";

struct CommandCase {
    const char* handler;
    const char* expected;  // the command line for kTarget
};

TEST(BrowserCommandLine, CutsAtThePlaceholderAndAppendsTheTarget) {
    const CommandCase cases[] = {
        // No placeholder: the whole command, then the target.
        {"C:\\Browser\\browser.exe", "C:\\Browser\\browser.exe https://kelno.example.org/"},
        {"", " https://kelno.example.org/"},
        {"browser %2 100%", "browser %2 100% https://kelno.example.org/"},
        // A quoted placeholder is cut with its opening quote; what follows is dropped.
        {"\"C:\\B\\b.exe\" -nohome \"%1\" -new",
         "\"C:\\B\\b.exe\" -nohome  https://kelno.example.org/"},
        // A bare placeholder is cut at its percent sign.
        {"browser %1 --new-window", "browser  https://kelno.example.org/"},
        {"%1", " https://kelno.example.org/"},
        // The quoted placeholder wins over a bare one written before it.
        {"b -x%1 \"%1\"", "b -x%1  https://kelno.example.org/"},
        // Multi-byte UTF-8 text before the placeholder is kept whole.
        {"/opt/ブラウザ/閲覧 \"%1\"", "/opt/ブラウザ/閲覧  https://kelno.example.org/"},
        {"\"/opt/ｳｪﾌﾞ\" %1", "\"/opt/ｳｪﾌﾞ\"  https://kelno.example.org/"},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(BrowserCommandLine(c.handler, kTarget), c.expected) << c.handler;
    }
}

TEST(BrowserCommandLine, AnEmptyTargetLeavesTheBlank) {
    EXPECT_EQ(BrowserCommandLine("browser \"%1\"", ""), "browser  ");
}

TEST(BrowserHandler, DesktopExecFieldCodesBecomeOnePlaceholder) {
    const CommandCase cases[] = {
        {"firefox-esr %u", "firefox-esr %1"},
        {"chromium %U", "chromium %1"},
        {"viewer --icon %i --class %c %F %u", "viewer --icon  --class  %1 "},
        {"echo 100%% %u", "echo 100% %1"},
        {"browser", "browser"},
        {"browser %", "browser %"},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(HandlerFromDesktopExec(c.handler), c.expected) << c.handler;
    }
    // The desktop's command and the cutting meet: the address takes the field code's place.
    EXPECT_EQ(BrowserCommandLine(HandlerFromDesktopExec("firefox %u --private"), kTarget),
              "firefox  https://kelno.example.org/");
}

TEST(BrowserHandler, BrowserVariableGivesItsFirstCommand) {
    const CommandCase cases[] = {
        {"firefox:lynx", "firefox"},
        {"w3m %s", "w3m %1"},
        {"", ""},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(HandlerFromBrowserVariable(c.handler), c.expected) << c.handler;
    }
}

}  // namespace
}  // namespace kelno
