#pragma once

#include <string>

#include "document/document.h"

namespace kelno::cli {

// A .kel file loaded into a document exactly as the editor loads it: parsed, then analysed.
struct LoadedKel {
    Document document;
};

// Loads a file. A file newer than this program opens only with `openNewer`; otherwise the
// tool explains why it refuses. On failure prints the reason and returns false.
bool LoadKel(const std::string& path, bool openNewer, LoadedKel& loaded);

}  // namespace kelno::cli
