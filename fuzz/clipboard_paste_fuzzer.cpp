// Pastes arbitrary clipboard text into a document that holds a circuit and a selection,
// as the paste command does with whatever another program left on the clipboard; the
// paste analyses the circuit. Then copies, cuts, undoes and saves. Text that is not taken
// must leave the document as it was; text that is taken must come back from the program's
// own copy of it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/clipboard_commands.h"
#include "document/string_clipboard.h"
#include "fuzz_support.h"

using namespace kelno;

namespace {

// The ring with its battery selected, as just saved.
void PrepareRing(Document& document) {
    fuzz::PasteRing(document);
    Circuit& circuit = document.circuit();
    CircuitElement* battery = circuit.selection().front();
    circuit.ClearSelection();
    circuit.Select(battery);
    document.MarkSaved();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Document document;
    PrepareRing(document);
    const std::size_t undoStates = document.history().UndoCount();
    const std::string text(reinterpret_cast<const char*>(data), size);
    StringClipboard clipboard(text);
    std::string error;
    if (!Paste(document, clipboard, &error)) {
        fuzz::Require(!error.empty(), "a refused paste is explained");
        fuzz::Require(document.circuit().ElementCount() == 4 &&
                          document.circuit().PointCount() == 4 &&
                          document.history().UndoCount() == undoStates && !document.modified(),
                      "a refused paste changes nothing");
        fuzz::Require(clipboard.ReadText() == text, "a refused paste leaves the clipboard alone");
        return 0;
    }
    // Sweeps that never settle run to their bound, which takes seconds here, before they
    // give up or the equations are solved directly; every step below would run them again
    // without reaching anything new.
    if (document.lastAnalysis().outcome == AnalysisOutcome::NoConvergence ||
        document.lastAnalysis().solvedDirectly) {
        return 0;
    }
    const std::size_t pasted = document.circuit().selection().size();
    const std::size_t elements = document.circuit().ElementCount();
    fuzz::Require(Paste(document, clipboard), "the program's own copy pastes again");
    fuzz::Require(document.circuit().ElementCount() == elements + pasted,
                  "a second paste adds as many elements");
    if (pasted > 0) {
        fuzz::Require(Cut(document, clipboard), "pasted elements can be cut");
        fuzz::Require(document.circuit().ElementCount() == elements, "a cut removes them");
    }
    fuzz::Require(document.Undo(), "the last edit can be undone");
    fuzz::RequireSaveLoadsBack(document);
    return 0;
}
