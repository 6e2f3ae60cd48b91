#include "analysis/point_potentials.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <queue>
#include <tuple>
#include <unordered_map>

namespace kelno {

namespace {

// One way through a conducting element, from the point that holds it to `to`.
struct Branch {
    std::size_t to;
    double resistance;  // magnitude: the length of the step
    double rise;        // potential at `to` minus potential at the holder
};

class PotentialSolver {
public:
    explicit PotentialSolver(const Circuit& circuit) {
        std::unordered_map<const CircuitPoint*, std::size_t> index;
        for (const CircuitPoint& point : circuit.points()) {
            index.emplace(&point, index.size());
        }
        branches_.resize(index.size());
        potentials_.resize(index.size());
        for (const CircuitElement& element : circuit.elements()) {
            AddBranches(element, index.at(element.end1()), index.at(element.end2()));
        }
        for (const CircuitElement& element : circuit.elements()) {
            if (element.kind == ElementKind::Battery) {
                const CircuitPoint* negative = element.emf < 0 ? element.end2() : element.end1();
                SpreadFrom(index.at(negative));
            }
        }
    }

    PointPotentialList Take() { return std::move(potentials_); }

private:
    void AddBranches(const CircuitElement& element, std::size_t end1, std::size_t end2) {
        if (element.IsOpenSwitch() || end1 == end2) {
            return;
        }
        const double rise = element.emf - element.resistance * element.current;
        // A value that is not a number would upset the queue's order; such a step goes last.
        const double length =
            std::isnan(element.resistance) ? HUGE_VAL : std::fabs(element.resistance);
        branches_[end1].push_back({end2, length, rise});
        branches_[end2].push_back({end1, length, -rise});
    }

    // Gives every point of the reference's piece its potential, unless an earlier battery
    // of the same piece has done so. Least resistance first (Dijkstra); equal lengths keep
    // the order in which the steps were found, so the result is the same on every run.
    void SpreadFrom(std::size_t reference) {
        if (potentials_[reference]) {
            return;
        }
        using Entry = std::tuple<double, std::uint64_t, std::size_t, double>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
        std::uint64_t found = 0;
        queue.emplace(0.0, found++, reference, 0.0);
        while (!queue.empty()) {
            const auto [length, order, point, potential] = queue.top();
            queue.pop();
            if (potentials_[point]) {
                continue;
            }
            potentials_[point] = potential;
            for (const Branch& branch : branches_[point]) {
                if (!potentials_[branch.to]) {
                    queue.emplace(length + branch.resistance, found++, branch.to,
                                  potential + branch.rise);
                }
            }
        }
    }

    std::vector<std::vector<Branch>> branches_;
    PointPotentialList potentials_;
};

}  // namespace

PointPotentialList PointPotentials(const Circuit& circuit) {
    return PotentialSolver(circuit).Take();
}

}  // namespace kelno
