#include "text/details_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace kelno {
namespace {

struct ParseCase {
    const char* name;
    std::string text;
    std::optional<double> value;  // nothing: refused
};

class DetailsNumberParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DetailsNumberParseTest, ReadsOrRefuses) {
    const ParseCase& tc = GetParam();
    const std::optional<double> parsed = ParseDetailsNumber(tc.text);
    ASSERT_EQ(parsed.has_value(), tc.value.has_value()) << '"' << tc.text << '"';
    if (tc.value) {
        EXPECT_EQ(*parsed, *tc.value);
        EXPECT_EQ(std::signbit(*parsed), std::signbit(*tc.value));
    }
}

const std::string kThirtyBlanks(30, ' ');

INSTANTIATE_TEST_SUITE_P(
    Texts, DetailsNumberParseTest,
    ::testing::Values(
        ParseCase{"Integer", "220", 220.0}, ParseCase{"LeadingPoint", ".5", 0.5},
        ParseCase{"TrailingPoint", "5.", 5.0}, ParseCase{"Zero", "0", 0.0},
        ParseCase{"ZeroWithBlanksAndTabs", " \t0.0 \t", 0.0},
        ParseCase{"ZeroWithExponent", "0e7", 0.0}, ParseCase{"PointZero", ".0", std::nullopt},
        ParseCase{"MinusZero", "-0", std::nullopt}, ParseCase{"PlusZero", "+0", std::nullopt},
        ParseCase{"Negative", "-12.5", -12.5}, ParseCase{"PlusSign", "+3", 3.0},
        ParseCase{"Exponent", "1.5e3", 1500.0}, ParseCase{"NegativeExponent", "25E-2", 0.25},
        ParseCase{"UnitAfterNumber", "1.5V", std::nullopt},
        ParseCase{"ExponentWithoutDigits", "1e", std::nullopt},
        ParseCase{"ExponentSignWithoutDigits", "1e+", std::nullopt},
        ParseCase{"Letters", "abc", std::nullopt}, ParseCase{"Empty", "", std::nullopt},
        ParseCase{"BlanksOnly", "   ", std::nullopt}, ParseCase{"SignOnly", "-", std::nullopt},
        ParseCase{"PointOnly", ".", std::nullopt}, ParseCase{"TwoSigns", "--1", std::nullopt},
        ParseCase{"TwoNumbers", "1 2", std::nullopt},
        ParseCase{"NewlineIsNotABlank", "1\n", std::nullopt},
        ParseCase{"CommaIsNoDecimalPoint", "1,5", std::nullopt},
        ParseCase{"Hexadecimal", "0x10", std::nullopt}, ParseCase{"Infinity", "inf", std::nullopt},
        ParseCase{"NaN", "nan", std::nullopt}, ParseCase{"Overflow", "1e999", std::nullopt},
        ParseCase{"NegativeOverflow", "-1e999", std::nullopt},
        ParseCase{"UnderflowToZero", "1e-999", std::nullopt},
        ParseCase{"FullWidthDigit", "１", std::nullopt},
        // Only the first 31 characters count: what follows them is never seen.
        ParseCase{"GarbageAfter31Characters", "1" + kThirtyBlanks + "x", 1.0},
        ParseCase{"GarbageAt31stCharacter", "1" + std::string(29, ' ') + "x", std::nullopt},
        ParseCase{"DigitsCutAt31", std::string(31, '1') + "99", 1111111111111111111111111111111.0},
        ParseCase{"NumberBeyond31Characters", kThirtyBlanks + " 5", std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(DetailsNumberFormatTest, FifteenSignificantDigitsReadBack) {
    EXPECT_EQ(FormatDetailsNumber(0.1), "0.1");
    EXPECT_EQ(FormatDetailsNumber(100000), "100000");
    EXPECT_EQ(FormatDetailsNumber(0.001), "0.001");
    EXPECT_EQ(FormatDetailsNumber(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatDetailsNumber(1e20), "1e+20");
    for (const double value : {0.1, 1.5, 100.0, 5.1, 1e-7, -42.25}) {
        EXPECT_EQ(ParseDetailsNumber(FormatDetailsNumber(value)), value) << value;
    }
}

TEST(DetailsNumberFormatTest, CurrentShownAsMagnitudeCutToFiveDecimals) {
    EXPECT_EQ(FormatDetailsNumber(DetailsCurrent(0.0123456)), "0.01234");
    EXPECT_EQ(FormatDetailsNumber(DetailsCurrent(-0.5)), "0.5");
    EXPECT_EQ(FormatDetailsNumber(DetailsCurrent(0.294117647)), "0.29411");
    EXPECT_EQ(FormatDetailsNumber(DetailsCurrent(-0.000009)), "0");
    // Far beyond any integer type: cut in doubles, never an overflow.
    EXPECT_DOUBLE_EQ(DetailsCurrent(-3e12), 3e12);
}

}  // namespace
}  // namespace kelno
