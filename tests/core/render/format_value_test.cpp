#include "render/format_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/case_name.h"
#include "model/circuit.h"

namespace kelno {
namespace {

struct FormatCase {
    double value;
    const char* unit;
    const char* text;
};

class FormatValueTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatValueTest, WritesOneDecimalWithPrefix) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatValue(c.value, c.unit), c.text) << "value " << c.value;
}

std::string FormatCaseName(const ::testing::TestParamInfo<FormatCase>& info) {
    return testing::CaseName() << info.param.value << info.param.unit;
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, FormatValueTest,
    ::testing::Values(FormatCase{0.0, "V", "0.0 V"}, FormatCase{0.5, "V", "0.5 V"},
                      FormatCase{500.0, "V", "500.0 V"}, FormatCase{500.01, "V", "0.5 kV"},
                      FormatCase{0.4999, "V", "499.9 mV"}, FormatCase{-1.5, "V", "-1500.0 mV"},
                      FormatCase{2e6, "Ω", "2000.0 kΩ"}, FormatCase{0.0001, "A", "0.1 mA"},
                      FormatCase{0.0, "W", "0.0 W"}, FormatCase{0.5, "W", "0.5 W"},
                      FormatCase{500.0, "W", "500.0 W"}, FormatCase{500.05, "W", "0.5 kW"},
                      FormatCase{0.00004, "W", "0.0 mW"}, FormatCase{1.0, "cal/sec", "1.0 cal/sec"},
                      FormatCase{0.24, "cal/sec", "240.0 mcal/sec"},
                      FormatCase{0.25, "W", "250.0 mW"},
                      // Halfway cases round as "%.1f" does: to the nearer binary value,
                      // ties to even.
                      FormatCase{1.25, "W", "1.2 W"}, FormatCase{1.35, "W", "1.4 W"},
                      FormatCase{-0.0, "V", "-0.0 V"}),
    FormatCaseName);

INSTANTIATE_TEST_SUITE_P(
    NotFinite, FormatValueTest,
    ::testing::Values(FormatCase{std::numeric_limits<double>::infinity(), "V", "inf kV"},
                      FormatCase{-std::numeric_limits<double>::infinity(), "V", "-inf mV"},
                      FormatCase{std::numeric_limits<double>::quiet_NaN(), "V", "nan V"}),
    FormatCaseName);

TEST(FormatValue, HugeValuesAreWrittenInFull) {
    // Far beyond any fixed buffer: all 306 digits of the kilo value must be there.
    const std::string text = FormatValue(std::numeric_limits<double>::max(), "cal/sec");
    EXPECT_EQ(text.rfind("1797693134862315", 0), 0u) << text;
    EXPECT_EQ(text.size(), 306 + 2 + 1 + 1 + 7u);
    EXPECT_EQ(text.substr(text.size() - 11), ".0 kcal/sec");

    const std::string negative = FormatValue(-1e300, "V");
    ASSERT_GT(negative.size(), 300u);
    EXPECT_EQ(negative.front(), '-');
    EXPECT_EQ(negative.substr(negative.size() - 5), ".0 mV");
    EXPECT_EQ(negative.find_first_not_of("0123456789", 1), negative.size() - 5);
}

struct NameCase {
    std::int32_t code;
    const char* name;
};

class ElementDisplayNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ElementDisplayNameTest, NamesEveryCode) {
    EXPECT_EQ(ElementDisplayName(KindFromCode(GetParam().code)), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ElementDisplayNameTest,
    ::testing::Values(NameCase{std::numeric_limits<std::int32_t>::min(), "導線"},
                      NameCase{-7, "導線"}, NameCase{-1, "導線"}, NameCase{0, "導線"},
                      NameCase{1, "電池"}, NameCase{2, "抵抗"}, NameCase{3, "電流計"},
                      NameCase{4, "電圧計"}, NameCase{5, "電球"}, NameCase{6, "スイッチ"},
                      // Codes beyond the switch, from foreign files, wrap around the table.
                      NameCase{7, "導線"}, NameCase{8, "電池"}, NameCase{13, "スイッチ"},
                      NameCase{std::numeric_limits<std::int32_t>::max(), "電池"}),
    [](const ::testing::TestParamInfo<NameCase>& info) {
        return std::string(testing::CaseName() << "Code" << info.param.code);
    });

std::string SummaryOf(ElementKind kind, double resistance, double emf, double current) {
    Circuit circuit;
    ElementRecord record = DefaultRecord(kind);
    record.resistance = resistance;
    record.emf = emf;
    record.current = current;
    CircuitElement* element =
        circuit.AddElement(record, circuit.AddPoint(0, 0, 0), circuit.AddPoint(1, 400, 0)).element;
    return FormatElementSummary(*element);
}

TEST(FormatElementSummary, ShowsFiveFieldsForEveryKind) {
    struct Case {
        ElementKind kind;
        double resistance, emf, current;
        const char* text;
    };
    const Case cases[] = {
        {ElementKind::Resistor, 4.0, 0.0, -0.5,
         "抵抗: 4.0 Ω   0.0 V   0.5 A   1.0 W   240.0 mcal/sec"},
        {ElementKind::Battery, 0.1, 1.5, 0.0,
         "電池: 100.0 mΩ   1.5 V   0.0 A   0.0 W   0.0 cal/sec"},
        // The emf is shown signed, so a reversed battery takes the milli form.
        {ElementKind::Battery, 0.1, -1.5, 2.0,
         "電池: 100.0 mΩ   -1500.0 mV   2.0 A   400.0 mW   96.0 mcal/sec"},
        {ElementKind::Wire, 0.0, 0.0, 3.0, "導線: 0.0 Ω   0.0 V   3.0 A   0.0 W   0.0 cal/sec"},
        {ElementKind::WireVerticalFirst, 0.0, 0.0, 0.0,
         "導線: 0.0 Ω   0.0 V   0.0 A   0.0 W   0.0 cal/sec"},
        // A switch shows its open flag as a resistance.
        {ElementKind::Switch, 1.0, 0.0, 0.0,
         "スイッチ: 1.0 Ω   0.0 V   0.0 A   0.0 W   0.0 cal/sec"},
        {ElementKind::Bulb, 5.0, 0.0, 1.0, "電球: 5.0 Ω   0.0 V   1.0 A   5.0 W   1.2 cal/sec"},
        {ElementKind::Voltmeter, 100000.0, 0.0, 0.0,
         "電圧計: 100.0 kΩ   0.0 V   0.0 A   0.0 W   0.0 cal/sec"},
        {ElementKind::Ammeter, 0.001, 0.0, 0.3,
         "電流計: 1.0 mΩ   0.0 V   300.0 mA   0.1 mW   0.0 mcal/sec"},
        // Power is not made positive: a negative resistance gives a negative power and heat.
        {ElementKind::Resistor, -2.0, 0.0, 1.0,
         "抵抗: -2000.0 mΩ   0.0 V   1.0 A   -2000.0 mW   -480.0 mcal/sec"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SummaryOf(c.kind, c.resistance, c.emf, c.current), c.text);
    }
}

TEST(FormatElementSummaryWithoutReadings, KeepsWhatTheUserSetAndNothingTheAnalysisFound) {
    Circuit circuit;
    ElementRecord record = DefaultRecord(ElementKind::Battery);
    record.current = 2.0;
    const CircuitElement& battery =
        *circuit.AddElement(record, circuit.AddPoint(0, 0, 0), circuit.AddPoint(1, 400, 0)).element;
    const std::string hidden = FormatElementSummaryWithoutReadings(battery);
    EXPECT_EQ(hidden, "電池: 100.0 mΩ   1.5 V");
    // The full line begins the same way: the two stay one format.
    EXPECT_EQ(FormatElementSummary(battery).substr(0, hidden.size()), hidden);
}

TEST(FormatPotential, ThreeSignificantDigitsAndNoMoreThanMillivolts) {
    struct Case {
        double volts;
        const char* text;
    };
    const Case cases[] = {
        {1.5, "1.50 V"},
        {1.4851485148514851, "1.49 V"},
        {0.7425742574257426, "0.743 V"},
        {-0.294, "-0.294 V"},
        {12.345, "12.3 V"},
        {150.0, "150 V"},
        {1234.0, "1230 V"},
        {-98765.0, "-98800 V"},
        // Rounding that reaches the next power of ten keeps three digits.
        {9.996, "10.0 V"},
        {0.09996, "0.100 V"},
        {0.0154, "0.015 V"},
        {0.0004, "0.00 V"},
        {0.0, "0.00 V"},
        {-0.0, "0.00 V"},
        {-1e-15, "0.00 V"},
        {2e-300, "0.00 V"},
        {std::numeric_limits<double>::infinity(), "? V"},
        {std::numeric_limits<double>::quiet_NaN(), "? V"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPotential(c.volts), c.text) << c.volts;
    }
}

}  // namespace
}  // namespace kelno
