#pragma once

#include <cstdio>
#include <cstdlib>

#include "document/clipboard_commands.h"
#include "document/document.h"
#include "document/string_clipboard.h"

namespace kelno::fuzz {

// Stops the run with a finding when a property of the program does not hold. The fuzzer
// keeps the input that led here.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}

inline bool OpenAnyVersion(std::int32_t) {
    return true;
}

// A battery, a bulb and two wires in a ring, pasted into the document: the first circuit of
// a classroom. The pasted elements are selected.
inline void PasteRing(Document& document) {
    StringClipboard ring(
        "KelnoData\r\n4 4\r\n300 -300\r\n700 -300\r\n700 -700\r\n300 -700\r\n"
        "1 2 1 0.1 0 1.5\r\n3 4 5 5 0 0\r\n2 3 0 0 0 0\r\n4 1 0 0 0 0\r\n");
    Require(Paste(document, ring), "the ring pastes");
}

// Saves the document as File Save does, opens the save in a second document, and saves
// that again: whatever the program holds must load back, and save to the same bytes.
inline void RequireSaveLoadsBack(Document& document) {
    const std::vector<std::uint8_t> saved = document.SaveBytes(document.windowRect());
    Document reopened;
    const LoadResult result = reopened.Load(saved, OpenAnyVersion);
    Require(result.status == LoadStatus::Ok, "a saved document opens again");
    Require(reopened.circuit().PointCount() == document.circuit().PointCount() &&
                reopened.circuit().ElementCount() == document.circuit().ElementCount(),
            "a saved document keeps its points and elements");
    Require(reopened.SaveBytes(reopened.windowRect()) == saved,
            "saving a reopened document gives the same bytes");
}

}  // namespace kelno::fuzz
