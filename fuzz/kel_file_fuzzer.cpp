// Opens arbitrary bytes as a .kel document, the way the editor and kelno-cli open files,
// which also analyses the circuit; then saves what was read. Nothing may crash, hang or
// leak, a rejected file leaves the document as it was, and an accepted one survives its
// own save.
#include <cstddef>
#include <cstdint>

#include "document/document.h"
#include "fuzz_support.h"
#include "io/clipboard_text.h"

using namespace kelno;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Document document;
    const LoadResult result = document.Load({data, size}, fuzz::OpenAnyVersion);
    if (result.status != LoadStatus::Ok) {
        fuzz::Require(!result.error.empty(), "a rejected file is explained");
        fuzz::Require(document.circuit().ElementCount() == 0 && !document.modified(),
                      "a rejected file leaves the document alone");
        return 0;
    }
    fuzz::RequireSaveLoadsBack(document);

    // The whole circuit as clipboard text reads back with the same shape.
    const ClipboardData whole = WholeCircuitClipboardData(document.circuit());
    const ClipboardParseResult parsed = ParseClipboardText(WriteClipboardText(whole));
    if (parsed.status == ClipboardParseStatus::Ok) {
        fuzz::Require(parsed.data.points.size() == whole.points.size() &&
                          parsed.data.elements.size() == whole.elements.size(),
                      "clipboard text of a circuit keeps its points and elements");
    }
    return 0;
}
