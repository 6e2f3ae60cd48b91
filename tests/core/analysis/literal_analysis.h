#pragma once

#include <vector>

#include "analysis/analyze.h"
#include "analysis/loop_basis.h"
#include "model/circuit.h"

namespace kelno::testing {

// The loop analysis exactly as the algorithm is written, step by step and without any
// shortcut: every search rescans all reached points for each point it reaches, and the
// mutual terms live in a full n x n matrix. The program's own analysis must give the very
// same loops, doubles and report; the tests compare the two.

// The loops of the basis, found by the rescanning search.
std::vector<LoopPath> LiteralLoops(Circuit& circuit);

// The whole analysis; writes currents and numbers as Analyze does.
bool LiteralAnalyze(Circuit& circuit, AnalysisReport* report = nullptr);

}  // namespace kelno::testing
