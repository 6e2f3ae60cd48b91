#include "analysis/loop_basis.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "core/analysis/literal_analysis.h"
#include "core/circuit_builder.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// A loop as "element:direction" words, elements named by their list position ("0+ 2- 1+").
std::string Describe(const LoopPath& path) {
    std::string text;
    for (const LoopStep& step : path) {
        if (!text.empty()) {
            text += ' ';
        }
        text += std::to_string(step.element->serial) + (step.forward ? '+' : '-');
    }
    return text;
}

std::vector<std::string> Loops(Circuit& circuit) {
    LoopBasis basis(circuit);
    std::vector<std::string> loops;
    for (const LoopPath& path : basis.Build()) {
        loops.push_back(Describe(path));
    }
    return loops;
}

using Strings = std::vector<std::string>;

TEST(LoopBasisTest, NoClosedPathGivesNoLoops) {
    Circuit empty;
    EXPECT_EQ(Loops(empty), Strings{});

    Circuit chain;
    CircuitBuilder b(chain);
    b.Add(ElementKind::Battery, 0, 1);
    b.Add(ElementKind::Wire, 1, 2);
    b.Add(ElementKind::Bulb, 2, 3);
    EXPECT_EQ(Loops(chain), Strings{});
}

TEST(LoopBasisTest, NumbersPointsAndElementsByListPosition) {
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Wire, 2, 0);
    b.Add(ElementKind::Wire, 1, 2);
    for (CircuitPoint& p : c.points()) {
        p.serial = 99;
    }
    LoopBasis basis(c);
    int expected = 0;
    for (const CircuitPoint& p : c.points()) {
        EXPECT_EQ(p.serial, expected++);
    }
    expected = 0;
    for (const CircuitElement& e : c.elements()) {
        EXPECT_EQ(e.serial, expected++);
    }
}

// A battery whose points are joined through a third point by two wires: one loop, built for
// whichever element comes first, with the others' directions following their orientation.
TEST(LoopBasisTest, TriangleLoopIsBuiltForTheFirstElement) {
    struct Case {
        const char* name;
        std::vector<std::array<int, 3>> elements;  // kind, end1, end2
        Strings loops;
    };
    const Case cases[] = {
        {"BatteryFirst", {{1, 0, 1}, {0, 1, 2}, {0, 2, 0}}, {"0+ 1+ 2+"}},
        {"WireFirst", {{0, 1, 2}, {1, 0, 1}, {0, 2, 0}}, {"0+ 2+ 1+"}},
        {"ReversedWires", {{1, 0, 1}, {0, 2, 1}, {0, 0, 2}}, {"0+ 1- 2-"}},
    };
    for (const Case& tc : cases) {
        Circuit c;
        CircuitBuilder b(c);
        for (const auto& [kind, end1, end2] : tc.elements) {
            b.Add(KindFromCode(kind), end1, end2);
        }
        EXPECT_EQ(Loops(c), tc.loops) << tc.name;
    }
}

TEST(LoopBasisTest, SwitchIsAStepWhileClosedAndNoBranchWhileOpen) {
    for (const double open : {0.0, 1.0}) {
        Circuit c;
        CircuitBuilder b(c);
        b.Add(ElementKind::Battery, 0, 1);
        b.Add(ElementKind::Switch, 1, 2, open);
        b.Add(ElementKind::Bulb, 2, 0);
        EXPECT_EQ(Loops(c), open == 0.0 ? Strings{"0+ 1+ 2+"} : Strings{}) << open;
    }
}

// A voltmeter put on the two points of a battery holds no link; the one loop is built for
// the first element and returns through the other.
TEST(LoopBasisTest, UnlinkedElementStartsALoopThroughTheLinkedOne) {
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Battery, 0, 1);
    CircuitElement* meter = b.Add(ElementKind::Voltmeter, 0, 1);
    ASSERT_FALSE(meter->linked());
    EXPECT_EQ(Loops(c), Strings{"1+ 0-"});
}

TEST(LoopBasisTest, EqualRoutesTakeTheFirstInPointThenLinkOrder) {
    // Battery 0-1; two wire routes from 1 back to 0: via point 2 and via point 3.
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Battery, 0, 1);
    b.Point(2);
    b.Point(3);
    b.Add(ElementKind::Wire, 0, 3);
    b.Add(ElementKind::Wire, 3, 1);
    b.Add(ElementKind::Wire, 0, 2);
    b.Add(ElementKind::Wire, 2, 1);
    // Point 2 comes before point 3 in the links of point 0, so the route via 2 wins, even
    // though its wires were added later. The second loop is the route via 3 around 2.
    EXPECT_EQ(Loops(c), (Strings{"0+ 4- 3-", "1+ 2+ 4- 3-"}));
}

TEST(LoopBasisTest, ElementInALoopLosesToWires) {
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Resistor, 0, 1);  // 0
    b.Add(ElementKind::Wire, 1, 2);      // 1
    b.Add(ElementKind::Wire, 2, 0);      // 2: the resistor's loop
    b.Add(ElementKind::Battery, 1, 3);   // 3
    b.Add(ElementKind::Bulb, 3, 0);      // 4
    b.Add(ElementKind::Bulb, 3, 4);      // 5
    b.Add(ElementKind::Wire, 4, 0);      // 6
    // From point 0 back to the battery's point 1, the two wires (weight 0) beat the
    // resistor, although its weight has shrunk to 100e-10.
    const Strings loops = Loops(c);
    ASSERT_GE(loops.size(), 2u);
    EXPECT_EQ(loops[0], "0+ 1+ 2+");
    EXPECT_EQ(loops[1], "3+ 4+ 2- 1-");
}

TEST(LoopBasisTest, ElementWithBothEndsOnOnePointIsALoopOfItsOwn) {
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Bulb, 0, 0);
    b.Add(ElementKind::Wire, 0, 1);
    EXPECT_EQ(Loops(c), Strings{"0+"});
}

TEST(LoopBasisTest, LoneElementStartsNoLoopButALaterLoopMayCoverIt) {
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Bulb, 0, 1);      // 0: holds the link 0-1, nothing else joins them
    b.Add(ElementKind::Resistor, 2, 3);  // 1: dangling
    b.Add(ElementKind::Wire, 1, 0);      // 2: unlinked, its loop returns through the bulb
    EXPECT_EQ(Loops(c), Strings{"2+ 0+"});
}

TEST(LoopBasisTest, NegativeResistanceDoesNotStopTheSearch) {
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Battery, 0, 1);
    b.Add(ElementKind::Resistor, 1, 2, -5.0);
    b.Add(ElementKind::Wire, 2, 3);
    b.Add(ElementKind::Resistor, 3, 0, -1.0);
    EXPECT_EQ(Loops(c), Strings{"0+ 1+ 2+ 3+"});
}

// An open switch holding the link of two points hides nothing: the first conducting element
// between the same two points is the step there instead.
TEST(LoopBasisTest, ConductingElementBesideAnOpenSwitchIsAStep) {
    for (const double open : {1.0, 0.0}) {
        Circuit c;
        CircuitBuilder b(c);
        b.Add(ElementKind::Battery, 0, 2);       // 0
        b.Add(ElementKind::Wire, 2, 1);          // 1
        b.Add(ElementKind::Switch, 0, 1, open);  // 2: holds the link 0-1
        b.Add(ElementKind::Resistor, 1, 0);      // 3: unlinked
        b.Add(ElementKind::Bulb, 0, 1);          // 4: unlinked, second in line
        if (open != 0.0) {
            EXPECT_EQ(Loops(c), (Strings{"0+ 1+ 3+", "4+ 1- 0-"})) << "open";
        } else {
            EXPECT_EQ(Loops(c), (Strings{"0+ 1+ 2-", "3+ 2+", "4+ 2-"})) << "closed";
        }
    }
}

// Elements on a bridge (the only way between two parts) or on a dangling tail can close no
// loop; an element beside them between the same two points can, through them.
TEST(LoopBasisTest, BridgesAndTailsCloseNoLoopButElementsBesideThemDo) {
    struct Case {
        const char* name;
        std::vector<std::array<double, 4>> elements;  // kind, end1, end2, resistance
        Strings loops;
    };
    // Two triangles, 0-1-2 and 3-4-5, and what joins them.
    const std::vector<std::array<double, 4>> triangles{{1, 0, 1, 0.1}, {0, 1, 2, 0}, {2, 2, 0, 10},
                                                       {2, 3, 4, 10},  {0, 4, 5, 0}, {0, 5, 3, 0}};
    const auto with = [&](std::vector<std::array<double, 4>> more) {
        std::vector<std::array<double, 4>> all = triangles;
        all.insert(all.begin() + 3, more.begin(), more.end());
        return all;
    };
    const Case cases[] = {
        {"BridgeAndTail",
         with({{2, 2, 3, 10}, {0, 5, 6, 0}, {0, 6, 7, 0}}),
         {"0+ 1+ 2+", "6+ 7+ 8+"}},
        {"TwinBridge", with({{2, 2, 3, 10}, {2, 2, 3, 20}}), {"0+ 1+ 2+", "4+ 3-", "5+ 6+ 7+"}},
        {"OpenSwitchOnTheBridge", with({{6, 2, 3, 1}, {2, 3, 2, 10}}), {"0+ 1+ 2+", "5+ 6+ 7+"}},
        {"OpenSwitchBesideTwo",
         with({{6, 2, 3, 1}, {2, 3, 2, 10}, {3, 2, 3, 0.5}}),
         {"0+ 1+ 2+", "5+ 4+", "6+ 7+ 8+"}},
        {"TwoPaths",
         with({{2, 2, 3, 10}, {0, 1, 4, 0}}),
         {"0+ 1+ 2+", "3+ 7- 6- 4- 1+", "5+ 6+ 7+"}},
    };
    for (const Case& tc : cases) {
        Circuit c;
        CircuitBuilder b(c);
        for (const auto& [kind, end1, end2, resistance] : tc.elements) {
            b.Add(KindFromCode(static_cast<int>(kind)), static_cast<int>(end1),
                  static_cast<int>(end2), resistance);
        }
        Circuit literal(c);
        EXPECT_EQ(Loops(c), tc.loops) << tc.name;
        std::vector<std::string> expected;
        for (const LoopPath& path : testing::LiteralLoops(literal)) {
            expected.push_back(Describe(path));
        }
        EXPECT_EQ(Loops(c), expected) << tc.name << " against the rescanning search";
    }
}

// Rings joined by bridges, with trees hanging off them and twin elements, in random order:
// the same loops as the rescanning search, and no loop through a bridge or a tree.
TEST(LoopBasisTest, ForestsOfRingsGiveTheLoopsOfTheRescanningSearch) {
    std::mt19937 random(7);
    const auto below = [&](int bound) { return static_cast<int>(random() % bound); };
    int loopsSeen = 0;
    for (int round = 0; round < 150; ++round) {
        std::vector<std::array<int, 3>> branches;  // kind, end1, end2
        int points = 0;
        const int rings = 1 + below(4);
        for (int r = 0; r < rings; ++r) {
            const int first = points;
            const int size = 1 + below(4);
            for (int k = 0; k < size; ++k) {
                branches.push_back({below(7), first + k, first + (k + 1) % size});
            }
            points += size;
            if (r > 0) {  // a bridge back to an earlier ring
                branches.push_back({below(7), below(first), first + below(size)});
            }
        }
        for (int tail = below(8); tail > 0; --tail) {
            branches.push_back({below(7), below(points), points});
            ++points;
        }
        for (int twin = below(3); twin > 0; --twin) {
            branches.push_back(branches[below(static_cast<int>(branches.size()))]);
        }
        std::shuffle(branches.begin(), branches.end(), random);
        Circuit c;
        CircuitBuilder b(c);
        for (const auto& [kind, end1, end2] : branches) {
            b.Add(KindFromCode(kind), end1, end2);
        }
        Circuit literal(c);
        std::vector<std::string> expected;
        for (const LoopPath& path : testing::LiteralLoops(literal)) {
            expected.push_back(Describe(path));
        }
        loopsSeen += static_cast<int>(expected.size());
        EXPECT_EQ(Loops(c), expected) << "round " << round;
    }
    EXPECT_GT(loopsSeen, 150);
}

}  // namespace
}  // namespace kelno
