#pragma once

#include <cstdint>
#include <list>
#include <map>

namespace kelno {

class CircuitElement;
class CircuitPoint;

// Orders points by their creation sequence, so that walking a point's links visits the
// neighbours in the same order on every run and every machine.
struct PointOrder {
    bool operator()(const CircuitPoint* a, const CircuitPoint* b) const;
};

// Neighbour point -> the one element that joins this point and the neighbour.
using LinkMap = std::map<CircuitPoint*, CircuitElement*, PointOrder>;

// A connection point. Elements are connected only through the same point object, never
// by equal coordinates. Handles (pointers) stay valid until the point is removed.
class CircuitPoint {
public:
    // Work field; the deep copy writes the point's list position into it.
    mutable std::int32_t tag = 0;
    // Work field; saving and the analysis write the point's list position into it.
    std::int32_t serial = 0;
    // Drawing coordinates in 0.1 mm, x to the right, y upward.
    std::int32_t x = 0;
    std::int32_t y = 0;

    const LinkMap& links() const { return links_; }
    std::size_t Degree() const { return links_.size(); }

    // The element that holds the link between this point and `neighbour`, or nullptr.
    CircuitElement* LinkTo(const CircuitPoint* neighbour) const;

    // Creation sequence number within its circuit; the order of links.
    std::uint64_t sequence() const { return sequence_; }

private:
    friend class Circuit;
    std::uint64_t sequence_ = 0;
    LinkMap links_;
    std::list<CircuitPoint>::iterator self_;
};

inline bool PointOrder::operator()(const CircuitPoint* a, const CircuitPoint* b) const {
    return a->sequence() < b->sequence();
}

}  // namespace kelno
