#include <cctype>
#include <string>

#include "command_line.h"
#include "commands.h"
#include "io/file_bytes.h"
#include "kel_loading.h"

namespace kelno::cli {

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[text.size() - suffix.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != suffix[i]) {
            return false;
        }
    }
    return true;
}

bool Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::string error;
    if (!WriteFileAtomically(path, bytes, error)) {
        PrintError(error);
        return false;
    }
    return true;
}

// .kel to .kel: loads as the editor does and saves again, keeping the stored window size.
int KelToKel(const std::string& in, const std::string& out, bool openNewer) {
    LoadedKel loaded;
    if (!LoadKel(in, openNewer, loaded)) {
        return kExitBadInput;
    }
    return Save(out, WriteKel(loaded.file.circuit, loaded.file.contents)) ? kExitOk
                                                                          : kExitBadInput;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    const char* usage = "使い方: kelno-cli convert IN.kel OUT.kel [--open-newer]";
    if (!line.Parse(args, {{"--open-newer", false}}, error) || line.words().size() != 2) {
        PrintError(error.empty() ? usage : error);
        return kExitUsage;
    }
    const std::string& in = line.words()[0];
    const std::string& out = line.words()[1];
    if (EndsWith(in, ".kel") && EndsWith(out, ".kel")) {
        return KelToKel(in, out, line.Has("--open-newer"));
    }
    PrintError("変換できるのは .kel から .kel への変換です: " + in + " -> " + out);
    return kExitUsage;
}

}  // namespace kelno::cli
