#include "io/clipboard_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "core/circuit_builder.h"
#include "numeric/bit_cast.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// A resistor between (100, -200) and (500, -200) and a wire on to (900, -200).
struct ResistorAndWire {
    Circuit circuit;
    CircuitPoint* a = circuit.AddPoint(0, 100, -200);
    CircuitPoint* b = circuit.AddPoint(0, 500, -200);
    CircuitPoint* c = circuit.AddPoint(0, 900, -200);
    CircuitElement* resistor =
        circuit.AddElement(DefaultRecord(ElementKind::Resistor), a, b).element;
    CircuitElement* wire = circuit.AddElement(DefaultRecord(ElementKind::Wire), b, c).element;
};

std::string Printf(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

bool SameBits(double a, double b) {
    return BitCast<std::uint64_t>(a) == BitCast<std::uint64_t>(b);
}

TEST(ClipboardTextTest, OneSelectedResistorWithOffset) {
    ResistorAndWire w;
    w.circuit.Select(w.resistor);
    EXPECT_EQ(WriteClipboardText(SelectionClipboardData(w.circuit, 50)),
              "KelnoData\r\n2 1\r\n150 -250\r\n550 -250\r\n1 2 2 100 0 0\r\n");
    EXPECT_EQ(WriteClipboardText(SelectionClipboardData(w.circuit, 0)),
              "KelnoData\r\n2 1\r\n100 -200\r\n500 -200\r\n1 2 2 100 0 0\r\n");
}

TEST(ClipboardTextTest, SharedPointIsWrittenOnceInPointOrderWhateverTheSelectionOrder) {
    ResistorAndWire w;
    w.circuit.Select(w.wire);
    w.circuit.Select(w.resistor);
    EXPECT_EQ(WriteClipboardText(SelectionClipboardData(w.circuit, 50)),
              "KelnoData\r\n3 2\r\n150 -250\r\n550 -250\r\n950 -250\r\n"
              "2 3 0 0 0 0\r\n1 2 2 100 0 0\r\n");
}

TEST(ClipboardTextTest, NothingToCopyWithAPointSelectedOrNoElementSelected) {
    ResistorAndWire w;
    EXPECT_TRUE(SelectionClipboardData(w.circuit, 50).points.empty());
    w.circuit.Select(w.resistor);
    w.circuit.SelectPoint(w.b);
    const ClipboardData data = SelectionClipboardData(w.circuit, 50);
    EXPECT_TRUE(data.points.empty());
    EXPECT_TRUE(data.elements.empty());
}

TEST(ClipboardTextTest, OffsetStaysWithinTheRangeOfCoordinates) {
    Circuit circuit;
    CircuitBuilder build(circuit);
    circuit.Select(build.Add(ElementKind::Wire, 0, 1));
    build.Point(0)->x = std::numeric_limits<std::int32_t>::max() - 10;
    build.Point(1)->y = std::numeric_limits<std::int32_t>::min() + 10;
    const ClipboardData data = SelectionClipboardData(circuit, 50);
    EXPECT_EQ(data.points[0].x, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(data.points[1].y, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseClipboardText(WriteClipboardText(data)).status, ClipboardParseStatus::Ok);
}

TEST(ClipboardTextTest, WholeCircuitKeepsPointsWithoutElementsAndListOrder) {
    ResistorAndWire w;
    w.circuit.AddPoint(0, -5, -6);  // a point with no element
    w.circuit.Select(w.wire);       // the selection plays no part
    EXPECT_EQ(WriteClipboardText(WholeCircuitClipboardData(w.circuit)),
              "KelnoData\r\n4 2\r\n100 -200\r\n500 -200\r\n900 -200\r\n-5 -6\r\n"
              "1 2 2 100 0 0\r\n2 3 0 0 0 0\r\n");
}

struct ValueCase {
    double value;
    const char* text;
};

TEST(ClipboardTextTest, ValuesAreWrittenAsPercentGUnlessThatLosesDigits) {
    const ValueCase cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {100.0, "100"},
        {0.1, "0.1"},
        {1.5, "1.5"},
        {5.1, "5.1"},
        {0.001, "0.001"},
        {100000.0, "100000"},
        {1e6, "1e+06"},
        {1e-7, "1e-07"},
        {-2.5e-5, "-2.5e-05"},
        {1234567.0, "1234567"},
        {1.0 / 3.0, "0.3333333333333333"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1.5 / 5.1, "0.29411764705882354"},
        {123456789012.0, "123456789012"},
        {1e300, "1e+300"},
        {5e-324, "4.94066e-324"},  // the smallest double: any nearby text reads back to it,
    };
    for (const ValueCase& c : cases) {
        EXPECT_EQ(FormatClipboardValue(c.value), c.text) << c.value;
    }
}

// For any value: the text reads back to the very same double; where "%g" already does, it
// is exactly what "%g" writes; otherwise it is the first "%.Ng" that does.
TEST(ClipboardTextTest, EveryFiniteValueReadsBackExactly) {
    std::mt19937_64 random(20240601);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 20000; ++i) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        if (i % 4 == 0) {
            value = std::round(value * 1000.0) / 1000.0;  // values with few digits, like typed ones
        }
        const std::string text = FormatClipboardValue(value);
        ASSERT_TRUE(SameBits(std::strtod(text.c_str(), nullptr), value)) << text;
        const std::string g = Printf("%g", value);
        if (SameBits(std::strtod(g.c_str(), nullptr), value)) {
            ASSERT_EQ(text, g);
        } else {
            int precision = 7;
            while (!SameBits(
                std::strtod(Printf(("%." + std::to_string(precision) + "g").c_str(), value).c_str(),
                            nullptr),
                value)) {
                ++precision;
            }
            ASSERT_EQ(text, Printf(("%." + std::to_string(precision) + "g").c_str(), value));
        }
    }
}

TEST(ClipboardTextTest, ReadsWhatItWritesBitForBit) {
    Circuit circuit;
    CircuitBuilder build(circuit);
    CircuitElement* resistor = build.Add(ElementKind::Resistor, 0, 1, 1234567.0);
    CircuitElement* battery = build.Add(ElementKind::Battery, 1, 2, 0.1 + 0.2, 1.0 / 3.0);
    battery->current = -1.5 / 5.1;
    CircuitElement* odd = build.Add(KindFromCode(42), 2, 0, -0.0, 5e-324);
    for (CircuitElement* e : {resistor, battery, odd}) {
        circuit.Select(e);
    }
    const ClipboardData written = SelectionClipboardData(circuit, 0);
    const ClipboardParseResult read = ParseClipboardText(WriteClipboardText(written));
    ASSERT_EQ(read.status, ClipboardParseStatus::Ok) << read.error;
    ASSERT_EQ(read.data.points, written.points);
    ASSERT_EQ(read.data.elements.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const ClipboardElement& in = read.data.elements[i];
        const ClipboardElement& out = written.elements[i];
        EXPECT_EQ(in.end1, out.end1);
        EXPECT_EQ(in.end2, out.end2);
        EXPECT_EQ(in.record.kind, out.record.kind);
        EXPECT_TRUE(SameBits(in.record.resistance, out.record.resistance));
        EXPECT_TRUE(SameBits(in.record.current, out.record.current));
        EXPECT_TRUE(SameBits(in.record.emf, out.record.emf));
    }
}

TEST(ClipboardTextTest, ReaderTreatsAllWhitespaceAlikeAndStopsAtTheEnd) {
    const char* texts[] = {
        "KelnoData\r\n2 1\r\n150 -250\r\n550 -250\r\n1 2 2 100 0 0\r\n",
        "KelnoData 2 1 150 -250 550 -250 1 2 2 100 0 0",
        "\r\n\t KelnoData\n2\t1\n\n150\v-250\f550 -250 1 2 2 1e2 0.0 -0",
        "KelnoData 2 1 +150 -250 550 -250 1 2 +2 +100 0 0 and then whatever follows",
    };
    for (const char* text : texts) {
        const ClipboardParseResult read = ParseClipboardText(text);
        ASSERT_EQ(read.status, ClipboardParseStatus::Ok) << text << ": " << read.error;
        ASSERT_EQ(read.data.points.size(), 2u);
        EXPECT_EQ(read.data.points[0], (ClipboardPoint{150, -250}));
        EXPECT_EQ(read.data.points[1], (ClipboardPoint{550, -250}));
        ASSERT_EQ(read.data.elements.size(), 1u);
        EXPECT_EQ(read.data.elements[0].end1, 0);
        EXPECT_EQ(read.data.elements[0].end2, 1);
        EXPECT_EQ(read.data.elements[0].record.kind, ElementKind::Resistor);
        EXPECT_EQ(read.data.elements[0].record.resistance, 100.0);
    }
    // A NUL ends the text, as it ends clipboard text.
    const std::string withNul("KelnoData 1 0 5 6\0 garbage", 26);
    EXPECT_EQ(ParseClipboardText(withNul).status, ClipboardParseStatus::Ok);
    EXPECT_EQ(ParseClipboardText(std::string("KelnoData 1 0 5\0 6", 19)).status,
              ClipboardParseStatus::Malformed);
}

struct BadText {
    const char* name;
    const char* text;
    ClipboardParseStatus status;
};

class ClipboardTextRejectTest : public ::testing::TestWithParam<BadText> {};

TEST_P(ClipboardTextRejectTest, RejectsTheWholeText) {
    const ClipboardParseResult read = ParseClipboardText(GetParam().text);
    EXPECT_EQ(read.status, GetParam().status);
    EXPECT_FALSE(read.error.empty());
    EXPECT_TRUE(read.data.points.empty());
    EXPECT_TRUE(read.data.elements.empty());
}

constexpr auto kNotOurs = ClipboardParseStatus::NotClipboardText;
constexpr auto kBad = ClipboardParseStatus::Malformed;

INSTANTIATE_TEST_SUITE_P(
    Texts, ClipboardTextRejectTest,
    ::testing::Values(
        BadText{"Empty", "", kNotOurs}, BadText{"OnlySpace", " \r\n", kNotOurs},
        BadText{"OtherWord", "Hello 0 0", kNotOurs},
        BadText{"WordWithMoreCharacters", "KelnoDataX 0 0", kNotOurs},
        BadText{"WordInOtherCase", "kelnodata 0 0", kNotOurs},
        BadText{"NoCounts", "KelnoData", kBad}, BadText{"OneCount", "KelnoData 1", kBad},
        BadText{"CountNotANumber", "KelnoData two 0", kBad},
        BadText{"CountWithFraction", "KelnoData 1.5 0 0 0", kBad},
        BadText{"NegativePoints", "KelnoData -1 0", kBad},
        BadText{"NegativeElements", "KelnoData 0 -1", kBad},
        BadText{"CountBeyondInt32", "KelnoData 99999999999 0", kBad},
        BadText{"HugeCountWithoutLines", "KelnoData 2000000000 2000000000 1 2", kBad},
        BadText{"MissingCoordinate", "KelnoData 1 0 5", kBad},
        BadText{"CoordinateNotAnInteger", "KelnoData 1 0 5 6.5", kBad},
        BadText{"CoordinateBeyondInt32", "KelnoData 1 0 5 2147483648", kBad},
        BadText{"MissingElementValue", "KelnoData 2 1 0 0 1 1 1 2 2 100 0", kBad},
        BadText{"ValueNotANumber", "KelnoData 2 1 0 0 1 1 1 2 2 100 x 0", kBad},
        BadText{"ValueWithTrailingLetters", "KelnoData 2 1 0 0 1 1 1 2 2 100ohm 0 0", kBad},
        BadText{"PointNumberZero", "KelnoData 2 1 0 0 1 1 0 2 2 100 0 0", kBad},
        BadText{"PointNumberBeyondCount", "KelnoData 2 1 0 0 1 1 1 3 2 100 0 0", kBad},
        BadText{"PointNumberNegative", "KelnoData 2 1 0 0 1 1 1 -1 2 100 0 0", kBad},
        BadText{"ElementWithoutPoints", "KelnoData 0 1 1 1 0 0 0 0", kBad},
        BadText{"InfiniteValue", "KelnoData 2 1 0 0 1 1 1 2 2 inf 0 0", kBad},
        BadText{"OverflowingValue", "KelnoData 2 1 0 0 1 1 1 2 2 1e999 0 0", kBad},
        BadText{"NotANumberValue", "KelnoData 2 1 0 0 1 1 1 2 1 0.1 0 nan", kBad},
        BadText{"DoubleSign", "KelnoData 2 1 0 0 1 1 1 2 2 +-1 0 0", kBad}),
    [](const ::testing::TestParamInfo<BadText>& info) { return std::string(info.param.name); });

TEST(ClipboardTextTest, PasteIsOfferedOnlyForTheExactFirstWord) {
    EXPECT_TRUE(IsClipboardText("KelnoData"));
    EXPECT_TRUE(IsClipboardText("\r\n  KelnoData\r\n1 0"));
    EXPECT_TRUE(IsClipboardText("KelnoData -5 garbage"));  // offered; paste then refuses
    EXPECT_FALSE(IsClipboardText("KelnoDataX"));
    EXPECT_FALSE(IsClipboardText("KelnoData\x01"));
    EXPECT_FALSE(IsClipboardText("Kelno Data"));
    EXPECT_FALSE(IsClipboardText("xKelnoData"));
    EXPECT_FALSE(IsClipboardText(""));
    EXPECT_FALSE(IsClipboardText(std::string("\0KelnoData", 10)));
}

}  // namespace
}  // namespace kelno
