#include "shell/startup_command.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "messages.h"

namespace kelno {

namespace {

enum class Switch { None, Print, PrintTo, Dde, Unregister, Embedding, Unknown };

// The print-to verb may also pass the printer's driver and port, which are not needed here.
constexpr std::size_t kMaxPrintToWords = 4;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

// The switches that are words of their own, in any case, with or without a prefix.
Switch WordSwitch(std::string_view word) {
    if (EqualsIgnoringCase(word, "Unregister") || EqualsIgnoringCase(word, "Unregserver")) {
        return Switch::Unregister;
    }
    return EqualsIgnoringCase(word, "Embedding") ? Switch::Embedding : Switch::None;
}

Switch ClassifySwitch(std::string_view arg) {
    const bool prefixed = !arg.empty() && (arg.front() == '/' || arg.front() == '-');
    const std::string_view word = prefixed ? arg.substr(1) : arg;
    if (const Switch named = WordSwitch(word); named != Switch::None) {
        return named;
    }
    if (!prefixed) {
        return Switch::None;
    }
    // The shell's switches are matched as written.
    if (word == "p") {
        return Switch::Print;
    }
    if (word == "pt") {
        return Switch::PrintTo;
    }
    if (word == "dde") {
        return Switch::Dde;
    }
    // "/home/..." is a path, not a switch; "-x" is a switch nobody knows.
    return arg.front() == '/' ? Switch::None : Switch::Unknown;
}

StartupCommand UsageError(std::string reason) {
    StartupCommand command;
    command.action = StartupAction::UsageError;
    command.error = std::move(reason) + "\n\n" + messages::kStartupUsage;
    return command;
}

// The action with its words (file, printer) checked and filled in.
StartupCommand Resolve(StartupAction action, const std::vector<std::string>& words, bool quiet) {
    StartupCommand command;
    command.action = action;
    command.quiet = quiet;
    switch (action) {
        case StartupAction::Unregister:
            return command;
        case StartupAction::PrintFile:
        case StartupAction::PrintFileTo:
            if (words.empty()) {
                return UsageError(messages::kStartupPrintNeedsFile);
            }
            if (action == StartupAction::PrintFileTo && words.size() < 2) {
                return UsageError(messages::kStartupPrintNeedsPrinter);
            }
            if (words.size() > (action == StartupAction::PrintFile ? 1 : kMaxPrintToWords)) {
                return UsageError(messages::kStartupTooManyFiles);
            }
            command.fileName = words[0];
            if (action == StartupAction::PrintFileTo) {
                command.printerName = words[1];
            }
            return command;
        default:
            if (words.size() > 1) {
                return UsageError(messages::kStartupTooManyFiles);
            }
            if (words.size() == 1) {
                command.action = StartupAction::OpenFile;
                command.fileName = words[0];
            }
            return command;
    }
}

}  // namespace

StartupCommand ParseStartupCommand(const std::vector<std::string>& args) {
    StartupAction action = StartupAction::NewDocument;
    bool quiet = false;
    bool predict = false;
    bool onlyFileNames = false;
    std::vector<std::string> words;
    for (const std::string& arg : args) {
        if (onlyFileNames) {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFileNames = true;
            continue;
        }
        // Long options are the program's own switches.
        if (arg == "--predict") {
            predict = true;
            continue;
        }
        if (arg.starts_with("--")) {
            return UsageError(messages::kStartupUnknownSwitch + arg);
        }
        switch (ClassifySwitch(arg)) {
            case Switch::None:
                words.push_back(arg);
                break;
            case Switch::Print:
                action = StartupAction::PrintFile;
                break;
            case Switch::PrintTo:
                action = StartupAction::PrintFileTo;
                break;
            case Switch::Unregister:
                action = StartupAction::Unregister;
                break;
            case Switch::Embedding:
                quiet = true;
                break;
            case Switch::Dde:
                // Files come as arguments here; there is no conversation to wait for.
                break;
            case Switch::Unknown:
                return UsageError(messages::kStartupUnknownSwitch + arg);
        }
    }
    StartupCommand command = Resolve(action, words, quiet);
    if (command.action != StartupAction::UsageError) {
        command.predict = predict;
    }
    return command;
}

}  // namespace kelno
