#pragma once

#include <cstdint>
#include <vector>

#include "numeric/bit_cast.h"

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

// A length as an unsigned integer that orders as the length does: the bits of a double
// turned so that negative numbers come first, largest magnitude first. -0.0 becomes 0.0
// first, so that the two are equally long here too. (A length that is not a number has no
// place in the order; the search never makes one from finite weights.)
inline std::uint64_t LengthKey(double length) {
    constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
    const auto bits = BitCast<std::uint64_t>(length + 0.0);
    return (bits & kSign) != 0 ? ~bits : bits | kSign;
}

inline double LengthOfKey(std::uint64_t key) {
    constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
    return BitCast<double>((key & kSign) != 0 ? key & ~kSign : ~key);
}

// The points a search has been offered a way into but has not taken, the point with the
// best offer first. Each point keeps its best offer; a better one is added to a four-way
// heap beside the older ones, which stay there until they come up and are passed over.
// That costs a few entries more than moving a point up, but no bookkeeping of places.
// A search touches only the points it offers ways to.
class OfferQueue {
public:
    explicit OfferQueue(std::size_t pointCount) : best_(pointCount) {}

    // Forgets every point; the next search starts afresh.
    void Clear();

    // Records the offer for the point if it comes before the point's present one, or if
    // the point has none. Returns whether it did.
    bool Improve(std::int32_t point, const Offer& offer);

    // The best offer made to the point so far; only for a point that has one.
    Offer OfferTo(std::int32_t point) const {
        return {LengthOfKey(best_[point].key), best_[point].link};
    }
    bool HasOffer(std::int32_t point) const { return best_[point].round == round_; }

    // Takes out the point with the best offer and gives it with that offer; false when no
    // point is left. A point taken out is not taken out again.
    bool PopBest(std::int32_t& point, Offer& offer);

private:
    // An offer in one number that orders as the offers do: the length's key, then the
    // link, then the point (which the link decides, so it never breaks a tie).
    __extension__ using Entry = unsigned __int128;
    struct Best {
        std::uint64_t key = 0;
        std::int32_t link = 0;
        std::uint32_t round = 0;  // the offer belongs to the present search when equal to round_
    };

    static Entry MakeEntry(std::uint64_t key, std::int32_t link, std::int32_t point) {
        return Entry{key} << 64 | Entry{static_cast<std::uint32_t>(link)} << 32 |
               static_cast<std::uint32_t>(point);
    }
    static std::uint64_t KeyOf(Entry entry) { return static_cast<std::uint64_t>(entry >> 64); }
    static std::int32_t LinkOf(Entry entry) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(entry >> 32));
    }
    static std::int32_t PointOf(Entry entry) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(entry));
    }
    void Push(const Entry& entry);
    Entry PopTop();

    std::vector<Entry> heap_;
    std::vector<Best> best_;  // per point number
    std::uint32_t round_ = 1;
};

}  // namespace kelno
