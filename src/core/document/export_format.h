#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "render/draw_circuit.h"
#include "view/view_scale.h"

namespace kelno {

// What an export takes besides the document. Each format reads what it needs.
struct ExportOptions {
    // Pictures: what is drawn and over how many pixels.
    DrawSettings settings;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Pixel pictures are drawn at `scale`; vector pictures at the scale of a screen of
    // `dpi` dots per inch, which they also record.
    ViewScale scale = ViewScale::FromDpi(96, 96);
    int dpi = 96;
    StatusSink status;
    // The window rectangle a .kel file keeps.
    WindowRect window = kNewDocumentWindow;
    // The title a document format records (a PDF's).
    std::string title;
};

struct ExportResult {
    enum class Failure {
        None,
        OutOfMemory,  // the picture could not be made for lack of memory
        CannotMake,   // the document has no such file (a value without text, a broken picture)
        CannotWrite,  // the file could not be written; `error` names it
    };
    Failure failure = Failure::None;
    std::string error;  // for the user, when failed

    bool ok() const { return failure == Failure::None; }
    static ExportResult Failed(Failure failure, std::string error) {
        return {failure, std::move(error)};
    }
};

// One kind of file a document can be written as: a .kel file, clipboard text, a netlist, a
// picture. Menus, file dialogs and kelno-cli are built from the lists of formats.
class ExportFormat {
public:
    virtual ~ExportFormat() = default;

    // The format's name for the user ("SVG").
    virtual std::string_view name() const = 0;
    // The name filters of a file dialog for it, separated by ";;".
    virtual std::string_view filter() const = 0;
    // The extension of its files, without the dot, in lower case.
    virtual std::string_view extension() const = 0;

    // The whole file's bytes in `bytes`; on failure a result that says why. The document
    // stays as it is, but for the numbers that writing a .kel file gives its points.
    virtual ExportResult Encode(Document& document, const ExportOptions& options,
                                std::vector<std::uint8_t>& bytes) const = 0;

    // Encodes and writes the file, replacing an existing one only once the new one is
    // complete. (Defined where there are files: the desktop programs.)
    ExportResult Write(Document& document, const ExportOptions& options,
                       const std::string& path) const;

    // Whether `path` ends with this format's extension, in any case.
    bool Matches(std::string_view path) const;
};

// The format among `formats` whose extension `path` ends with, or nullptr.
const ExportFormat* FormatOfPath(std::span<const ExportFormat* const> formats,
                                 std::string_view path);

// The formats of the document itself, in the order the tools list them: .kel, clipboard
// text (.txt), SPICE netlist (.cir).
std::span<const ExportFormat* const> DocumentFormats();
const ExportFormat& KelFormat();
const ExportFormat& ClipboardTextFormat();
const ExportFormat& SpiceNetlistFormat();

}  // namespace kelno
