#include "analysis/offer_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "numeric/bit_cast.h"

namespace kelno {
namespace {

// The keys order lengths as numbers do, across signs, magnitudes, subnormals and
// infinities, with -0.0 and 0.0 as one; and a key gives its length back.
TEST(OfferQueueTest, LengthKeysOrderAsTheLengths) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> ascending{-inf,  -1e300,      -10.0, -1.0,   -1e-300,
                                        -tiny, 0.0,         tiny,  1e-300, 1e-10,
                                        1.0,   1.0 + 1e-15, 10.0,  1e300,  inf};
    for (std::size_t i = 0; i + 1 < ascending.size(); ++i) {
        EXPECT_LT(LengthKey(ascending[i]), LengthKey(ascending[i + 1])) << ascending[i];
    }
    EXPECT_EQ(LengthKey(-0.0), LengthKey(0.0));
    for (const double length : ascending) {
        EXPECT_EQ(BitCast<std::uint64_t>(LengthOfKey(LengthKey(length))),
                  BitCast<std::uint64_t>(length));
    }
}

// A queue that scans every point for the best offer, as the search's definition does.
class ScanningQueue {
public:
    void Improve(int point, const Offer& offer) {
        if (taken_.count(point) != 0) {
            return;
        }
        auto found = best_.find(point);
        if (found == best_.end() || Precedes(offer, found->second)) {
            best_[point] = offer;
        }
    }
    bool PopBest(int& point, Offer& offer) {
        auto best = best_.end();
        for (auto it = best_.begin(); it != best_.end(); ++it) {
            if (best == best_.end() || Precedes(it->second, best->second)) {
                best = it;
            }
        }
        if (best == best_.end()) {
            return false;
        }
        point = best->first;
        offer = best->second;
        taken_[point] = true;
        best_.erase(best);
        return true;
    }

private:
    std::map<int, Offer> best_;
    std::map<int, bool> taken_;
};

// Random offers, improvements and withdrawals over several searches: the heap takes the
// points out in the very order, and with the very offers, of a full scan. Lengths come
// from a small set so that ties (decided by the link) are common, -0.0 among them.
TEST(OfferQueueTest, TakesPointsOutInTheOrderOfAFullScan) {
    constexpr int kPoints = 60;
    const std::vector<double> lengths{-2.5, -1e-9, -0.0, 0.0, 1e-20, 1e-9, 3.0, 3.0 + 1e-15, 10.0};
    std::mt19937 random(11);
    OfferQueue queue(kPoints);
    int pops = 0;
    for (int search = 0; search < 40; ++search) {
        queue.Clear();
        ScanningQueue scan;
        std::vector<char> taken(kPoints, 0);
        int link = 0;
        for (int step = 0; step < 400; ++step) {
            if (random() % 3 != 0) {
                const int point = static_cast<int>(random() % kPoints);
                if (taken[point]) {
                    continue;  // the search never offers a way into a point it has reached
                }
                // Links are offered in no particular order; each one only once.
                const Offer offer{lengths[random() % lengths.size()],
                                  static_cast<std::int32_t>((link++ * 37) % 1000)};
                queue.Improve(point, offer);
                scan.Improve(point, offer);
                ASSERT_TRUE(queue.HasOffer(point));
                continue;
            }
            int expectedPoint = -1;
            Offer expected{};
            int point = -1;
            Offer offer{};
            const bool any = scan.PopBest(expectedPoint, expected);
            ASSERT_EQ(queue.PopBest(point, offer), any);
            if (!any) {
                continue;
            }
            ++pops;
            ASSERT_EQ(point, expectedPoint) << "search " << search << " step " << step;
            EXPECT_EQ(offer.link, expected.link);
            EXPECT_EQ(offer.length, expected.length);
            taken[point] = 1;
        }
    }
    EXPECT_GT(pops, 2000);
}

TEST(OfferQueueTest, ANewSearchForgetsEveryOffer) {
    OfferQueue queue(4);
    queue.Improve(2, {1.0, 5});
    queue.Clear();
    EXPECT_FALSE(queue.HasOffer(2));
    int point = -1;
    Offer offer{};
    EXPECT_FALSE(queue.PopBest(point, offer));
    // A worse offer than the forgotten one is taken as the point's first.
    EXPECT_TRUE(queue.Improve(2, {7.0, 9}));
    EXPECT_EQ(queue.OfferTo(2).link, 9);
}

}  // namespace
}  // namespace kelno
