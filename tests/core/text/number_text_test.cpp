#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>
#include <version>

namespace kelno {
namespace {

// Fewer values where the tests are built without optimisation (the sanitizer run).
#ifdef NDEBUG
constexpr int kScale = 10;
#else
constexpr int kScale = 1;
#endif

std::uint64_t Bits(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double FromBits(std::uint64_t bits) {
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Doubles of every kind: random bit patterns (subnormals, NaNs and infinities among them),
// short decimals such as a pupil types, powers of two and their neighbours, and the values
// around powers of ten.
std::vector<double> SampleDoubles(int randomCount) {
    std::mt19937_64 random(20261210);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min(),
                                  std::numeric_limits<double>::max(),
                                  5e-324,
                                  1.5,
                                  0.29411764705882354};
    for (int i = 0; i < randomCount; ++i) {
        values.push_back(FromBits(random()));
    }
    std::uniform_int_distribution<int> digits(0, 99999);
    std::uniform_int_distribution<int> decimals(0, 8);
    for (int i = 0; i < randomCount / 2; ++i) {
        const double value = digits(random) / std::pow(10.0, decimals(random));
        values.push_back(i % 2 == 0 ? value : -value);
    }
    for (int e = -1074; e <= 1023; ++e) {
        const double power = std::ldexp(1.0, e);
        for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL)}) {
            values.push_back(v);
        }
    }
    for (int e = -323; e <= 308; ++e) {
        const double power = std::strtod(("1e" + std::to_string(e)).c_str(), nullptr);
        for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL)}) {
            values.push_back(v);
            values.push_back(v * 5);  // the ties of rounding to fewer digits
        }
    }
    return values;
}

class NumberTextFallback : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(__cpp_lib_to_chars)
        GTEST_SKIP() << "the fallback is the only conversion on this toolchain";
#endif
    }
};

TEST_F(NumberTextFallback, FormatsEveryKindOfDoubleAsTheLibraryDoes) {
    int differences = 0;
    for (const double value : SampleDoubles(100'000 * kScale)) {
        const std::string shortest = ShortestRoundTrip(value);
        if (fallback::ShortestRoundTrip(value) != shortest && ++differences <= 10) {
            ADD_FAILURE() << "shortest " << shortest << " fallback "
                          << fallback::ShortestRoundTrip(value);
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST_F(NumberTextFallback, GeneralAndFixedFormsAsTheLibraryDoes) {
    int differences = 0;
    const std::vector<double> values = SampleDoubles(10'000 * kScale);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int precision = 1 + static_cast<int>(i % 17);
        const int decimals = static_cast<int>(i % 7);
        const double value = values[i];
        if (fallback::FormatGeneral(value, precision) != FormatGeneral(value, precision) &&
            ++differences <= 10) {
            ADD_FAILURE() << FormatGeneral(value, precision) << " precision " << precision;
        }
        if (fallback::FormatFixed(value, decimals) != FormatFixed(value, decimals) &&
            ++differences <= 10) {
            ADD_FAILURE() << FormatFixed(value, decimals) << " decimals " << decimals;
        }
    }
    EXPECT_EQ(differences, 0);
}

// Texts that read as numbers in many spellings, and texts that only begin like one.
std::vector<std::string> SampleTexts(int count) {
    std::vector<std::string> texts = {
        "",        "-",         "+1",       " 1",     ".",       "-.",      ".5",     "5.",
        "1e",      "1e+",       "1e-x",     "1E5",    "0x10",    "inf",     "-Inf",   "INFINITY",
        "infin",   "nan",       "-nan",     "nan(1)", "nan(",    "nan(a_b)", "1e400", "-1e400",
        "1e-400",  "2.4e-324",  "2.5e-324", "4.9e-324", "1e-310", "0e999",  "00012",  "1.5x",
        "1..5",    "--1",       "1e1e1",    std::string(800, '9'), "0." + std::string(400, '0') + "1"};
    std::mt19937_64 random(932);
    const std::string alphabet = "0123456789.eE+-inIfFnaNx() ";
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 12);
    for (int i = 0; i < count; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[letter(random)];
        }
        texts.push_back(text);
    }
    for (const double value : SampleDoubles(count / 4)) {
        texts.push_back(ShortestRoundTrip(value));
        texts.push_back(FormatGeneral(value, 17));
        texts.push_back(FormatGeneral(value, 3) + "E-2");
    }
    return texts;
}

TEST_F(NumberTextFallback, ReadsEveryTextAsTheLibraryDoes) {
    int differences = 0;
    for (const std::string& text : SampleTexts(100'000 * kScale)) {
        double expected = -1.0;
        double read = -1.0;
        const char* last = text.data() + text.size();
        const auto want = ParseDouble(text.data(), last, expected);
        const auto got = fallback::ParseDouble(text.data(), last, read);
        const bool same = want.ec == got.ec && want.ptr == got.ptr &&
                          (want.ec != std::errc() || Bits(expected) == Bits(read) ||
                           (std::isnan(expected) && std::isnan(read)));
        if (!same && ++differences <= 10) {
            ADD_FAILURE() << '"' << text << "\" library " << static_cast<int>(want.ec) << " at "
                          << want.ptr - text.data() << " = " << expected << ", fallback "
                          << static_cast<int>(got.ec) << " at " << got.ptr - text.data() << " = "
                          << read;
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(NumberTextTest, ClassicFormsWhateverTheToolchain) {
    EXPECT_EQ(ShortestRoundTrip(1e21), "1e+21");
    EXPECT_EQ(ShortestRoundTrip(123456789012345680000.0), "123456789012345683968");
    EXPECT_EQ(ShortestRoundTrip(-0.0), "-0");
    EXPECT_EQ(ShortestRoundTrip(5e-324), "5e-324");
    EXPECT_EQ(FormatGeneral(1e6, 6), "1e+06");
    EXPECT_EQ(FormatFixed(-0.04, 1), "-0.0");
    double value = 0.0;
    const std::string text = "-1.5e3V";
    const auto result = ParseDouble(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(result.ptr, text.data() + 6);
    EXPECT_EQ(value, -1500.0);
}

}  // namespace
}  // namespace kelno
