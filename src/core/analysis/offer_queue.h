#pragma once

#include <cstdint>
#include <vector>

namespace kelno {

// A way into a point: its length and the number of the link it takes. Links are numbered
// in the order a scan of the points in point order, and of each point's links in link
// order, meets them, so of two equally long offers the one with the lower link number is
// the one such a scan meets first.
struct Offer {
    double length;
    std::int32_t link;
};

// Whether `a` comes before `b`: shorter, or as long and met first by the scan. Lengths are
// compared as numbers, so -0.0 and 0.0 are equally long.
inline bool Precedes(const Offer& a, const Offer& b) {
    return a.length < b.length || (!(b.length < a.length) && a.link < b.link);
}

// The points a search has been offered a way into but has not reached, each with the best
// offer made to it, the point with the best offer first. A binary heap with each point's
// place in it recorded, so that a better offer moves the point up instead of adding a
// second entry: the heap never holds more entries than the search has points on its rim.
class OfferQueue {
public:
    explicit OfferQueue(std::size_t pointCount) : place_(pointCount, kAbsent) {}

    bool empty() const { return heap_.empty(); }

    // Forgets every point; the next search starts afresh.
    void Clear();

    // Records the offer for the point if it comes before the point's present one, or if
    // the point has none. Returns whether it did.
    bool Improve(std::int32_t point, const Offer& offer);

    // The best offer made to the point so far; only for a point that has one.
    const Offer& OfferTo(std::int32_t point) const { return heap_[place_[point]].offer; }
    bool HasOffer(std::int32_t point) const { return place_[point] != kAbsent; }

    // Takes out the point with the best offer and returns it with that offer.
    std::int32_t PopBest(Offer& offer);

private:
    static constexpr std::uint32_t kAbsent = ~std::uint32_t{0};

    struct Entry {
        Offer offer;
        std::int32_t point;
    };

    void Place(std::uint32_t at, const Entry& entry);
    void SiftUp(std::uint32_t at, Entry entry);
    void SiftDown(std::uint32_t at, Entry entry);

    std::vector<Entry> heap_;
    std::vector<std::uint32_t> place_;  // per point number: its place in heap_, or kAbsent
};

}  // namespace kelno
