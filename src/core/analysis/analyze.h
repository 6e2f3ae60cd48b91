#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/circuit.h"

namespace kelno {

// Why an analysis ended as it did.
enum class AnalysisOutcome {
    Solved,
    ZeroResistanceLoop,  // a loop with a driving voltage but no resistance
    CurrentLimit,        // a loop current beyond 1000000 A (or not a number)
    NoConvergence,       // the sweeps did not settle within their bound
    NonFiniteValue,      // a conducting element with an infinite or undefined value
    Cancelled,           // stopped from outside before it ended; the currents mean nothing
};

// Set, from any thread, to stop an analysis under way: it then ends soon as Cancelled.
using CancelFlag = std::atomic<bool>;

// The outcome as reports name it: "solved", "zero-resistance-loop", "current-limit",
// "no-convergence", "non-finite-value", "cancelled".
const char* OutcomeName(AnalysisOutcome outcome);

struct AnalysisReport {
    AnalysisOutcome outcome = AnalysisOutcome::Solved;
    std::size_t loops = 0;
    std::size_t sweeps = 0;
    // The sweeps did not settle, and the currents come from solving the same loop
    // equations at once instead.
    bool solvedDirectly = false;
    // After a failure: the elements of the loop that failed, by position in the circuit's
    // list, in the order the loop passes them (for a value that is not finite, the elements
    // that carry one). Empty after a success.
    std::vector<std::size_t> failingLoop;
};

// Most Gauss-Seidel sweeps an analysis runs before it gives up as a failure.
inline constexpr std::size_t kMaxSweeps = 1000000;

// The sweeps also give up, as a failure, once they have done more work than a bound that
// depends on the size of the system, so that circuits whose sweeps never settle (negative
// resistances) cost a bounded time however many sweeps each takes. The work of the sweeps
// so far is checked before each sweep: one unit per loop visited in each sweep, and for
// each accepted update of a loop, one unit per other loop whose right-hand side it changes
// (the non-zero mutual terms of its row).
inline constexpr std::uint64_t kMinSweepWork = 100000000;
inline constexpr std::uint64_t kSweepWorkPerSizeSquared = 2;

// The bound for a system of `loops` equations whose loops pass elements with resistance
// `passages` times in all: kSweepWorkPerSizeSquared times (loops + passages) squared, and
// at least kMinSweepWork.
std::uint64_t SweepWorkLimit(std::uint64_t loops, std::uint64_t passages);

// Computes the steady current of every element by loop-current analysis and writes it
// into `current` (positive from end1 to end2). When the sweeps give up without settling,
// the same loop equations are solved directly (see `solvedDirectly`). Returns false when
// the circuit has no finite solution within the limits; every current is then 0.0. Also
// numbers the circuit's points and elements into their `serial` fields. With `cancel`, the
// search for loops and the sweeps look at it between steps and end as Cancelled (false,
// every current 0.0) once it is set; nothing else of their arithmetic changes.
bool Analyze(Circuit& circuit, AnalysisReport* report = nullptr,
             const CancelFlag* cancel = nullptr);

}  // namespace kelno
