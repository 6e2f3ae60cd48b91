#include "render/warning_marks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "analysis/analyze.h"
#include "core/render/recording_surface.h"
#include "render/draw_circuit.h"

namespace kelno {
namespace {

using testing::RecordingSurface;

// Two logical units to the pixel: the join tolerance of 20 pixels is 40 units.
const ViewScale kScale(0.5, 0.5);

struct EndCase {
    const char* name;
    std::int32_t pixels;  // from the loose end to the other point, along a diagonal
    bool joinedByAWire;   // the two points are already joined by a short wire
    bool marked;
};

class UnjoinedEndsTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(UnjoinedEndsTest, LooseEndNearAnotherPointIsMarkedWithinTheJoinTolerance) {
    const EndCase& c = GetParam();
    Circuit circuit;
    CircuitPoint* loose = circuit.AddPoint(0, 1000, -1000);
    circuit.AddElement(DefaultRecord(ElementKind::Bulb), circuit.AddPoint(1, 600, -1000), loose);
    // A junction of two wires: not an end, so only the loose end can be marked.
    CircuitPoint* junction = circuit.AddPoint(2, 1000 + 2 * c.pixels, -1000 - 2 * c.pixels);
    circuit.AddElement(DefaultRecord(ElementKind::Wire), junction,
                       circuit.AddPoint(3, 2000, -1000));
    circuit.AddElement(DefaultRecord(ElementKind::Wire), junction,
                       circuit.AddPoint(4, 2000, -3000));
    if (c.joinedByAWire) {
        circuit.AddElement(DefaultRecord(ElementKind::Wire), loose, junction);
    }
    EXPECT_EQ(UnjoinedEnds(circuit, kScale),
              c.marked ? std::set<std::size_t>{0} : std::set<std::size_t>{});
}

INSTANTIATE_TEST_SUITE_P(Distances, UnjoinedEndsTest,
                         ::testing::Values(EndCase{"TwoPixels", 2, false, true},
                                           EndCase{"TwentyPixels", 20, false, true},
                                           EndCase{"TwentyOnePixels", 21, false, false},
                                           EndCase{"JoinedByAShortWire", 2, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UnjoinedEndsTest, EndOfTwoParallelElementsIsNoLooseEnd) {
    Circuit circuit;
    CircuitPoint* a = circuit.AddPoint(0, 1000, -1000);
    CircuitPoint* b = circuit.AddPoint(1, 1400, -1000);
    circuit.AddElement(DefaultRecord(ElementKind::Battery), a, b);
    circuit.AddElement(DefaultRecord(ElementKind::Ammeter), b, a);
    CircuitPoint* near = circuit.AddPoint(2, 1404, -1000);
    circuit.AddElement(DefaultRecord(ElementKind::Bulb), near, circuit.AddPoint(3, 1804, -1000));
    EXPECT_EQ(UnjoinedEnds(circuit, kScale), std::set<std::size_t>{2});
}

TEST(UnjoinedEndsTest, TwoLooseEndsOnTopOfEachOtherAreBothMarked) {
    Circuit circuit;
    CircuitPoint* a = circuit.AddPoint(0, 1000, -1000);
    CircuitPoint* b = circuit.AddPoint(1, 1004, -1000);
    circuit.AddElement(DefaultRecord(ElementKind::Bulb), circuit.AddPoint(2, 600, -1000), a);
    circuit.AddElement(DefaultRecord(ElementKind::Resistor), b, circuit.AddPoint(3, 1404, -1000));
    EXPECT_EQ(UnjoinedEnds(circuit, kScale), (std::set<std::size_t>{0, 1}));
}

// A dry cell shorted through an ammeter (14.85 A) and one lighting a bulb (0.29 A).
class LargeCurrentTest : public ::testing::Test {
protected:
    void SetUp() override {
        CircuitPoint* a = circuit.AddPoint(0, 1000, -1000);
        CircuitPoint* b = circuit.AddPoint(1, 1400, -1000);
        shorted = circuit.AddElement(DefaultRecord(ElementKind::Battery), a, b).element;
        circuit.AddElement(DefaultRecord(ElementKind::Ammeter), b, a);
        CircuitPoint* c = circuit.AddPoint(2, 1000, -2000);
        CircuitPoint* d = circuit.AddPoint(3, 1400, -2000);
        lighting = circuit.AddElement(DefaultRecord(ElementKind::Battery), c, d).element;
        circuit.AddElement(DefaultRecord(ElementKind::Bulb), d, c);
        ASSERT_TRUE(Analyze(circuit));
    }

    // How many warning signs a drawing with these settings holds.
    std::size_t Signs(const DrawSettings& settings) {
        RecordingSurface surface;
        DrawCircuit(circuit, surface, settings);
        std::size_t signs = 0;
        for (const RecordingSurface::Call* call : surface.Calls(RecordingSurface::Op::Polygon)) {
            signs += call->brush.color == Color{255, 230, 0} ? 1 : 0;
        }
        return signs;
    }

    Circuit circuit;
    CircuitElement* shorted = nullptr;
    CircuitElement* lighting = nullptr;
};

TEST_F(LargeCurrentTest, OnlyTheBatteryAboveThreeAmperesIsMarkedAndNamed) {
    EXPECT_NEAR(std::fabs(shorted->current), 1.5 / 0.101, 1e-9);
    EXPECT_TRUE(CarriesLargeCurrent(*shorted));
    EXPECT_FALSE(CarriesLargeCurrent(*lighting));
    EXPECT_FALSE(LargeCurrentSentence(circuit).empty());

    DrawSettings settings;
    EXPECT_EQ(Signs(settings), 0u) << "off draws no sign";
    settings.warnLargeCurrent = true;
    EXPECT_EQ(Signs(settings), 1u);
    settings.hideReadings = true;
    EXPECT_EQ(Signs(settings), 0u) << "the sign would give the reading away";
    settings.hideReadings = false;
    settings.shortCircuit = true;
    EXPECT_EQ(Signs(settings), 0u);

    shorted->current = 3.0;
    EXPECT_FALSE(CarriesLargeCurrent(*shorted)) << "3 A itself is no warning";
    EXPECT_TRUE(LargeCurrentSentence(circuit).empty());
}

}  // namespace
}  // namespace kelno

#include <random>

namespace kelno {
namespace {

// Every pair of points, as plainly as it can be said: the ends that the marks must find.
std::set<std::size_t> UnjoinedEndsByEveryPair(const Circuit& circuit, const ViewScale& scale) {
    std::vector<const CircuitPoint*> points;
    for (const CircuitPoint& point : circuit.points()) {
        points.push_back(&point);
    }
    const auto endsOne = [&circuit](const CircuitPoint* point) {
        int ends = 0;
        for (const CircuitElement& element : circuit.elements()) {
            ends += (element.end1() == point) + (element.end2() == point);
        }
        return ends == 1;
    };
    std::set<std::size_t> ends;
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = 0; j < points.size(); ++j) {
            const CircuitPoint* a = points[i];
            const CircuitPoint* b = points[j];
            if (i != j && endsOne(a) &&
                std::abs(std::int64_t{a->x} - b->x) <= scale.PixelsToUnitsX(20) + 1 &&
                a->LinkTo(b) == nullptr &&
                PixelDistance({a->x, a->y}, {b->x, b->y}, scale) <= 20) {
                ends.insert(i);
            }
        }
    }
    return ends;
}

TEST(UnjoinedEndsTest, FindsWhatEveryPairFindsAtAnyScale) {
    std::mt19937 random(2026);
    std::size_t marked = 0;
    for (const double unitsPerPixel : {0.5, 1.0, 2.0, 7.3}) {
        const ViewScale scale(1.0 / unitsPerPixel, 1.0 / unitsPerPixel);
        for (int round = 0; round < 60; ++round) {
            Circuit circuit;
            std::uniform_int_distribution<int> at(-300, 300);
            std::vector<CircuitPoint*> points;
            const int count = 2 + round % 25;
            for (int i = 0; i < count; ++i) {
                points.push_back(circuit.AddPoint(i, at(random), at(random)));
            }
            std::uniform_int_distribution<int> pick(0, count - 1);
            for (int e = 0; e < count / 2; ++e) {
                circuit.AddElement(DefaultRecord(ElementKind::Wire), points[pick(random)],
                                   points[pick(random)]);
            }
            const std::set<std::size_t> expected = UnjoinedEndsByEveryPair(circuit, scale);
            ASSERT_EQ(UnjoinedEnds(circuit, scale), expected)
                << "units per pixel " << unitsPerPixel << ", round " << round;
            marked += expected.size();
        }
    }
    EXPECT_GT(marked, 50u) << "the circuits must give the marks something to find";
}

// Points standing in one column: each used to be compared with all the others.
TEST(UnjoinedEndsTest, AColumnOfManyPointsTakesNoTime) {
    Circuit circuit;
    for (int i = 0; i < 300000; ++i) {
        circuit.AddPoint(i, 0, -100 * i);
    }
    CircuitPoint* loose = circuit.AddPoint(300000, 4, -1000);
    circuit.AddElement(DefaultRecord(ElementKind::Bulb), circuit.AddPoint(300001, 400, -1000),
                       loose);
    EXPECT_EQ(UnjoinedEnds(circuit, kScale), std::set<std::size_t>{300000});
}

}  // namespace
}  // namespace kelno
