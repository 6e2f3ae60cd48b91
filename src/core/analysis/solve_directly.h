#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "analysis/mutual_terms.h"

namespace kelno {

// Most non-zero coefficients a system may have for SolveDirectly to take it on; beyond
// this the matrix and its factor would not fit in the memory an analysis may use.
inline constexpr std::size_t kDirectSolveEntryLimit = std::size_t{1} << 22;

// Solves the loop equations at once, for when the sweeps do not settle: for each loop u,
// selfResistance[u] * I[u] - sum over t of mutual[u][t] * I[t] = drive[u], with the mutual
// terms from `terms` and `drive` as the loops' electromotive forces summed before any
// sweep. A loop without resistance and without drive carries nothing, as in the sweeps.
// Returns the loop currents, or nothing when the system is singular, too large, or its
// solution not finite, beyond `currentLimit`, or does not satisfy the equations.
std::optional<std::vector<double>> SolveDirectly(std::span<const double> selfResistance,
                                                 std::span<const double> drive, MutualTerms& terms,
                                                 double currentLimit);

}  // namespace kelno
