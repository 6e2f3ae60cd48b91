#pragma once

#include <cstdio>
#include <cstdlib>

#include "document/document.h"

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
