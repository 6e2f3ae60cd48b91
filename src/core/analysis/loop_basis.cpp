#include "analysis/loop_basis.h"

namespace kelno {

namespace {
constexpr double kWeightFactor = 1e-10;  // how much an element in a loop is preferred
}

LoopBasis::LoopBasis(Circuit& circuit) {
    std::int32_t number = 0;
    for (CircuitPoint& point : circuit.points()) {
        point.serial = number++;
        points_.push_back(&point);
    }
    number = 0;
    for (CircuitElement& element : circuit.elements()) {
        element.serial = number++;
        elements_.push_back(&element);
        weight_.push_back(element.resistance);
    }
    distance_.assign(points_.size(), -1.0);
    reached_.assign(points_.size(), 0);
    predecessor_.assign(points_.size(), nullptr);
    PlanSteps();
}

// An open switch that holds the link of two points would hide every other element
// between the same two points from the search. When one of those conducts, the first of
// them in list order stands in for the switch as the step between the two points.
void LoopBasis::PlanSteps() {
    step_.assign(elements_.size(), nullptr);
    for (CircuitElement* element : elements_) {
        if (element->linked() && !element->IsOpenSwitch()) {
            step_[element->serial] = element;
        }
    }
    for (CircuitElement* element : elements_) {
        if (element->linked() || element->IsOpenSwitch() || element->end1() == element->end2()) {
            continue;
        }
        CircuitElement* holder = element->end1()->LinkTo(element->end2());
        if (holder != nullptr && holder->IsOpenSwitch() && step_[holder->serial] == nullptr) {
            step_[holder->serial] = element;
        }
    }
}

std::vector<LoopPath> LoopBasis::Build() {
    std::vector<LoopPath> loops;
    loops.reserve(elements_.size());
    std::vector<char> covered(elements_.size(), 0);
    for (CircuitElement* element : elements_) {
        if (covered[element->serial]) {
            continue;
        }
        std::optional<LoopPath> path = FindLoop(element);
        if (!path) {
            continue;
        }
        for (const LoopStep& step : *path) {
            covered[step.element->serial] = 1;
            weight_[step.element->serial] *= kWeightFactor;
        }
        loops.push_back(std::move(*path));
    }
    return loops;
}

// A plain shortest-path search that rescans every reached point for each new point it
// reaches. Ties keep the first candidate in point order, then link order. A point counts
// as reached once it has a distance, whatever its sign, so negative resistances cannot
// keep the search from ending.
std::optional<LoopPath> LoopBasis::FindLoop(CircuitElement* element) {
    if (element->IsOpenSwitch()) {
        return std::nullopt;
    }
    const std::int32_t start = element->end1()->serial;
    const std::int32_t target = element->end2()->serial;
    distance_.assign(points_.size(), -1.0);
    reached_.assign(points_.size(), 0);
    distance_[start] = 0.0;
    reached_[start] = 1;

    while (!reached_[target]) {
        CircuitPoint* bestFrom = nullptr;
        CircuitPoint* bestTo = nullptr;
        double bestLength = 0.0;
        for (CircuitPoint* from : points_) {
            if (!reached_[from->serial]) {
                continue;
            }
            for (const auto& [to, holder] : from->links()) {
                const CircuitElement* step = step_[holder->serial];
                if (step == nullptr || step == element || reached_[to->serial]) {
                    continue;
                }
                const double length = distance_[from->serial] + weight_[step->serial];
                if (bestTo == nullptr || length < bestLength) {
                    bestFrom = from;
                    bestTo = to;
                    bestLength = length;
                }
            }
        }
        if (bestTo == nullptr) {
            return std::nullopt;
        }
        distance_[bestTo->serial] = bestLength;
        reached_[bestTo->serial] = 1;
        predecessor_[bestTo->serial] = bestFrom;
    }

    LoopPath path;
    path.reserve(20);
    path.push_back({element, true});
    for (CircuitPoint* here = points_[target]; here != points_[start];) {
        CircuitPoint* previous = predecessor_[here->serial];
        CircuitElement* step = step_[here->LinkTo(previous)->serial];
        path.push_back({step, step->end1() == here});
        here = previous;
    }
    return path;
}

}  // namespace kelno
