#include "analysis/solve_directly.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <Eigen/SparseLU>
#include <algorithm>
#include <cmath>

namespace kelno {

namespace {

using SparseMatrix = Eigen::SparseMatrix<double, Eigen::ColMajor, int>;
using Vector = Eigen::VectorXd;

// A solution is taken only when every equation holds to this share of the size of its
// terms: a factorisation of a singular system can end "successfully" with a meaningless
// answer, and this is where it shows.
constexpr double kResidualTolerance = 1e-9;

// The coefficient matrix, both triangles. A loop that shares nothing and has no resistance
// of its own gets 1.0 on its diagonal, so that its current comes out as its drive, 0.0.
std::optional<SparseMatrix> BuildMatrix(std::span<const double> selfResistance,
                                        MutualTerms& terms) {
    const std::size_t n = selfResistance.size();
    std::size_t entries = n;
    for (std::size_t u = 0; u < n; ++u) {
        entries += terms.RowLength(u);
    }
    if (entries > kDirectSolveEntryLimit) {
        return std::nullopt;
    }
    std::vector<Eigen::Triplet<double, int>> triplets;
    triplets.reserve(entries);
    for (std::size_t u = 0; u < n; ++u) {
        const int row = static_cast<int>(u);
        const bool isolated = selfResistance[u] == 0.0 && terms.RowLength(u) == 0;
        triplets.emplace_back(row, row, isolated ? 1.0 : selfResistance[u]);
        for (const MutualEntry& entry : terms.Row(u)) {
            triplets.emplace_back(row, static_cast<int>(entry.loop), -entry.value);
        }
    }
    SparseMatrix matrix(static_cast<int>(n), static_cast<int>(n));
    matrix.setFromTriplets(triplets.begin(), triplets.end());
    return matrix;
}

// True when `x` is finite, within the limit, and satisfies every equation.
bool Acceptable(const SparseMatrix& matrix, const Vector& x, const Vector& b, double currentLimit) {
    for (Eigen::Index i = 0; i < x.size(); ++i) {
        if (!(std::fabs(x[i]) <= currentLimit)) {
            return false;
        }
    }
    const Vector residual = matrix * x - b;
    const Vector scale = matrix.cwiseAbs() * x.cwiseAbs() + b.cwiseAbs();
    for (Eigen::Index i = 0; i < x.size(); ++i) {
        if (!(std::fabs(residual[i]) <= kResidualTolerance * scale[i])) {
            return false;
        }
    }
    return true;
}

template <class Solver>
std::optional<Vector> Solve(const SparseMatrix& matrix, const Vector& b, double currentLimit) {
    Solver solver;
    solver.compute(matrix);
    if (solver.info() != Eigen::Success) {
        return std::nullopt;
    }
    Vector x = solver.solve(b);
    if (solver.info() != Eigen::Success || !Acceptable(matrix, x, b, currentLimit)) {
        return std::nullopt;
    }
    return x;
}

}  // namespace

std::optional<std::vector<double>> SolveDirectly(std::span<const double> selfResistance,
                                                 std::span<const double> drive, MutualTerms& terms,
                                                 double currentLimit) {
    std::optional<SparseMatrix> matrix = BuildMatrix(selfResistance, terms);
    if (!matrix) {
        return std::nullopt;
    }
    const Vector b =
        Eigen::Map<const Vector>(drive.data(), static_cast<Eigen::Index>(drive.size()));
    // The matrix is symmetric and, with positive resistances, positive definite: a
    // Cholesky factorisation serves. Negative resistances can leave it indefinite, and
    // a factorisation with pivoting takes over where the first one breaks down.
    std::optional<Vector> x = Solve<Eigen::SimplicialLDLT<SparseMatrix>>(*matrix, b, currentLimit);
    if (!x) {
        x = Solve<Eigen::SparseLU<SparseMatrix>>(*matrix, b, currentLimit);
    }
    if (!x) {
        return std::nullopt;
    }
    return std::vector<double>(x->data(), x->data() + x->size());
}

}  // namespace kelno
