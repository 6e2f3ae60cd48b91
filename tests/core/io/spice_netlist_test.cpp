#include "io/spice_netlist.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/circuit_builder.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// The netlist's element lines, without the comments and the closing lines.
std::vector<std::string> Cards(const Circuit& circuit) {
    std::string netlist;
    std::string error;
    EXPECT_TRUE(WriteSpiceNetlist(circuit, netlist, error)) << error;
    EXPECT_EQ(netlist.rfind(".op\n.end\n"), netlist.size() - 9);
    std::vector<std::string> cards;
    std::istringstream lines(netlist);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '*' && line[0] != '.') {
            cards.push_back(line);
        }
    }
    return cards;
}

using Strings = std::vector<std::string>;

struct NetlistCase {
    const char* name;
    // kind, end1, end2, resistance, emf
    std::vector<std::tuple<int, int, int, double, double>> elements;
    Strings cards;
};

class SpiceNetlistTest : public ::testing::TestWithParam<NetlistCase> {};

TEST_P(SpiceNetlistTest, WritesEachElementAsItConducts) {
    Circuit c;
    CircuitBuilder b(c);
    for (const auto& [kind, end1, end2, resistance, emf] : GetParam().elements) {
        b.Add(KindFromCode(kind), end1, end2, resistance, emf);
    }
    EXPECT_EQ(Cards(c), GetParam().cards);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpiceNetlistTest,
    ::testing::Values(
        // The source's positive side is end2; its resistance hangs from end1.
        NetlistCase{
            "BatteryAndBulb",
            {{1, 0, 1, 0.1, 1.5}, {0, 1, 2, 0, 0}, {5, 2, 0, 5.0, 0}},
            {"V0 n1 m0 DC 1.5", "R0 m0 n0 0.1", "V1 n2 n1 DC 0", "R2 n2 n0 5", "RG0 n0 0 1"}},
        NetlistCase{"IdealSourceAndNegativeResistance",
                    {{1, 1, 0, 0.0, -3.0}, {2, 0, 1, -2.5, 0}},
                    {"V0 n0 n1 DC -3", "R1 n0 n1 -2.5", "RG0 n0 0 1"}},
        // A resistor with an emf of its own is a branch like a battery.
        NetlistCase{"ResistorWithEmf",
                    {{2, 0, 1, 10.0, 0.25}},
                    {"V0 n1 m0 DC 0.25", "R0 m0 n0 10", "RG0 n0 0 1"}},
        NetlistCase{"OpenSwitchLeftOutClosedSwitchAWire",
                    {{6, 0, 1, 1.0, 0}, {6, 1, 2, 0.0, 0}, {2, 2, 0, 100.0, 0}},
                    {"V1 n2 n1 DC 0", "R2 n2 n0 100", "RG0 n0 0 1"}},
        // The third wire would close a loop of 0 V sources: its current is undetermined.
        NetlistCase{"RingOfWiresLosesItsLastWire",
                    {{0, 0, 1, 0, 0}, {-1, 1, 2, 0, 0}, {0, 2, 0, 0, 0}, {5, 0, 2, 5.0, 0}},
                    {"V0 n1 n0 DC 0", "V1 n2 n1 DC 0", "R3 n0 n2 5", "RG0 n0 0 1"}},
        NetlistCase{"WireOnOnePointLeftOut",
                    {{0, 1, 1, 0, 0}, {5, 0, 1, 5.0, 0}},
                    {"R1 n0 n1 5", "RG0 n0 0 1"}},
        // Every connected piece gets its own tie to ground.
        NetlistCase{"TwoPieces",
                    {{5, 0, 1, 5.0, 0}, {5, 3, 2, 5.0, 0}},
                    {"R0 n0 n1 5", "R1 n3 n2 5", "RG0 n0 0 1", "RG2 n2 0 1"}},
        NetlistCase{"ValuesRoundTrip",
                    {{2, 0, 1, 0.1 + 0.2, 0}, {2, 0, 1, 1e-10, 0}},
                    {"R0 n0 n1 0.30000000000000004", "R1 n0 n1 1e-10", "RG0 n0 0 1"}}),
    [](const auto& info) { return info.param.name; });

TEST(SpiceNetlistTest, RefusesValuesThatAreNotNumbersButNotInOpenSwitches) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Circuit c;
    CircuitBuilder b(c);
    b.Add(ElementKind::Switch, 0, 1, nan);  // an open switch: its flag is no value
    std::string netlist;
    std::string error;
    EXPECT_TRUE(WriteSpiceNetlist(c, netlist, error));
    b.Add(ElementKind::Battery, 0, 1, 0.1, std::numeric_limits<double>::infinity());
    EXPECT_FALSE(WriteSpiceNetlist(c, netlist, error));
    EXPECT_NE(error.find("素子 1"), std::string::npos) << error;
}

}  // namespace
}  // namespace kelno
