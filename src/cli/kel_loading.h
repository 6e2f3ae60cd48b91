#pragma once

#include <string>

#include "analysis/analyze.h"
#include "io/kel_file.h"

namespace kelno::cli {

// A .kel file loaded as the editor loads it: parsed, then analysed.
struct LoadedKel {
    KelReadResult file;
    bool analysisOk = false;
    AnalysisReport report;
};

// Reads and analyses a file. A file newer than this program opens only with `openNewer`;
// otherwise the tool explains why it refuses. On failure prints the reason and returns false.
bool LoadKel(const std::string& path, bool openNewer, LoadedKel& loaded);

}  // namespace kelno::cli
