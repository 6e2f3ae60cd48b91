#include "command_line.h"

#include <algorithm>
#include <cstdio>

namespace kelno::cli {

bool CommandLine::Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                        std::string& error) {
    bool onlyWords = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyWords || arg.size() < 2 || arg[0] != '-') {
            words_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyWords = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto equals = arg.find('=');
            arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const auto spec = std::find_if(specs.begin(), specs.end(),
                                       [&](const OptionSpec& s) { return s.name == name; });
        if (spec == specs.end()) {
            error = "不明なオプションです: " + arg;
            return false;
        }
        if (spec->takesValue && !value) {
            if (i + 1 >= args.size()) {
                error = "オプション " + name + " には値が必要です。";
                return false;
            }
            value = args[++i];
        } else if (!spec->takesValue && value) {
            error = "オプション " + name + " は値を取りません。";
            return false;
        }
        options_.emplace_back(name, value.value_or(""));
    }
    return true;
}

bool CommandLine::Has(const std::string& name) const {
    return std::any_of(options_.begin(), options_.end(),
                       [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> CommandLine::Value(const std::string& name) const {
    for (auto it = options_.rbegin(); it != options_.rend(); ++it) {
        if (it->first == name) {
            return it->second;
        }
    }
    return std::nullopt;
}

void PrintError(const std::string& message) {
    // The core's messages are written for a message box, a line each for what failed, the
    // file and the reason; a script reads one line per error.
    std::string line = message;
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    std::fprintf(stderr, "kelno-cli: %s\n", line.c_str());
}

}  // namespace kelno::cli
