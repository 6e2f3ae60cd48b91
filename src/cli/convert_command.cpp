#include <span>
#include <string>
#include <vector>

#include "cli_files.h"
#include "command_line.h"
#include "commands.h"
#include "document/clipboard_commands.h"
#include "document/export_format.h"
#include "document/string_clipboard.h"
#include "kel_loading.h"

namespace kelno::cli {

namespace {

bool Save(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string error;
    if (!WriteOutputFile(path, bytes, error)) {
        PrintError(error);
        return false;
    }
    return true;
}

// .kel to any of the document's formats. A .kel file keeps the stored window size.
int KelTo(const ExportFormat& format, const std::string& in, const std::string& out,
          bool openNewer) {
    LoadedKel loaded;
    if (!LoadKel(in, openNewer, loaded)) {
        return kExitBadInput;
    }
    ExportOptions options;
    options.window = loaded.document.windowRect();
    std::vector<std::uint8_t> bytes;
    const ExportResult result = format.Encode(loaded.document, options, bytes);
    if (!result.ok()) {
        PrintError(in + ": " + result.error);
        return kExitBadInput;
    }
    return Save(out, bytes) ? kExitOk : kExitBadInput;
}

// Clipboard text to .kel: pastes the text into a new, empty document and saves that.
int TextToKel(const std::string& in, const std::string& out) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadInputFile(in, bytes, error)) {
        PrintError(error);
        return kExitBadInput;
    }
    StringClipboard clipboard(std::string(bytes.begin(), bytes.end()));
    Document document;
    if (!Paste(document, clipboard, &error)) {
        PrintError(in + ": " + error);
        return kExitBadInput;
    }
    return Save(out, document.SaveBytes(document.windowRect())) ? kExitOk : kExitBadInput;
}

// "OUT.kel|OUT.txt|OUT.cir" for `usage`, ".kel、.txt または .cir" otherwise.
std::string Extensions(std::span<const ExportFormat* const> formats, bool usage) {
    std::string text;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (i > 0) {
            text += usage ? "|" : i + 1 == formats.size() ? " または " : "、";
        }
        text += usage ? "OUT." : ".";
        text += formats[i]->extension();
    }
    return text;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    const std::span<const ExportFormat* const> formats = DocumentFormats();
    const std::string usage = "使い方: kelno-cli convert IN.kel " + Extensions(formats, true) +
                              " [--open-newer]\n        kelno-cli convert IN.txt OUT.kel";
    if (!line.Parse(args, {{"--open-newer", false}}, error) || line.words().size() != 2) {
        PrintError(error.empty() ? usage : error);
        return kExitUsage;
    }
    const std::string& in = line.words()[0];
    const std::string& out = line.words()[1];
    const bool openNewer = line.Has("--open-newer");
    const ExportFormat* format = FormatOfPath(formats, out);
    if (KelFormat().Matches(in) && format != nullptr) {
        return KelTo(*format, in, out, openNewer);
    }
    if (ClipboardTextFormat().Matches(in) && KelFormat().Matches(out)) {
        return TextToKel(in, out);
    }
    PrintError("変換できるのは .kel から " + Extensions(formats, false) +
               " へ、.txt から .kel へです: " + in + " -> " + out);
    return kExitUsage;
}

}  // namespace kelno::cli
