#pragma once

#include <cstddef>

#include "model/circuit.h"

namespace kelno {

// Why an analysis ended as it did.
enum class AnalysisOutcome {
    Solved,
    ZeroResistanceLoop,  // a loop with a driving voltage but no resistance
    CurrentLimit,        // a loop current beyond 1000000 A (or not a number)
    NoConvergence,       // the sweeps did not settle within their bound
    NonFiniteValue,      // a conducting element with an infinite or undefined value
};

struct AnalysisReport {
    AnalysisOutcome outcome = AnalysisOutcome::Solved;
    std::size_t loops = 0;
    std::size_t sweeps = 0;
};

// Most Gauss-Seidel sweeps an analysis runs before it gives up as a failure.
inline constexpr std::size_t kMaxSweeps = 1000000;

// Computes the steady current of every element by loop-current analysis and writes it
// into `current` (positive from end1 to end2). Returns false when the circuit has no
// finite solution within the limits; every current is then 0.0. Also numbers the
// circuit's points and elements into their `serial` fields.
bool Analyze(Circuit& circuit, AnalysisReport* report = nullptr);

}  // namespace kelno
