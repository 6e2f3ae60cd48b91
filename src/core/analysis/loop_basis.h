#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/circuit.h"

namespace kelno {

// One step of a loop: an element and whether the loop passes it from end1 to end2.
struct LoopStep {
    CircuitElement* element;
    bool forward;
};

// A closed loop. The first step is the element the loop was built for, passed forward;
// the others lead from that element's end2 back to its end1.
using LoopPath = std::vector<LoopStep>;

// Reads a circuit as a network and finds an ordered basis of independent loops by
// shortest-path search. The search favours zero-resistance elements and, through the
// shrinking weights, elements that already belong to a loop.
//
// Constructing it numbers the circuit: every point's and element's `serial` becomes its
// list position. Nothing else of the circuit changes.
class LoopBasis {
public:
    explicit LoopBasis(Circuit& circuit);

    // The loops in the order they are found; each passes through an element that no
    // earlier loop contains.
    std::vector<LoopPath> Build();

    // The shortest loop through `element` under the present weights, if there is one.
    std::optional<LoopPath> FindLoop(CircuitElement* element);

    const std::vector<CircuitPoint*>& pointsByNumber() const { return points_; }
    const std::vector<CircuitElement*>& elementsByNumber() const { return elements_; }

private:
    void PlanSteps();

    std::vector<CircuitPoint*> points_;
    std::vector<CircuitElement*> elements_;
    std::vector<double> weight_;  // per element number
    // Per element number of a link holder: the element the search walks through between
    // the link's two points, or nullptr when the pair does not conduct.
    std::vector<CircuitElement*> step_;

    // Search state per point number, kept between searches to avoid reallocation.
    std::vector<double> distance_;
    std::vector<char> reached_;
    std::vector<CircuitPoint*> predecessor_;
};

}  // namespace kelno
