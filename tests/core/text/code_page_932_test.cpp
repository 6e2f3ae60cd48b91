#include "text/code_page_932.h"

#include <gtest/gtest.h>

#include <string>

#include "text/number_text.h"

namespace kelno {
namespace {

struct Cp932Case {
    const char* name;
    std::string utf8;
    std::string cp932;
};

class Cp932Test : public ::testing::TestWithParam<Cp932Case> {};

TEST_P(Cp932Test, ConvertsBothWays) {
    const Cp932Case& tc = GetParam();
    EXPECT_EQ(Utf8ToCp932(tc.utf8), tc.cp932);
    EXPECT_EQ(Cp932ToUtf8(tc.cp932), tc.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp932Test,
    ::testing::Values(Cp932Case{"Ascii", "Short 1.5V", "Short 1.5V"},
                      Cp932Case{"BackslashAndTildeStayAscii", "a\\b~c", "a\\b~c"},
                      Cp932Case{"HalfWidthKatakana", "ﾌｧｲﾙ", "\xCC\xA7\xB2\xD9"},
                      Cp932Case{"Kanji", "乾電池", "\x8A\xA3\x93\x64\x92\x72"},
                      Cp932Case{"Danger", "危険", "\x8A\xEB\x8C\xAF"},
                      Cp932Case{"Hiragana", "あ", "\x82\xA0"},
                      Cp932Case{"FullWidthTilde", "～", "\x81\x60"},
                      Cp932Case{"NecSpecialCircledOne", "①", "\x87\x40"},
                      Cp932Case{"Newlines", "a\r\nb", "a\r\nb"}),
    [](const auto& info) { return info.param.name; });

TEST(Cp932Test, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");  // outside the BMP: one '?' for the pair
    EXPECT_EQ(Utf8ToCp932("한"), "?");
}

TEST(Cp932Test, BrokenBytesNeverSwallowTheRest) {
    EXPECT_EQ(Cp932ToUtf8("\x82"), "\xEF\xBF\xBD");      // lead byte at the end
    EXPECT_EQ(Cp932ToUtf8("\x82 A"), "\xEF\xBF\xBD A");  // no valid trail byte
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xC3")), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xE3\x81")), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xC0\xAF")), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong
}

TEST(Cp932Test, EveryDoubleByteCharacterSurvivesARoundTrip) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string text = Cp932ToUtf16(bytes);
            if (text.size() != 1 || text[0] == 0xFFFD) {
                continue;
            }
            ++characters;
            // Characters with two codes (NEC and IBM duplicates) come back as the preferred
            // code, which must itself read as the same character.
            EXPECT_EQ(Cp932ToUtf16(Utf16ToCp932(text)), text) << std::hex << lead << trail;
        }
    }
    EXPECT_GT(characters, 9000);
}

TEST(NumberTextTest, ShortestRoundTrip) {
    EXPECT_EQ(ShortestRoundTrip(0.1), "0.1");
    EXPECT_EQ(ShortestRoundTrip(15.0), "15");
    EXPECT_EQ(ShortestRoundTrip(1e6), "1e+06");
    EXPECT_EQ(ShortestRoundTrip(0.29411764705882354), "0.29411764705882354");
    EXPECT_EQ(ShortestRoundTrip(-1.0 / 3.0), "-0.3333333333333333");
}

}  // namespace
}  // namespace kelno
