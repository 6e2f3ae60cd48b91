#include <cctype>
#include <cmath>
#include <string>

#include "cli_files.h"
#include "command_line.h"
#include "commands.h"
#include "document/clipboard_commands.h"
#include "document/string_clipboard.h"
#include "io/clipboard_text.h"
#include "io/spice_netlist.h"
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

bool Save(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string error;
    if (!WriteOutputFile(path, bytes, error)) {
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
    Document& document = loaded.document;
    return Save(out, document.SaveBytes(document.windowRect())) ? kExitOk : kExitBadInput;
}

// Values that are not finite have no text that paste would take back.
bool AllValuesFinite(const Circuit& circuit) {
    for (const CircuitElement& e : circuit.elements()) {
        if (!std::isfinite(e.resistance) || !std::isfinite(e.current) || !std::isfinite(e.emf)) {
            return false;
        }
    }
    return true;
}

// .kel to clipboard text: the whole circuit, unmoved. Points without elements are kept, so
// that pasting the text into an empty document gives the same circuit again.
int KelToText(const std::string& in, const std::string& out, bool openNewer) {
    LoadedKel loaded;
    if (!LoadKel(in, openNewer, loaded)) {
        return kExitBadInput;
    }
    const Circuit& circuit = loaded.document.circuit();
    if (!AllValuesFinite(circuit)) {
        PrintError(in + ": 有限でない値を持つ素子があるため、ﾃｷｽﾄにできません。");
        return kExitBadInput;
    }
    const std::string text = WriteClipboardText(WholeCircuitClipboardData(circuit));
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    return Save(out, {first, text.size()}) ? kExitOk : kExitBadInput;
}

// .kel to a SPICE netlist, to check the currents with a SPICE engine.
int KelToSpice(const std::string& in, const std::string& out, bool openNewer) {
    LoadedKel loaded;
    if (!LoadKel(in, openNewer, loaded)) {
        return kExitBadInput;
    }
    std::string netlist;
    std::string error;
    if (!WriteSpiceNetlist(loaded.document.circuit(), netlist, error)) {
        PrintError(in + ": " + error);
        return kExitBadInput;
    }
    const auto* first = reinterpret_cast<const std::uint8_t*>(netlist.data());
    return Save(out, {first, netlist.size()}) ? kExitOk : kExitBadInput;
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

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
    CommandLine line;
    std::string error;
    const char* usage =
        "使い方: kelno-cli convert IN.kel OUT.kel|OUT.txt|OUT.cir [--open-newer]\n"
        "        kelno-cli convert IN.txt OUT.kel";
    if (!line.Parse(args, {{"--open-newer", false}}, error) || line.words().size() != 2) {
        PrintError(error.empty() ? usage : error);
        return kExitUsage;
    }
    const std::string& in = line.words()[0];
    const std::string& out = line.words()[1];
    const bool openNewer = line.Has("--open-newer");
    if (EndsWith(in, ".kel") && EndsWith(out, ".kel")) {
        return KelToKel(in, out, openNewer);
    }
    if (EndsWith(in, ".kel") && EndsWith(out, ".txt")) {
        return KelToText(in, out, openNewer);
    }
    if (EndsWith(in, ".kel") && EndsWith(out, ".cir")) {
        return KelToSpice(in, out, openNewer);
    }
    if (EndsWith(in, ".txt") && EndsWith(out, ".kel")) {
        return TextToKel(in, out);
    }
    PrintError("変換できるのは .kel から .kel、.txt または .cir へ、.txt から .kel へです: " + in +
               " -> " + out);
    return kExitUsage;
}

}  // namespace kelno::cli
