// Reads arbitrary text as the details dialog reads a box, then does what OK does with an
// accepted number: it becomes the resistance and the electromotive force of elements of a
// circuit, which is analysed and saved. An accepted number is finite, shows as text that
// reads back to the same shown text, and any circuit it ends up in saves and opens again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/clipboard_commands.h"
#include "document/string_clipboard.h"
#include "fuzz_support.h"
#include "text/details_number.h"

using namespace kelno;

namespace {

// A battery and a bulb in a ring, as in a classroom's first circuit.
void PrepareRing(Document& document) {
    StringClipboard ring(
        "KelnoData\r\n4 4\r\n300 -300\r\n700 -300\r\n700 -700\r\n300 -700\r\n"
        "1 2 1 0.1 0 1.5\r\n3 4 5 5 0 0\r\n2 3 0 0 0 0\r\n4 1 0 0 0 0\r\n");
    fuzz::Require(Paste(document, ring), "the ring pastes");
}

void CheckShownText(double value) {
    const std::string shown = FormatDetailsNumber(value);
    const std::optional<double> again = ParseDetailsNumber(shown);
    fuzz::Require(again.has_value(), "a value as the dialog shows it is accepted");
    fuzz::Require(FormatDetailsNumber(*again) == shown, "a shown value shows the same again");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = ParseDetailsNumber(text);
    if (!value) {
        return 0;
    }
    fuzz::Require(std::isfinite(*value), "an accepted number is finite");
    const std::size_t start = text.find_first_not_of(" \t");
    fuzz::Require(*value != 0.0 || text[start] == '0', "zero is accepted only as written");
    CheckShownText(*value);
    fuzz::Require(std::isfinite(DetailsCurrent(std::fmin(std::fabs(*value), 1e6))),
                  "a current shows as a finite number");

    Document document;
    PrepareRing(document);
    for (CircuitElement& element : document.circuit().elements()) {
        document.Checkpoint();
        element.resistance = *value;
        element.emf = *value;
        document.CircuitChanged();
        fuzz::RequireSaveLoadsBack(document);
    }
    return 0;
}
