#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelno::cli {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;  // a file could not be read, parsed or written
inline constexpr int kExitUsage = 2;     // wrong arguments

// The arguments of one command: plain words in order, and options by name. Every option
// a command takes is declared, with whether it takes a value.
class CommandLine {
public:
    struct OptionSpec {
        std::string name;  // with its dashes, "--json"
        bool takesValue;
    };

    // Parses `args` (the words after the command name). On failure returns false and puts
    // the reason into `error`.
    bool Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
               std::string& error);

    const std::vector<std::string>& words() const { return words_; }
    bool Has(const std::string& name) const;
    std::optional<std::string> Value(const std::string& name) const;

private:
    std::vector<std::string> words_;
    std::vector<std::pair<std::string, std::string>> options_;
};

// Writes "kelno-cli: MESSAGE" to stderr, as one line.
void PrintError(const std::string& message);

}  // namespace kelno::cli
