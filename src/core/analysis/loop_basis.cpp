#include "analysis/loop_basis.h"

#include <algorithm>

namespace kelno {

namespace {

constexpr double kWeightFactor = 1e-10;  // how much an element in a loop is preferred

}  // namespace

LoopBasis::LoopBasis(Circuit& circuit) : queue_(circuit.PointCount()) {
    std::int32_t number = 0;
    points_.reserve(circuit.PointCount());
    for (CircuitPoint& point : circuit.points()) {
        point.serial = number++;
        points_.push_back(&point);
    }
    number = 0;
    elements_.reserve(circuit.ElementCount());
    weight_.reserve(circuit.ElementCount());
    for (CircuitElement& element : circuit.elements()) {
        element.serial = number++;
        elements_.push_back(&element);
        weight_.push_back(element.resistance);
        hasNegativeWeight_ = hasNegativeWeight_ || element.resistance < 0.0;
    }
    std::vector<std::int32_t> stepOfHolder;
    PlanSteps(stepOfHolder);
    CollectLinks(stepOfHolder);
    state_.assign(points_.size(), PointState{0, search_});
}

// For every element that holds a link, the element the search walks through between the
// link's two points. An open switch that holds the link would hide every other element
// between the same two points from the search; when one of those conducts, the first of
// them in list order stands in for the switch.
void LoopBasis::PlanSteps(std::vector<std::int32_t>& stepOfHolder) const {
    stepOfHolder.assign(elements_.size(), kNoStep);
    for (const CircuitElement* element : elements_) {
        if (element->linked() && !element->IsOpenSwitch()) {
            stepOfHolder[element->serial] = element->serial;
        }
    }
    for (const CircuitElement* element : elements_) {
        if (element->linked() || element->IsOpenSwitch() || element->end1() == element->end2()) {
            continue;
        }
        const CircuitElement* holder = element->end1()->LinkTo(element->end2());
        if (holder != nullptr && holder->IsOpenSwitch() &&
            stepOfHolder[holder->serial] == kNoStep) {
            stepOfHolder[holder->serial] = element->serial;
        }
    }
}

void LoopBasis::CollectLinks(const std::vector<std::int32_t>& stepOfHolder) {
    firstLink_.reserve(points_.size() + 1);
    for (const CircuitPoint* point : points_) {
        firstLink_.push_back(static_cast<std::int32_t>(links_.size()));
        for (const auto& [to, holder] : point->links()) {
            links_.push_back({point->serial, to->serial, stepOfHolder[holder->serial]});
        }
    }
    firstLink_.push_back(static_cast<std::int32_t>(links_.size()));
    PairLinks();
}

// Finds for every link p -> q its partner q -> p. The links of two points are symmetric, so
// sorting the links by their unordered pair of points puts the two of a pair side by side;
// a point's link to itself is its own partner.
void LoopBasis::PairLinks() {
    std::vector<std::int32_t> order(links_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::int32_t>(i);
    }
    const auto pairOf = [this](std::int32_t i) {
        const Link& link = links_[i];
        return std::pair{std::min(link.from, link.to), std::max(link.from, link.to)};
    };
    std::sort(order.begin(), order.end(),
              [&](std::int32_t a, std::int32_t b) { return pairOf(a) < pairOf(b); });
    reverse_.resize(links_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool paired = i + 1 < order.size() && pairOf(order[i]) == pairOf(order[i + 1]);
        if (paired) {
            reverse_[order[i]] = order[i + 1];
            reverse_[order[i + 1]] = order[i];
            ++i;
        } else {
            reverse_[order[i]] = order[i];
        }
    }
}

std::vector<LoopPath> LoopBasis::Build(const std::atomic<bool>* cancel) {
    std::vector<LoopPath> loops;
    // Elements already in a loop, and those no loop can pass, need no search.
    std::vector<char> covered = LooplessElements();
    for (CircuitElement* element : elements_) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            break;
        }
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

// The elements no search can find a loop through, so that none is started for them: a
// search floods everything it can reach before it gives up, which in a long chain or a
// tree of wires would make the searches cost the square of the circuit's size. A search
// walks every link but the one the element itself conducts through, so it fails exactly
// when the element's two points lie in different pieces of the network, or when that link
// is a bridge: the only way between its two points. The bridges are found in one
// depth-first walk (Tarjan's low points), kept on a stack of its own so that long chains
// do not exhaust the call stack.
std::vector<char> LoopBasis::LooplessElements() const {
    struct Visit {
        std::int32_t point;
        std::int32_t nextLink;
        std::int32_t arrivedBy;
    };
    constexpr std::uint32_t kUnvisited = 0;
    std::vector<std::uint32_t> order(points_.size(), kUnvisited);  // 1 + the visit order
    std::vector<std::uint32_t> low(points_.size(), 0);
    std::vector<std::int32_t> piece(points_.size(), 0);
    std::vector<char> bridged(elements_.size(), 0);
    std::vector<Visit> stack;
    std::uint32_t visited = 0;
    for (std::int32_t root = 0; root < static_cast<std::int32_t>(points_.size()); ++root) {
        if (order[root] != kUnvisited) {
            continue;
        }
        order[root] = low[root] = ++visited;
        piece[root] = root;
        stack.push_back({root, firstLink_[root], kNoLink});
        while (!stack.empty()) {
            Visit& visit = stack.back();
            const std::int32_t here = visit.point;
            if (visit.nextLink < firstLink_[here + 1]) {
                const std::int32_t i = visit.nextLink++;
                const Link& link = links_[i];
                if (link.step == kNoStep || link.to == here ||
                    (visit.arrivedBy != kNoLink && i == reverse_[visit.arrivedBy])) {
                    continue;
                }
                if (order[link.to] == kUnvisited) {
                    order[link.to] = low[link.to] = ++visited;
                    piece[link.to] = root;
                    stack.push_back({link.to, firstLink_[link.to], i});
                } else {
                    low[here] = std::min(low[here], order[link.to]);
                }
                continue;
            }
            const std::int32_t arrivedBy = visit.arrivedBy;
            stack.pop_back();
            if (arrivedBy == kNoLink) {
                continue;
            }
            const std::int32_t parent = links_[arrivedBy].from;
            low[parent] = std::min(low[parent], low[here]);
            if (low[here] > order[parent]) {
                bridged[links_[arrivedBy].step] = 1;
            }
        }
    }
    std::vector<char> loopless(elements_.size(), 0);
    for (const CircuitElement* element : elements_) {
        loopless[element->serial] = bridged[element->serial] || piece[element->end1()->serial] !=
                                                                    piece[element->end2()->serial];
    }
    return loopless;
}

// A shortest-path search that keeps the ways out of the reached points in a heap. The way
// taken next is the one that a rescan of all reached points would choose: the shortest,
// and of equally short ones the first in point order, then link order. A reached point's
// distance never changes afterwards, so the lengths in the heap stay what a rescan would
// compute, negative weights included; and as a point counts as reached once it has a
// distance, whatever its sign, negative resistances cannot keep the search from ending.
std::optional<LoopPath> LoopBasis::FindLoop(CircuitElement* element) {
    if (element->IsOpenSwitch()) {
        return std::nullopt;
    }
    const std::int32_t start = element->end1()->serial;
    target_ = element->end2()->serial;
    excluded_ = element->serial;
    if (++search_ == 0) {  // the counter wrapped: forget every earlier search
        for (PointState& state : state_) {
            state.reachedIn = 0;
        }
        search_ = 1;
    }
    queue_.Clear();
    Reach(start, {0.0, kNoLink});
    while (!Reached(target_)) {
        std::int32_t next = 0;
        Offer offer{};
        if (!queue_.PopBest(next, offer)) {
            return std::nullopt;
        }
        Reach(next, offer);
        if (!Reached(target_) && TargetIsSettled(offer.length)) {
            const Offer best = queue_.OfferTo(target_);
            Reach(target_, best);
        }
    }
    return PathTo(element, start);
}

// Marks the point reached and offers the ways out of it to points not yet reached,
// except through the element whose loop is sought.
void LoopBasis::Reach(std::int32_t point, const Offer& arrival) {
    state_[point] = {arrival.link, search_};
    if (point == target_) {
        return;
    }
    for (std::int32_t i = firstLink_[point]; i < firstLink_[point + 1]; ++i) {
        const Link& link = links_[i];
        if (link.step == kNoStep || link.step == excluded_ || Reached(link.to)) {
            continue;
        }
        queue_.Improve(link.to, {arrival.length + weight_[link.step], i});
    }
}

// Whether the best way into the target found so far is the one the search will take. With
// no negative weight, every point reached from now on lies at least `reachedLength` away,
// and a way into the target can only come from one of its neighbours: once none of the
// neighbours not yet reached can offer a way that comes before the best one, however soon
// it is reached, nothing else the search would still reach can change the loop.
bool LoopBasis::TargetIsSettled(double reachedLength) const {
    if (hasNegativeWeight_ || !queue_.HasOffer(target_)) {
        return false;
    }
    const Offer& best = queue_.OfferTo(target_);
    for (std::int32_t i = firstLink_[target_]; i < firstLink_[target_ + 1]; ++i) {
        const Link& link = links_[i];
        if (link.step == kNoStep || link.step == excluded_ || link.to == target_ ||
            Reached(link.to)) {
            continue;
        }
        const Offer soonest{reachedLength + weight_[link.step], reverse_[i]};
        if (!Precedes(best, soonest)) {
            return false;
        }
    }
    return true;
}

// The loop: the element itself, then the steps from its end2 back to its end1.
LoopPath LoopBasis::PathTo(CircuitElement* element, std::int32_t start) const {
    LoopPath path;
    path.reserve(20);
    path.push_back({element, true});
    for (std::int32_t here = target_; here != start;) {
        const Link& link = links_[state_[here].arrivedBy];
        CircuitElement* step = elements_[link.step];
        path.push_back({step, step->end1() == points_[here]});
        here = link.from;
    }
    return path;
}

}  // namespace kelno
