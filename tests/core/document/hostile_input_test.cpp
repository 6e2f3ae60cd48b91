// Files and clipboard text that no careful program wrote: values that are not numbers,
// negative resistances, and texts of many megabytes. The document takes or refuses them
// whole, the analysis ends, and nothing is lost.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/circuit_builder.h"
#include "document/clipboard_commands.h"
#include "document/document.h"
#include "document/string_clipboard.h"
#include "io/clipboard_text.h"
#include "io/kel_file.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;
using Clock = std::chrono::steady_clock;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A battery and a bulb joined into a ring by two wires, with the values given.
std::vector<std::uint8_t> RingFile(double batteryResistance, double emf, double bulbResistance) {
    Circuit circuit;
    CircuitBuilder b(circuit);
    b.Add(ElementKind::Battery, 0, 1, batteryResistance, emf);
    b.Add(ElementKind::Wire, 1, 2);
    b.Add(ElementKind::Bulb, 2, 3, bulbResistance);
    b.Add(ElementKind::Wire, 3, 0);
    return WriteKel(circuit, KelFileContents{});
}

struct ValueCase {
    const char* name;
    double batteryResistance;
    double emf;
    double bulbResistance;
    AnalysisOutcome outcome;
};

class HostileValueFileTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(HostileValueFileTest, LoadsAnalysesWithinItsBoundAndSavesTheValuesBack) {
    const ValueCase& tc = GetParam();
    const std::vector<std::uint8_t> bytes =
        RingFile(tc.batteryResistance, tc.emf, tc.bulbResistance);
    Document document;
    const auto started = Clock::now();
    ASSERT_EQ(document.Load(bytes, nullptr).status, LoadStatus::Ok);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(document.lastAnalysis().outcome, tc.outcome);
    EXPECT_EQ(document.shortCircuit(), tc.outcome != AnalysisOutcome::Solved);
    for (const CircuitElement& element : document.circuit().elements()) {
        EXPECT_TRUE(std::isfinite(element.current)) << element.current;
    }
    // The stored values come back as they were; only the currents are the analysis's.
    Document reopened;
    ASSERT_EQ(reopened.Load(document.SaveBytes(document.windowRect()), nullptr).status,
              LoadStatus::Ok);
    const CircuitElement& battery = *reopened.circuit().elements().begin();
    EXPECT_EQ(std::isnan(battery.resistance), std::isnan(tc.batteryResistance));
    EXPECT_EQ(std::isnan(battery.emf), std::isnan(tc.emf));
    if (!std::isnan(tc.emf)) {
        EXPECT_EQ(battery.emf, tc.emf);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostileValueFileTest,
    ::testing::Values(
        ValueCase{"NanResistance", kNan, 1.5, 5.0, AnalysisOutcome::NonFiniteValue},
        ValueCase{"NanEmf", 0.1, kNan, 5.0, AnalysisOutcome::NonFiniteValue},
        ValueCase{"InfiniteResistance", 0.1, 1.5, kInf, AnalysisOutcome::NonFiniteValue},
        ValueCase{"NegativeInfiniteEmf", 0.1, -kInf, 5.0, AnalysisOutcome::NonFiniteValue},
        ValueCase{"NegativeBulb", 0.1, 1.5, -5.0, AnalysisOutcome::Solved},
        ValueCase{"NegativeCancelsTheBattery", 0.1, 1.5, -0.1, AnalysisOutcome::ZeroResistanceLoop},
        ValueCase{"TinyNegativeGivesAHugeCurrent", 0.1, 1.5, -0.1 + 1e-9,
                  AnalysisOutcome::CurrentLimit}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

// A document with a ring, as a pupil has it when pasting.
class HostilePasteTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void Reset() {
        ASSERT_EQ(document.Load(RingFile(0.1, 1.5, 5.0), nullptr).status, LoadStatus::Ok);
        document.circuit().Select(&*document.circuit().elements().begin());
    }
    void ExpectUnchanged() {
        EXPECT_EQ(document.circuit().ElementCount(), 4u);
        EXPECT_EQ(document.circuit().PointCount(), 4u);
        EXPECT_FALSE(document.CanUndo());
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(document.circuit().selection().size(), 1u);
    }
    Document document;
};

TEST_F(HostilePasteTest, NegativeResistancesPasteAndTheAnalysisEnds) {
    StringClipboard clipboard(
        "KelnoData 4 4 0 0 400 0 400 -400 0 -400 "
        "1 2 1 -0.1 0 1.5 2 3 0 0 0 0 3 4 2 -100 0 0 4 1 5 -5 0 0");
    ASSERT_TRUE(Paste(document, clipboard));
    EXPECT_EQ(document.circuit().ElementCount(), 8u);
    for (const CircuitElement& element : document.circuit().elements()) {
        EXPECT_TRUE(std::isfinite(element.current));
    }
}

// Found by fuzzing: a battery of negative resistance, a wire with an electromotive force and a
// battery without resistance, all three between the same two points. The sweeps never
// settle; the analysis must still end, as a short, and paste again, cut and undo must too.
TEST_F(HostilePasteTest, CircuitWhoseSweepsNeverSettleEndsAsAShort) {
    const std::string text =
        "\tKelnoData\n4 4\n300 -300\n700 -300\n700 -700\n300 -700\n1 2 1 -10 1 1.5\n"
        "3 4 5 5 294118 0\n2 1 0 0 9040.0 1 1\n2 1 0 0 0.29\t118 0\n";
    StringClipboard clipboard(text);
    const auto started = Clock::now();
    ASSERT_TRUE(Paste(document, clipboard));
    EXPECT_TRUE(document.shortCircuit());
    ASSERT_TRUE(Paste(document, clipboard));
    ASSERT_TRUE(Cut(document, clipboard));
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.shortCircuit());
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(30));
    for (const CircuitElement& element : document.circuit().elements()) {
        EXPECT_EQ(element.current, 0.0);
    }
}

TEST_F(HostilePasteTest, ValuesThatAreNotFiniteAreRefusedWhole) {
    for (const char* value : {"nan", "-nan", "inf", "-inf", "infinity", "1e309", "-1e400"}) {
        StringClipboard clipboard(std::string("KelnoData 2 1 0 0 400 0 1 2 2 ") + value + " 0 0");
        std::string error;
        EXPECT_FALSE(Paste(document, clipboard, &error)) << value;
        EXPECT_FALSE(error.empty()) << value;
        ExpectUnchanged();
    }
}

// Many megabytes of clipboard text: read in time proportional to its length, and refused
// as a whole when it runs out before its counts.
TEST_F(HostilePasteTest, TextOfManyMegabytes) {
    const std::string ring = "KelnoData 2 1 0 0 400 0 1 2 2 100 0 0";
    const struct {
        const char* name;
        std::string text;
        bool pasted;
    } cases[] = {
        {"PaddingAfterTheLastLine", ring + std::string(16 << 20, ' ') + "junk", true},
        {"PaddingBetweenWords", "KelnoData" + std::string(16 << 20, '\n') + " 0 0", true},
        {"CountsBeyondTheText", "KelnoData 2000000000 0" + std::string(8 << 20, ' '), false},
        {"NumbersRunningOutEarly",
         [] {
             std::string text = "KelnoData 2000000000 0";
             for (int i = 0; i < 1000000; ++i) {
                 text += " 1234567";
             }
             return text;
         }(),
         false},
    };
    for (const auto& tc : cases) {
        Reset();
        StringClipboard clipboard(tc.text);
        const auto started = Clock::now();
        std::string error;
        EXPECT_EQ(Paste(document, clipboard, &error), tc.pasted) << tc.name << ": " << error;
        EXPECT_LT(Clock::now() - started, std::chrono::seconds(5)) << tc.name;
        if (!tc.pasted) {
            ExpectUnchanged();
        }
    }
}

TEST(HostileClipboardText, ManyElementsAreReadInProportionToTheText) {
    // 200,000 resistors on 400,000 points: about 10 MB.
    std::string text = "KelnoData\r\n400000 200000\r\n";
    for (int i = 0; i < 400000; ++i) {
        text += std::to_string(i * 10) + " -" + std::to_string(i) + "\r\n";
    }
    for (int i = 0; i < 200000; ++i) {
        text += std::to_string(2 * i + 1) + " " + std::to_string(2 * i + 2) + " 2 100 0 0\r\n";
    }
    ASSERT_GT(text.size(), 8u << 20);
    const auto started = Clock::now();
    const ClipboardParseResult parsed = ParseClipboardText(text);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(10));
    ASSERT_EQ(parsed.status, ClipboardParseStatus::Ok) << parsed.error;
    EXPECT_EQ(parsed.data.points.size(), 400000u);
    EXPECT_EQ(parsed.data.elements.size(), 200000u);
    EXPECT_EQ(parsed.data.elements.back().end2, 399999);
}

}  // namespace
}  // namespace kelno
