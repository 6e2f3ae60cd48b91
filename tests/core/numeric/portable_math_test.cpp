#include "numeric/portable_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "editing/circuit_edits.h"
#include "model/circuit.h"
#include "render/element_frame.h"
#include "render/format_value.h"
#include "text/number_text.h"

namespace kelno {
namespace {

// Where the program ran on the system's C library until now: the decisions made there are
// the ones the portable arithmetic must keep.
#if defined(__GLIBC__)
constexpr bool kOnTheDesktopsLibrary = true;
#else
constexpr bool kOnTheDesktopsLibrary = false;
#endif

// A running digest of decisions, the same on every toolchain when the decisions are.
class Digest {
public:
    void Add(std::int64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ = (hash_ ^ static_cast<std::uint8_t>(value >> (8 * i))) * 0x100000001b3u;
        }
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325u;
};

// Junctions with three to six links at random offsets, some of them on one line with the
// grabbed spot or each other, pulled in random directions and straight along each link
// give or take a unit: the near-ties of the angle comparison.
struct Pull {
    std::vector<std::pair<std::int32_t, std::int32_t>> neighbours;  // offsets from the point
    LogicalPoint grabbed{0, 0};
    std::int64_t dx = 0;
    std::int64_t dy = 0;
};

// A whole number from low to high from the engine's raw output, which the C++ standard
// fixes; its distributions differ between libraries, and the tables must not.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}
    int operator()(int low, int high) {
        return low + static_cast<int>(engine_() % static_cast<std::uint32_t>(high - low + 1));
    }

private:
    std::mt19937 engine_;
};

std::vector<Pull> MakePulls(int junctions) {
    Draw random(17);
    const auto offset = [&] { return random(-600, 600); };
    const auto small = [&] { return random(-40, 40); };
    std::vector<Pull> pulls;
    for (int j = 0; j < junctions; ++j) {
        Pull base;
        for (int n = random(3, 6); n > 0; --n) {
            const int x = offset();
            const int y = n % 3 == 0 ? x : offset();  // some exactly diagonal
            base.neighbours.push_back({x, y});
        }
        const int gx = small() / 8;
        base.grabbed = {gx, small() / 8};
        for (int k = 0; k < 6; ++k) {
            Pull pull = base;
            if (k < 2) {
                pull.dx = small();
                pull.dy = small();
            } else {
                const auto [x, y] = base.neighbours[static_cast<std::size_t>(k) % base.neighbours.size()];
                pull.dx = x - base.grabbed.x + (k == 3 ? 1 : 0);
                pull.dy = y - base.grabbed.y - (k == 4 ? 1 : 0);
            }
            pulls.push_back(pull);
        }
    }
    return pulls;
}

// Today's rule with the system's atan2: the link nearest the drag direction by the plain
// difference of the angles, within the detach angle, the earlier link on a tie.
const CircuitElement* LinkWithSystemAtan2(const CircuitPoint& point, const Pull& pull) {
    const double dragAngle = std::atan2(static_cast<double>(pull.dx), static_cast<double>(pull.dy));
    double best = 1.0;
    const CircuitElement* chosen = nullptr;
    for (const auto& [neighbour, element] : point.links()) {
        const double angle = std::atan2(static_cast<double>(neighbour->x - pull.grabbed.x),
                                        static_cast<double>(neighbour->y - pull.grabbed.y));
        const double difference = std::fabs(angle - dragAngle);
        if (difference < best) {
            best = difference;
            chosen = element;
        }
    }
    return best < kDetachAngle ? chosen : nullptr;
}

TEST(PortableAngles, PullsTakeTheSameLinkOnEveryToolchain) {
    Digest digest;
    int changed = 0;
    int detached = 0;
    for (const Pull& pull : MakePulls(4000)) {
        Circuit circuit;
        CircuitPoint* junction = circuit.AddPoint(0, 0, 0);
        std::vector<const CircuitElement*> elements;
        for (const auto& [x, y] : pull.neighbours) {
            CircuitPoint* other = circuit.AddPoint(0, x, y);
            elements.push_back(
                circuit.AddElement(DefaultRecord(ElementKind::Wire), junction, other).element);
        }
        const CircuitElement* chosen = LinkToDetach(*junction, pull.grabbed, pull.dx, pull.dy);
        const auto at = std::find(elements.begin(), elements.end(), chosen);
        digest.Add(chosen == nullptr ? -1 : at - elements.begin());
        detached += chosen != nullptr ? 1 : 0;
        if (kOnTheDesktopsLibrary && chosen != LinkWithSystemAtan2(*junction, pull)) {
            ++changed;
        }
    }
    EXPECT_EQ(changed, 0) << "pulls whose link differs from the system atan2's choice";
    EXPECT_GT(detached, 6000) << "the table must exercise real detaching";
    EXPECT_EQ(digest.value(), 12559477355651295684u) << "the desktop's choices for 24000 pulls";
}

int QuadrantWithSystemAtan2(DrawPoint end1, DrawPoint end2) {
    const double radians =
        std::atan2(static_cast<double>(end1.x - end2.x), static_cast<double>(end1.y - end2.y));
    const auto degrees = static_cast<int>(radians * 57.29582790879778);
    return ((degrees + 225) % 360) / 90;
}

TEST(PortableAngles, ComponentsFaceTheSameSideOnEveryToolchain) {
    // Directions around each boundary between two sides (45 degrees as the program counts
    // them, slightly off the true diagonal), at lengths up to a million units.
    Digest digest;
    int changed = 0;
    Draw random(45);
    for (int i = 0; i < 200'000; ++i) {
        const int x = random(1, 1'000'000);
        const int y = x + random(-20, 20) * (1 + x / 100'000);
        const int signs = i % 4;
        const DrawPoint end2{signs & 1 ? -x : x, signs & 2 ? -y : y};
        const int quadrant = ElementQuadrant({0, 0}, end2);
        digest.Add(quadrant);
        if (kOnTheDesktopsLibrary && quadrant != QuadrantWithSystemAtan2({0, 0}, end2)) {
            ++changed;
        }
    }
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(digest.value(), 953157864393498916u) << "the desktop's sides of 200000 directions";
}

TEST(PortableAngles, ArctangentWithinOneUnitInTheLastPlace) {
    std::mt19937 random(2);
    std::uniform_int_distribution<int> coordinate(-2'000'000, 2'000'000);
    for (int i = 0; i < 100'000; ++i) {
        const double y = coordinate(random);
        const double x = coordinate(random);
        const double expected = std::atan2(y, x);
        const double got = PortableAtan2(y, x);
        ASSERT_LE(std::fabs(got - expected), std::fabs(std::nextafter(expected, 0.0) - expected))
            << y << ", " << x;
    }
}

// The potential label as the program wrote it with the system's log10 and pow.
std::string PotentialWithSystemMaths(double volts) {
    if (!std::isfinite(volts)) {
        return "? V";
    }
    int exponent = volts == 0.0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(volts))));
    const double step = std::pow(10.0, exponent - 2);
    const double rounded = std::round(volts / step) * step;
    if (std::fabs(rounded) >= std::pow(10.0, exponent + 1)) {
        ++exponent;
    }
    std::string text = FormatFixed(rounded, std::clamp(2 - exponent, 0, 3));
    if (text.find_first_not_of("-0.") == std::string::npos) {
        text = "0.00";
    }
    return text + " V";
}

TEST(PortableDecades, PotentialLabelsAsWithTheSystemMaths) {
    if (!kOnTheDesktopsLibrary) {
        GTEST_SKIP() << "compares with the desktop's C library";
    }
    // The powers are the nearest doubles. The C library's pow agrees but for 10^23 and
    // 10^210, which lie within a hair of halfway between two doubles; it takes the upper.
    for (int e = -330; e <= 310; ++e) {
        if (e == 23 || e == 210) {
            ASSERT_EQ(std::nextafter(PowerOfTen(e), HUGE_VAL), std::pow(10.0, e)) << e;
        } else {
            ASSERT_EQ(PowerOfTen(e), std::pow(10.0, e)) << e;
        }
    }
    // Labels from the smallest double up to 10^20 V, far beyond any battery of a
    // classroom, come out as before; beyond, the two powers above may move a last digit.
    std::vector<double> volts;
    for (int e = -323; e <= 20; ++e) {
        double power = PowerOfTen(e);
        for (int step = 0; step < 4; ++step) {
            volts.push_back(power);
            volts.push_back(-power * 9.995);
            power = std::nextafter(power, 0.0);
        }
    }
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 6);
    for (int i = 0; i < 200'000; ++i) {
        volts.push_back(mantissa(random) * PowerOfTen(exponent(random)));
    }
    int mended = 0;
    for (const double v : volts) {
        const std::string before = PotentialWithSystemMaths(v);
        if (before.find("nan") != std::string::npos) {
            // Subnormal potentials divided by a step that underflowed to zero.
            ASSERT_LT(std::fabs(v), 1e-300);
            EXPECT_EQ(FormatPotential(v), "0.00 V");
            ++mended;
        } else {
            ASSERT_EQ(FormatPotential(v), before) << ShortestRoundTrip(v);
        }
    }
    EXPECT_LT(mended, 100);
}

}  // namespace
}  // namespace kelno
