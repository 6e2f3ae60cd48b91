#include "document/export_format.h"

#include <array>
#include <cctype>
#include <cmath>

#include "io/clipboard_text.h"
#include "io/spice_netlist.h"

namespace kelno {

namespace {

using Failure = ExportResult::Failure;

std::vector<std::uint8_t> BytesOf(const std::string& text) {
    return {text.begin(), text.end()};
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

// The document's own file, with the window rectangle of the options.
class KelFileFormat final : public ExportFormat {
public:
    std::string_view name() const override { return "Kelno ﾌｧｲﾙ"; }
    std::string_view filter() const override { return "Kelno ﾌｧｲﾙ (*.kel)"; }
    std::string_view extension() const override { return "kel"; }
    ExportResult Encode(Document& document, const ExportOptions& options,
                        std::vector<std::uint8_t>& bytes) const override {
        bytes = document.SaveBytes(options.window);
        return {};
    }
};

// The whole circuit as clipboard text, unmoved. Points without elements are kept, so that
// pasting the text into an empty document gives the same circuit again.
class ClipboardTextFileFormat final : public ExportFormat {
public:
    std::string_view name() const override { return "ﾃｷｽﾄ"; }
    std::string_view filter() const override { return "ﾃｷｽﾄ (*.txt)"; }
    std::string_view extension() const override { return "txt"; }
    ExportResult Encode(Document& document, const ExportOptions&,
                        std::vector<std::uint8_t>& bytes) const override {
        const Circuit& circuit = document.circuit();
        if (!AllValuesFinite(circuit)) {
            return ExportResult::Failed(Failure::CannotMake,
                                        "有限でない値を持つ素子があるため、ﾃｷｽﾄにできません。");
        }
        bytes = BytesOf(WriteClipboardText(WholeCircuitClipboardData(circuit)));
        return {};
    }
};

// A SPICE netlist, to check the currents with a SPICE engine.
class SpiceNetlistFileFormat final : public ExportFormat {
public:
    std::string_view name() const override { return "SPICE ﾈｯﾄﾘｽﾄ"; }
    std::string_view filter() const override { return "SPICE ﾈｯﾄﾘｽﾄ (*.cir)"; }
    std::string_view extension() const override { return "cir"; }
    ExportResult Encode(Document& document, const ExportOptions&,
                        std::vector<std::uint8_t>& bytes) const override {
        std::string netlist;
        std::string error;
        if (!WriteSpiceNetlist(document.circuit(), netlist, error)) {
            return ExportResult::Failed(Failure::CannotMake, error);
        }
        bytes = BytesOf(netlist);
        return {};
    }
};

}  // namespace

bool ExportFormat::Matches(std::string_view path) const {
    const std::string_view ext = extension();
    if (path.size() < ext.size() + 1 || path[path.size() - ext.size() - 1] != '.') {
        return false;
    }
    const std::string_view tail = path.substr(path.size() - ext.size());
    for (std::size_t i = 0; i < ext.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != ext[i]) {
            return false;
        }
    }
    return true;
}

const ExportFormat* FormatOfPath(std::span<const ExportFormat* const> formats,
                                 std::string_view path) {
    for (const ExportFormat* format : formats) {
        if (format->Matches(path)) {
            return format;
        }
    }
    return nullptr;
}

const ExportFormat& KelFormat() {
    static const KelFileFormat format;
    return format;
}

const ExportFormat& ClipboardTextFormat() {
    static const ClipboardTextFileFormat format;
    return format;
}

const ExportFormat& SpiceNetlistFormat() {
    static const SpiceNetlistFileFormat format;
    return format;
}

std::span<const ExportFormat* const> DocumentFormats() {
    static const std::array<const ExportFormat*, 3> formats{&KelFormat(), &ClipboardTextFormat(),
                                                            &SpiceNetlistFormat()};
    return formats;
}

}  // namespace kelno
