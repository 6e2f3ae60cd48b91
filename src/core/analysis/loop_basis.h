#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/offer_queue.h"
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
    // earlier loop contains. Stops early, with the loops found so far, once `cancel` is set.
    std::vector<LoopPath> Build(const std::atomic<bool>* cancel = nullptr);

    // The shortest loop through `element` under the present weights, if there is one.
    // Of several equally short routes it takes the one a scan of the reached points in
    // point order, and of each point's links in link order, meets first.
    std::optional<LoopPath> FindLoop(CircuitElement* element);

    const std::vector<CircuitPoint*>& pointsByNumber() const { return points_; }
    const std::vector<CircuitElement*>& elementsByNumber() const { return elements_; }

private:
    static constexpr std::int32_t kNoStep = -1;
    static constexpr std::int32_t kNoLink = -1;

    // A point's link as the search walks it: the two points and the element that conducts
    // between them (kNoStep when nothing does).
    struct Link {
        std::int32_t from;
        std::int32_t to;
        std::int32_t step;
    };

    void PlanSteps(std::vector<std::int32_t>& stepOfHolder) const;
    void CollectLinks(const std::vector<std::int32_t>& stepOfHolder);
    void PairLinks();
    std::vector<char> LooplessElements() const;
    void Reach(std::int32_t point, const Offer& arrival);
    bool TargetIsSettled(double reachedLength) const;
    LoopPath PathTo(CircuitElement* element, std::int32_t start) const;
    bool Reached(std::int32_t point) const { return state_[point].reachedIn == search_; }

    std::vector<CircuitPoint*> points_;
    std::vector<CircuitElement*> elements_;
    std::vector<double> weight_;  // per element number
    bool hasNegativeWeight_ = false;

    // Every point's links in point order, each point's in link order: point p's are
    // links_[firstLink_[p]] up to links_[firstLink_[p + 1]].
    std::vector<std::int32_t> firstLink_;
    std::vector<Link> links_;
    std::vector<std::int32_t> reverse_;  // per link: the same link seen from its other point

    // Search state per point number. A point is reached in the present search when its
    // reachedIn equals search_, so a search touches only what it reaches.
    struct PointState {
        std::int32_t arrivedBy;  // the link that reached the point
        std::uint32_t reachedIn;
    };
    std::uint32_t search_ = 0;
    std::vector<PointState> state_;
    OfferQueue queue_;

    // The search under way: the point it looks for and the element it must not pass.
    std::int32_t target_ = 0;
    std::int32_t excluded_ = kNoStep;
};

}  // namespace kelno
