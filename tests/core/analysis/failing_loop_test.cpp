// Where an analysis fails: the loop it reports, for each way of failing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "analysis/analyze.h"
#include "core/circuit_builder.h"
#include "support/circuit_generators.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;
using Numbers = std::vector<std::size_t>;

// A healthy bulb ring first (elements 0 to 3), so that the failing loop's numbers are not
// simply the first ones.
void AddBulbRing(CircuitBuilder& b) {
    b.Add(ElementKind::Battery, 0, 1);
    b.Add(ElementKind::Wire, 1, 2);
    b.Add(ElementKind::Bulb, 2, 3);
    b.Add(ElementKind::Wire, 3, 0);
}

TEST(FailingLoop, EachWayOfFailingNamesItsLoop) {
    struct Case {
        const char* name;
        void (*build)(CircuitBuilder&);
        AnalysisOutcome outcome;
        Numbers loop;
    };
    const Case cases[] = {
        {"battery of 0 ohms shorted by two wires",
         [](CircuitBuilder& b) {
             AddBulbRing(b);
             b.Add(ElementKind::Battery, 4, 5, 0.0, 1.5);
             b.Add(ElementKind::Wire, 5, 6);
             b.Add(ElementKind::Wire, 6, 4);
         },
         AnalysisOutcome::ZeroResistanceLoop,
         {4, 5, 6}},
        {"two ideal batteries of different emf in parallel",
         [](CircuitBuilder& b) {
             b.Add(ElementKind::Bulb, 0, 1);
             b.Add(ElementKind::Battery, 0, 1, 0.0, 1.5);
             b.Add(ElementKind::Wire, 1, 2);
             b.Add(ElementKind::Battery, 0, 2, 0.0, 3.0);
         },
         AnalysisOutcome::ZeroResistanceLoop,
         {1, 2, 3}},
        {"battery of 1e-7 ohm shorted by a wire",
         [](CircuitBuilder& b) {
             AddBulbRing(b);
             b.Add(ElementKind::Wire, 5, 4);
             b.Add(ElementKind::Battery, 4, 5, 1e-7, 1.5);
         },
         AnalysisOutcome::CurrentLimit,
         {5, 4}},
        // Three branches whose conductances 1/2 + 1/2 - 1 add up to nothing, driven by 1 mV:
        // the sweeps drift by the same amount for ever.
        {"parallel branches with a negative resistance",
         [](CircuitBuilder& b) {
             b.Add(ElementKind::Resistor, 0, 1, 2.0);
             b.Add(ElementKind::Battery, 0, 1, 2.0, 0.001);
             b.Add(ElementKind::Resistor, 0, 1, -1.0);
         },
         AnalysisOutcome::NoConvergence,
         {2, 0}},
        {"a resistance that is not a number",
         [](CircuitBuilder& b) {
             AddBulbRing(b);
             b.Add(ElementKind::Resistor, 1, 3, std::numeric_limits<double>::quiet_NaN());
             b.Add(ElementKind::Switch, 2, 0, std::numeric_limits<double>::infinity());
         },
         AnalysisOutcome::NonFiniteValue,
         {4}},
        {"a healthy circuit",
         [](CircuitBuilder& b) { AddBulbRing(b); },
         AnalysisOutcome::Solved,
         {}},
    };
    for (const Case& c : cases) {
        Circuit circuit;
        CircuitBuilder b(circuit);
        c.build(b);
        AnalysisReport report;
        EXPECT_EQ(Analyze(circuit, &report), c.outcome == AnalysisOutcome::Solved) << c.name;
        EXPECT_EQ(report.outcome, c.outcome) << c.name;
        EXPECT_EQ(report.failingLoop, c.loop) << c.name;
    }
}

// Follows the elements in the given order from the first one's end1: true when each joins
// the point where the one before it ended and the last ends where the first began. `emf`
// gets the sum of their emfs, each signed by the direction the walk passes it.
bool ClosesALoop(const Circuit& circuit, const Numbers& loop, double& emf) {
    std::vector<const CircuitElement*> elements;
    for (const CircuitElement& element : circuit.elements()) {
        elements.push_back(&element);
    }
    const CircuitPoint* start = elements.at(loop.front())->end1();
    const CircuitPoint* here = start;
    emf = 0.0;
    for (const std::size_t number : loop) {
        const CircuitElement* next = elements.at(number);
        if (next->end1() == here) {
            emf += next->emf;
            here = next->end2();
        } else if (next->end2() == here) {
            emf -= next->emf;
            here = next->end1();
        } else {
            return false;
        }
    }
    return here == start;
}

TEST(FailingLoop, GeneratedFailuresReportALoopThatCloses) {
    int zeroResistance = 0;
    int others = 0;
    for (int trial = 0; trial < 1500; ++trial) {
        Circuit circuit = testing::RandomCircuit(4711 + trial, {12, 24, false, true});
        AnalysisReport report;
        if (Analyze(circuit, &report)) {
            EXPECT_TRUE(report.failingLoop.empty());
            continue;
        }
        ASSERT_FALSE(report.failingLoop.empty()) << "trial " << trial;
        std::vector<const CircuitElement*> loop;
        std::size_t number = 0;
        for (const CircuitElement& element : circuit.elements()) {
            if (std::count(report.failingLoop.begin(), report.failingLoop.end(), number++)) {
                loop.push_back(&element);
            }
        }
        if (report.outcome == AnalysisOutcome::NonFiniteValue) {
            for (const CircuitElement* element : loop) {
                EXPECT_FALSE(std::isfinite(element->resistance) && std::isfinite(element->emf));
            }
            continue;
        }
        double emf = 0.0;
        EXPECT_TRUE(ClosesALoop(circuit, report.failingLoop, emf)) << "trial " << trial;
        if (report.outcome != AnalysisOutcome::ZeroResistanceLoop) {
            ++others;
            continue;
        }
        // Without negative resistances: no resistance anywhere in the loop, and an emf that
        // drives it.
        ++zeroResistance;
        for (const CircuitElement* element : loop) {
            EXPECT_EQ(element->resistance, 0.0) << "trial " << trial;
        }
        EXPECT_NE(emf, 0.0) << "trial " << trial;
    }
    EXPECT_GT(zeroResistance, 100);
    EXPECT_GT(others, 10);
}

}  // namespace
}  // namespace kelno
