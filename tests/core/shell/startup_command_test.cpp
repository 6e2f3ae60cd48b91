#include "shell/startup_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages.h"

namespace kelno {
namespace {

struct StartupCase {
    std::vector<std::string> args;
    StartupAction action;
    std::string fileName;
    std::string printerName;
    bool quiet;
};

TEST(ParseStartupCommand, ReadsEveryWayOfStarting) {
    using enum StartupAction;
    const StartupCase cases[] = {
        {{}, NewDocument, "", "", false},
        {{"a.kel"}, OpenFile, "a.kel", "", false},
        {{"/home/u/回路.kel"}, OpenFile, "/home/u/回路.kel", "", false},
        {{"/p", "a.kel"}, PrintFile, "a.kel", "", false},
        {{"-p", "a.kel"}, PrintFile, "a.kel", "", false},
        {{"a.kel", "/p"}, PrintFile, "a.kel", "", false},
        {{"/pt", "a.kel", "Office Printer"}, PrintFileTo, "a.kel", "Office Printer", false},
        // The print-to verb may add the driver and the port.
        {{"/pt", "a.kel", "lp", "driver", "port"}, PrintFileTo, "a.kel", "lp", false},
        {{"/dde"}, NewDocument, "", "", false},
        {{"/dde", "a.kel"}, OpenFile, "a.kel", "", false},
        {{"/Unregister"}, Unregister, "", "", false},
        {{"-unregserver"}, Unregister, "", "", false},
        {{"UNREGISTER"}, Unregister, "", "", false},
        {{"Unregserver", "/Embedding"}, Unregister, "", "", true},
        {{"-EMBEDDING", "/unregister"}, Unregister, "", "", true},
        // After "--" everything is a file name.
        {{"--", "-p"}, OpenFile, "-p", "", false},
    };
    for (const StartupCase& c : cases) {
        const StartupCommand command = ParseStartupCommand(c.args);
        const std::string label = ::testing::PrintToString(c.args);
        EXPECT_EQ(command.action, c.action) << label << " " << command.error;
        EXPECT_EQ(command.fileName, c.fileName) << label;
        EXPECT_EQ(command.printerName, c.printerName) << label;
        EXPECT_EQ(command.quiet, c.quiet) << label;
    }
}

struct UsageCase {
    std::vector<std::string> args;
    const char* reason;
};

TEST(ParseStartupCommand, WrongUseSaysWhyAndHow) {
    const UsageCase cases[] = {
        {{"/p"}, messages::kStartupPrintNeedsFile},
        {{"/pt"}, messages::kStartupPrintNeedsFile},
        {{"/pt", "a.kel"}, messages::kStartupPrintNeedsPrinter},
        {{"a.kel", "b.kel"}, messages::kStartupTooManyFiles},
        {{"/p", "a.kel", "b.kel"}, messages::kStartupTooManyFiles},
        // The shell's switches are case-sensitive: "/P" is a path, "-P" nobody's switch.
        {{"/P", "a.kel"}, messages::kStartupTooManyFiles},
        {{"-P", "a.kel"}, messages::kStartupUnknownSwitch},
        {{"--predicted", "a.kel"}, messages::kStartupUnknownSwitch},
        // A wrong command line stays wrong with the flag.
        {{"--predict", "a.kel", "b.kel"}, messages::kStartupTooManyFiles},
    };
    for (const UsageCase& c : cases) {
        const StartupCommand command = ParseStartupCommand(c.args);
        const std::string label = ::testing::PrintToString(c.args);
        ASSERT_EQ(command.action, StartupAction::UsageError) << label;
        EXPECT_EQ(command.error.find(c.reason), 0u) << label << " " << command.error;
        EXPECT_NE(command.error.find(messages::kStartupUsage), std::string::npos) << label;
    }
}

struct PredictCase {
    std::vector<std::string> args;
    StartupAction action;
    std::string fileName;
    bool predict;
};

TEST(ParseStartupCommand, PredictIsAFlagOfEveryWayOfStarting) {
    using enum StartupAction;
    const PredictCase cases[] = {
        {{"--predict"}, NewDocument, "", true},
        {{"--predict", "a.kel"}, OpenFile, "a.kel", true},
        {{"a.kel", "--predict"}, OpenFile, "a.kel", true},
        // Printing shows what the window would show.
        {{"--predict", "/p", "a.kel"}, PrintFile, "a.kel", true},
        {{"a.kel"}, OpenFile, "a.kel", false},
        // After "--" it is a file's name.
        {{"--", "--predict"}, OpenFile, "--predict", false},
    };
    for (const PredictCase& c : cases) {
        const StartupCommand command = ParseStartupCommand(c.args);
        const std::string label = ::testing::PrintToString(c.args);
        EXPECT_EQ(command.action, c.action) << label << " " << command.error;
        EXPECT_EQ(command.fileName, c.fileName) << label;
        EXPECT_EQ(command.predict, c.predict) << label;
    }
}

TEST(ParseStartupCommand, UnknownSwitchIsNamed) {
    EXPECT_NE(ParseStartupCommand({"-x"}).error.find("-x"), std::string::npos);
}

}  // namespace
}  // namespace kelno
