#include "io/kel_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "analysis/analyze.h"
#include "core/case_name.h"
#include "io/byte_writer.h"
#include "messages.h"
#include "text/code_page_932.h"

namespace kelno {
namespace {

using Bytes = std::vector<std::uint8_t>;

KelReadResult Read(const Bytes& bytes) {
    return ReadKel(bytes, [](std::int32_t) {
        ADD_FAILURE() << "no question expected";
        return false;
    });
}

// A file's fields written one by one, for files that the writer would never produce.
class FileBuilder {
public:
    FileBuilder& Int(std::int32_t v) {
        writer_.WriteInt32(v);
        return *this;
    }
    FileBuilder& Byte(std::uint8_t v) {
        writer_.WriteUint8(v);
        return *this;
    }
    FileBuilder& Word(std::uint16_t v) {
        writer_.WriteUint16(v);
        return *this;
    }
    FileBuilder& Double(double v) {
        writer_.WriteDouble(v);
        return *this;
    }
    FileBuilder& Raw(std::string_view v) {
        writer_.WriteBytes(v);
        return *this;
    }
    FileBuilder& Header(std::int32_t version) {
        return Int(version).Int(10).Int(20).Int(650).Int(500);
    }
    FileBuilder& Element(std::int32_t end1, std::int32_t end2, std::int32_t kind, double r,
                         double i, double e) {
        return Int(end1).Int(end2).Int(kind).Double(r).Double(i).Double(e);
    }
    FileBuilder& Options() { return Int(0).Byte(0).Byte(0).Byte(1).Int(10); }
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
    ByteWriter writer_{bytes_};
};

// Three points, a battery, a bulb with an awkward current, a second element on the battery's
// points (which gets no link) and a wire.
Circuit SampleCircuit() {
    Circuit c;
    CircuitPoint* a = c.AddPoint(0, 800, -500);
    CircuitPoint* b = c.AddPoint(0, 1200, -500);
    CircuitPoint* d = c.AddPoint(0, -7, 2147483647);
    ElementRecord battery = DefaultRecord(ElementKind::Battery);
    battery.current = 0.29411764705882354;
    c.AddElement(battery, a, b);
    ElementRecord bulb = DefaultRecord(ElementKind::Bulb);
    bulb.resistance = 1234567.0;
    bulb.current = -1.0 / 3.0;
    c.AddElement(bulb, b, d);
    c.AddElement(DefaultRecord(ElementKind::Voltmeter), b, a);
    ElementRecord odd;
    odd.kind = KindFromCode(-1);
    odd.emf = -0.0;
    c.AddElement(odd, d, a);
    return c;
}

TEST(KelFileTest, EmptyCircuitIsWrittenFieldByField) {
    Circuit empty;
    KelFileContents contents;
    contents.window = {10, 20, 650, 500};
    const Bytes expected = FileBuilder().Header(106).Int(0).Int(0).Byte(0).Options().bytes();
    EXPECT_EQ(WriteKel(empty, contents), expected);
    const KelReadResult back = Read(expected);
    ASSERT_EQ(back.status, KelReadStatus::Ok);
    EXPECT_EQ(back.circuit.PointCount(), 0u);
    EXPECT_EQ(back.circuit.ElementCount(), 0u);
    EXPECT_EQ(back.contents.window, contents.window);
}

TEST(KelFileTest, RoundTripKeepsEveryFieldAndBytes) {
    Circuit circuit = SampleCircuit();
    KelFileContents contents;
    contents.window = {-5, 3, 1024, 768};
    contents.commentText = Utf8ToCp932("豆電球の回路。ｶﾀｶﾅも");
    contents.showCommentOnOpen = 5;
    contents.noDiagonalWires = true;
    contents.smoothDisplay = true;
    contents.showCurrentFlow = false;
    contents.undoBufferSize = -3;
    const Bytes bytes = WriteKel(circuit, contents);

    KelReadResult back = Read(bytes);
    ASSERT_EQ(back.status, KelReadStatus::Ok);
    EXPECT_EQ(back.contents.version, 106);
    EXPECT_EQ(back.contents.window, contents.window);
    EXPECT_EQ(back.contents.commentText, contents.commentText);
    EXPECT_EQ(back.contents.showCommentOnOpen, 5);
    EXPECT_TRUE(back.contents.noDiagonalWires);
    EXPECT_TRUE(back.contents.smoothDisplay);
    EXPECT_FALSE(back.contents.showCurrentFlow);
    EXPECT_EQ(back.contents.undoBufferSize, -3);

    ASSERT_EQ(back.circuit.ElementCount(), 4u);
    auto original = circuit.elements().begin();
    for (const CircuitElement& e : back.circuit.elements()) {
        EXPECT_EQ(e.kind, original->kind);
        EXPECT_EQ(std::memcmp(&e.resistance, &original->resistance, sizeof(double)), 0);
        EXPECT_EQ(std::memcmp(&e.current, &original->current, sizeof(double)), 0);
        EXPECT_EQ(std::memcmp(&e.emf, &original->emf, sizeof(double)), 0);
        EXPECT_EQ(e.end1()->x, original->end1()->x);
        EXPECT_EQ(e.end2()->y, original->end2()->y);
        EXPECT_EQ(e.linked(), original->linked());
        ++original;
    }
    EXPECT_EQ(WriteKel(back.circuit, back.contents), bytes);
}

TEST(KelFileTest, EndNumbersFollowThePresentPointOrder) {
    Circuit c;
    CircuitPoint* gone = c.AddPoint(0, 0, 0);
    CircuitPoint* a = c.AddPoint(0, 1, 0);
    CircuitPoint* b = c.AddPoint(0, 2, 0);
    c.AddElement(DefaultRecord(ElementKind::Wire), b, a);
    c.RemovePoint(gone);
    const Bytes bytes = WriteKel(c, {});
    const Bytes expected = FileBuilder()
                               .Header(106)
                               .Int(2)
                               .Int(1)
                               .Int(0)
                               .Int(2)
                               .Int(0)
                               .Int(1)
                               .Element(1, 0, 0, 0.0, 0.0, 0.0)
                               .Byte(0)
                               .Options()
                               .bytes();
    // Only the circuit part matters here; the header's rectangle is the default one.
    ASSERT_EQ(bytes.size(), expected.size());
    EXPECT_TRUE(std::equal(bytes.begin() + 20, bytes.end(), expected.begin() + 20));
}

struct PrefixCase {
    std::size_t length;
    Bytes prefix;  // what precedes the text
};

class CommentLengthTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(CommentLengthTest, UsesTheShortestPrefixAndReadsItBack) {
    const PrefixCase& tc = GetParam();
    Circuit empty;
    KelFileContents contents;
    contents.commentText.assign(tc.length, 'x');
    const Bytes bytes = WriteKel(empty, contents);
    const std::size_t at = 28;  // version, rectangle, two counts
    ASSERT_GE(bytes.size(), at + tc.prefix.size());
    EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + at + tc.prefix.size()), tc.prefix);
    const KelReadResult back = Read(bytes);
    ASSERT_EQ(back.status, KelReadStatus::Ok);
    EXPECT_EQ(back.contents.commentText, contents.commentText);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, CommentLengthTest,
    ::testing::Values(PrefixCase{0, {0x00}}, PrefixCase{254, {0xFE}},
                      PrefixCase{255, {0xFF, 0xFF, 0x00}}, PrefixCase{300, {0xFF, 0x2C, 0x01}},
                      PrefixCase{65533, {0xFF, 0xFD, 0xFF}},
                      PrefixCase{65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                      PrefixCase{70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}),
    [](const ::testing::TestParamInfo<PrefixCase>& info) {
        return std::string(testing::CaseName() << "Length" << info.param.length);
    });

std::string Utf16Le(std::u16string_view text) {
    std::string out;
    for (char16_t unit : text) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

TEST(KelFileTest, WideCommentIsReadAsCodePage932) {
    const std::u16string shortText = u"電池とｽｲｯﾁ";
    const std::u16string longText(300, u'あ');
    struct Case {
        std::u16string text;
        Bytes lengthPrefix;
    };
    for (const Case& tc : {Case{shortText, {static_cast<std::uint8_t>(shortText.size())}},
                           Case{longText, {0xFF, 0x2C, 0x01}}}) {
        FileBuilder file;
        file.Header(106).Int(0).Int(0).Byte(0xFF).Word(0xFFFE);
        for (std::uint8_t b : tc.lengthPrefix) {
            file.Byte(b);
        }
        file.Raw(Utf16Le(tc.text)).Options();
        const KelReadResult back = Read(file.bytes());
        ASSERT_EQ(back.status, KelReadStatus::Ok);
        EXPECT_EQ(back.contents.commentText, Utf16ToCp932(tc.text));
        EXPECT_EQ(Cp932ToUtf16(back.contents.commentText), tc.text);
    }
}

TEST(KelFileTest, FilesBeforeVersion102LoadWithDefaultOptions) {
    for (const std::string comment : {"", "memo"}) {
        const Bytes bytes = FileBuilder()
                                .Header(101)
                                .Int(0)
                                .Int(0)
                                .Byte(static_cast<std::uint8_t>(comment.size()))
                                .Raw(comment)
                                .bytes();
        const KelReadResult back = Read(bytes);
        ASSERT_EQ(back.status, KelReadStatus::Ok);
        EXPECT_EQ(back.contents.version, 101);
        EXPECT_FALSE(back.contents.smoothDisplay);
        EXPECT_FALSE(back.contents.noDiagonalWires);
        EXPECT_TRUE(back.contents.showCurrentFlow);
        EXPECT_EQ(back.contents.undoBufferSize, 10);
        EXPECT_EQ(back.contents.showCommentOnOpen != 0, !comment.empty());
    }
}

TEST(KelFileTest, OldAndOddVersionsOpenWithoutAQuestion) {
    for (const std::int32_t version : {106, 102, 0, -1, std::numeric_limits<std::int32_t>::min()}) {
        FileBuilder file;
        file.Header(version).Int(0).Int(0).Byte(0);
        if (version >= 102) {
            file.Options();
        }
        EXPECT_EQ(Read(file.bytes()).status, KelReadStatus::Ok) << version;
    }
}

TEST(KelFileTest, NewerVersionIsOpenedOnlyWhenTheAnswerIsYes) {
    const Bytes bytes =
        FileBuilder().Header(107).Int(1).Int(5).Int(6).Int(0).Byte(0).Options().bytes();
    for (const bool answer : {true, false}) {
        std::vector<std::int32_t> asked;
        const KelReadResult back = ReadKel(bytes, [&](std::int32_t version) {
            asked.push_back(version);
            return answer;
        });
        EXPECT_EQ(asked, std::vector<std::int32_t>{107});
        if (answer) {
            ASSERT_EQ(back.status, KelReadStatus::Ok);
            EXPECT_EQ(back.circuit.PointCount(), 1u);
        } else {
            EXPECT_EQ(back.status, KelReadStatus::NewerVersionRefused);
            EXPECT_EQ(back.error, messages::kOpenFailed);
            EXPECT_EQ(back.circuit.PointCount(), 0u);
        }
    }
    EXPECT_EQ(ReadKel(bytes, nullptr).status, KelReadStatus::NewerVersionRefused);
    EXPECT_EQ(NewerVersionQuestionText(107),
              "Please update Kelno\n I don't know this version(1.07).\nDo you OPEN anyway?");
    EXPECT_EQ(NewerVersionQuestionText(200),
              "Please update Kelno\n I don't know this version(2).\nDo you OPEN anyway?");
}

TEST(KelFileTest, NonPositiveCountsReadNoRecords) {
    const Bytes bytes = FileBuilder()
                            .Header(106)
                            .Int(-4)  // no point records follow
                            .Int(0)   // elements
                            .Byte(2)
                            .Raw("ok")
                            .Options()
                            .bytes();
    const KelReadResult back = Read(bytes);
    ASSERT_EQ(back.status, KelReadStatus::Ok);
    EXPECT_EQ(back.circuit.PointCount(), 0u);
    EXPECT_EQ(back.contents.commentText, "ok");
}

TEST(KelFileTest, TrailingBytesAreIgnoredAndOptionBytesAreFlags) {
    Bytes bytes = FileBuilder()
                      .Header(106)
                      .Int(0)
                      .Int(0)
                      .Byte(0)
                      .Int(1)
                      .Byte(7)
                      .Byte(0)
                      .Byte(255)
                      .Int(3)
                      .Raw("garbage")
                      .bytes();
    const KelReadResult back = Read(bytes);
    ASSERT_EQ(back.status, KelReadStatus::Ok);
    EXPECT_TRUE(back.contents.noDiagonalWires);
    EXPECT_FALSE(back.contents.smoothDisplay);
    EXPECT_TRUE(back.contents.showCurrentFlow);
    EXPECT_EQ(back.contents.undoBufferSize, 3);
}

TEST(KelFileTest, EveryTruncationIsRejected) {
    Circuit circuit = SampleCircuit();
    KelFileContents contents;
    contents.commentText = std::string(300, 'c');
    const Bytes whole = WriteKel(circuit, contents);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const KelReadResult back = Read(Bytes(whole.begin(), whole.begin() + length));
        ASSERT_EQ(back.status, KelReadStatus::Malformed) << length;
        EXPECT_EQ(back.error, messages::kUnexpectedFileFormat);
        EXPECT_EQ(back.circuit.PointCount(), 0u);
    }
}

TEST(KelFileTest, BadRecordsAreRejected) {
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"EndBeyondThePoints", FileBuilder()
                                   .Header(106)
                                   .Int(2)
                                   .Int(0)
                                   .Int(0)
                                   .Int(1)
                                   .Int(1)
                                   .Int(1)
                                   .Element(0, 2, 1, 0.1, 0, 1.5)
                                   .Byte(0)
                                   .Options()
                                   .bytes()},
        {"NegativeEnd", FileBuilder()
                            .Header(106)
                            .Int(2)
                            .Int(0)
                            .Int(0)
                            .Int(1)
                            .Int(1)
                            .Int(1)
                            .Element(-1, 1, 1, 0.1, 0, 1.5)
                            .Byte(0)
                            .Options()
                            .bytes()},
        {"ElementWithoutPoints", FileBuilder()
                                     .Header(106)
                                     .Int(0)
                                     .Int(1)
                                     .Element(0, 0, 0, 0, 0, 0)
                                     .Byte(0)
                                     .Options()
                                     .bytes()},
        {"HugePointCount", FileBuilder().Header(106).Int(2000000000).bytes()},
        {"HugeElementCount", FileBuilder().Header(106).Int(0).Int(2000000000).Int(0).bytes()},
        {"HugeCommentLength",
         FileBuilder().Header(106).Int(0).Int(0).Byte(0xFF).Word(0xFFFF).Int(-1).bytes()},
        {"HugeWideComment", FileBuilder()
                                .Header(106)
                                .Int(0)
                                .Int(0)
                                .Byte(0xFF)
                                .Word(0xFFFE)
                                .Byte(0xFF)
                                .Word(0xFFFF)
                                .Int(0x7FFFFFFF)
                                .Raw("ab")
                                .bytes()},
    };
    for (const Case& tc : cases) {
        const auto started = std::chrono::steady_clock::now();
        const KelReadResult back = Read(tc.bytes);
        EXPECT_EQ(back.status, KelReadStatus::Malformed) << tc.name;
        EXPECT_EQ(back.circuit.PointCount(), 0u) << tc.name;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100))
            << tc.name;
    }
}

// Damaged files: whatever the bytes, reading ends with a circuit or a rejection, and a
// circuit that loads can be analysed.
TEST(KelFileTest, RandomDamageNeverBreaksReadingOrAnalysis) {
    Circuit circuit = SampleCircuit();
    KelFileContents contents;
    contents.commentText = "memo";
    const Bytes whole = WriteKel(circuit, contents);
    std::mt19937 random(12345);
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = whole;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        }
        if (random() % 4 == 0) {
            damaged.resize(random() % damaged.size());
        }
        KelReadResult back = ReadKel(damaged, [](std::int32_t) { return true; });
        if (back.status == KelReadStatus::Ok) {
            ++loaded;
            Analyze(back.circuit);
            for (const CircuitElement& e : back.circuit.elements()) {
                ASSERT_TRUE(std::isfinite(e.current));
            }
        } else {
            EXPECT_EQ(back.circuit.ElementCount(), 0u);
        }
    }
    EXPECT_GT(loaded, 100);
}

// --- Hostile counts, end numbers and comment prefixes --------------------------------------

// A file whose point and element counts are given; `records` bytes of zero follow each
// count, then an empty comment and the options.
struct CountCase {
    const char* name;
    std::int32_t points;
    std::int32_t pointRecords;  // records actually present
    std::int32_t elements;
    std::int32_t elementRecords;
    KelReadStatus status;
};

class KelCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(KelCountTest, CountsAreTrustedOnlyAsFarAsTheBytesGo) {
    const CountCase& tc = GetParam();
    FileBuilder file;
    file.Header(106).Int(tc.points);
    for (std::int32_t i = 0; i < tc.pointRecords; ++i) {
        file.Int(i).Int(-i);
    }
    file.Int(tc.elements);
    for (std::int32_t i = 0; i < tc.elementRecords; ++i) {
        file.Element(0, 1, 0, 0, 0, 0);
    }
    file.Byte(0).Options();
    const auto started = std::chrono::steady_clock::now();
    const KelReadResult back = Read(file.bytes());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
    ASSERT_EQ(back.status, tc.status);
    if (tc.status == KelReadStatus::Ok) {
        EXPECT_EQ(back.circuit.PointCount(), static_cast<std::size_t>(std::max(tc.points, 0)));
        EXPECT_EQ(back.circuit.ElementCount(), static_cast<std::size_t>(std::max(tc.elements, 0)));
    } else {
        EXPECT_EQ(back.circuit.PointCount(), 0u);
    }
}

constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Counts, KelCountTest,
    ::testing::Values(CountCase{"ZeroAndZero", 0, 0, 0, 0, KelReadStatus::Ok},
                      CountCase{"NegativePoints", -1, 0, 0, 0, KelReadStatus::Ok},
                      CountCase{"MostNegativePoints", kMinInt, 0, 0, 0, KelReadStatus::Ok},
                      CountCase{"NegativeElements", 2, 2, -7, 0, KelReadStatus::Ok},
                      CountCase{"MostNegativeElements", 2, 2, kMinInt, 0, KelReadStatus::Ok},
                      CountCase{"ExactCounts", 2, 2, 3, 3, KelReadStatus::Ok},
                      // The options and comment bytes (12) are fewer than one element record (36):
                      // a count one too large must fail rather than read them as a record.
                      CountCase{"OneElementMoreThanTheBytes", 2, 2, 4, 3, KelReadStatus::Malformed},
                      CountCase{"PointsBeyondTheFile", 1000, 2, 0, 0, KelReadStatus::Malformed},
                      CountCase{"LargestPointCount", kMaxInt, 0, 0, 0, KelReadStatus::Malformed},
                      CountCase{"LargestElementCount", 2, 2, kMaxInt, 1, KelReadStatus::Malformed}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

TEST(KelFileTest, EndNumbersAtTheLimitsOfTheirTypeAreRejected) {
    for (const auto& [end1, end2] : {std::pair{0, 2}, std::pair{2, 0}, std::pair{kMinInt, 0},
                                     std::pair{0, kMaxInt}, std::pair{kMaxInt, kMinInt}}) {
        const Bytes bytes = FileBuilder()
                                .Header(106)
                                .Int(2)
                                .Int(0)
                                .Int(0)
                                .Int(1)
                                .Int(1)
                                .Int(1)
                                .Element(end1, end2, 1, 0.1, 0, 1.5)
                                .Byte(0)
                                .Options()
                                .bytes();
        const KelReadResult back = Read(bytes);
        EXPECT_EQ(back.status, KelReadStatus::Malformed) << end1 << " " << end2;
        EXPECT_EQ(back.circuit.PointCount(), 0u);
    }
}

// The comment's prefix in every form a file may use, not only the shortest: what follows
// the text is always the option block, so a wrong length shows as a rejected file.
struct PrefixForm {
    const char* name;
    Bytes prefix;
    std::size_t textBytes;  // bytes of text that follow the prefix
    KelReadStatus status;
    std::size_t commentLength;  // of the comment read, in code page 932 bytes
};

class CommentPrefixTest : public ::testing::TestWithParam<PrefixForm> {};

TEST_P(CommentPrefixTest, IsReadInEveryForm) {
    const PrefixForm& tc = GetParam();
    FileBuilder file;
    file.Header(106).Int(0).Int(0);
    for (std::uint8_t b : tc.prefix) {
        file.Byte(b);
    }
    // "a" in UTF-16 is "a\0"; a narrow text of the same bytes reads as 'a' and NUL.
    for (std::size_t i = 0; i < tc.textBytes; ++i) {
        file.Byte(i % 2 == 0 ? 'a' : 0);
    }
    file.Options();
    const KelReadResult back = Read(file.bytes());
    ASSERT_EQ(back.status, tc.status);
    if (tc.status == KelReadStatus::Ok) {
        EXPECT_EQ(back.contents.commentText.size(), tc.commentLength);
        EXPECT_EQ(back.contents.undoBufferSize, 10);  // the option block came right after
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommentPrefixTest,
    ::testing::Values(
        PrefixForm{"ShortLongest", {0xFE}, 254, KelReadStatus::Ok, 254},
        PrefixForm{"LongFormOfAShortLength", {0xFF, 0x05, 0x00}, 5, KelReadStatus::Ok, 5},
        PrefixForm{"LongFormOfZero", {0xFF, 0x00, 0x00}, 0, KelReadStatus::Ok, 0},
        PrefixForm{"LongLongest", {0xFF, 0xFD, 0xFF}, 65533, KelReadStatus::Ok, 65533},
        PrefixForm{"VeryLongFormOfZero", {0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, 0, KelReadStatus::Ok, 0},
        PrefixForm{
            "VeryLongOfAShortLength", {0xFF, 0xFF, 0xFF, 3, 0, 0, 0}, 3, KelReadStatus::Ok, 3},
        PrefixForm{"VeryLongBeyondTheFile",
                   {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                   3,
                   KelReadStatus::Malformed,
                   0},
        PrefixForm{"PrefixCutShort", {0xFF, 0x05}, 0, KelReadStatus::Malformed, 0},
        PrefixForm{"WideEmpty", {0xFF, 0xFE, 0xFF, 0x00}, 0, KelReadStatus::Ok, 0},
        PrefixForm{"WideShort", {0xFF, 0xFE, 0xFF, 0x03}, 6, KelReadStatus::Ok, 3},
        PrefixForm{
            "WideLongForm", {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}, 600, KelReadStatus::Ok, 300},
        PrefixForm{"WideVeryLongForm",
                   {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0},
                   4,
                   KelReadStatus::Ok,
                   2},
        // An odd number of bytes: the last unit lacks its high byte, so the option block
        // is read one byte off and ends early.
        PrefixForm{"WideOddBytes", {0xFF, 0xFE, 0xFF, 0x03}, 5, KelReadStatus::Malformed, 0},
        PrefixForm{"WideUnitsBeyondTheFile",
                   {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
                   4,
                   KelReadStatus::Malformed,
                   0},
        PrefixForm{"WideMarkWithoutLength", {0xFF, 0xFE, 0xFF}, 0, KelReadStatus::Malformed, 0},
        // A second wide mark is a length of 65534 units, not another mark.
        PrefixForm{
            "WideMarkTwice", {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}, 4, KelReadStatus::Malformed, 0}),
    [](const ::testing::TestParamInfo<PrefixForm>& info) { return std::string(info.param.name); });

TEST(KelFileTest, WideCommentWithLoneSurrogatesStillLoads) {
    for (const std::u16string& text :
         {std::u16string{0xD800}, std::u16string{0xDC00, u'a'}, std::u16string{u'a', 0xD83D}}) {
        FileBuilder file;
        file.Header(106).Int(0).Int(0).Byte(0xFF).Word(0xFFFE);
        file.Byte(static_cast<std::uint8_t>(text.size())).Raw(Utf16Le(text)).Options();
        const KelReadResult back = Read(file.bytes());
        ASSERT_EQ(back.status, KelReadStatus::Ok);
        EXPECT_FALSE(back.contents.commentText.empty());
        // What was read is plain code page 932 that saves in the narrow form.
        Circuit empty;
        EXPECT_EQ(Read(WriteKel(empty, back.contents)).contents.commentText,
                  back.contents.commentText);
    }
}

// Values no circuit should hold still load, bit for bit: the analysis decides what they
// mean, and a save gives them back unchanged.
TEST(KelFileTest, NonFiniteAndNegativeValuesLoadAsTheyStand) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Bytes bytes = FileBuilder()
                            .Header(106)
                            .Int(2)
                            .Int(0)
                            .Int(0)
                            .Int(400)
                            .Int(0)
                            .Int(3)
                            .Element(0, 1, 1, nan, inf, -inf)
                            .Element(1, 0, 2, -100.0, nan, nan)
                            .Element(1, 0, 5, inf, -0.0, -5e-324)
                            .Byte(0)
                            .Options()
                            .bytes();
    KelReadResult back = Read(bytes);
    ASSERT_EQ(back.status, KelReadStatus::Ok);
    EXPECT_EQ(WriteKel(back.circuit, back.contents), bytes);
}

TEST(KelFileTest, SecondElementOnAPairLoadsWithoutLink) {
    const Bytes bytes = FileBuilder()
                            .Header(106)
                            .Int(2)
                            .Int(0)
                            .Int(0)
                            .Int(400)
                            .Int(0)
                            .Int(3)
                            .Element(0, 1, 1, 0.1, 0, 1.5)
                            .Element(1, 0, 4, 100000, 0, 0)
                            .Element(1, 1, 5, 5, 0, 0)  // both ends on one point
                            .Byte(0)
                            .Options()
                            .bytes();
    const KelReadResult back = Read(bytes);
    ASSERT_EQ(back.status, KelReadStatus::Ok);
    std::vector<bool> linked;
    for (const CircuitElement& e : back.circuit.elements()) {
        linked.push_back(e.linked());
    }
    EXPECT_EQ(linked, (std::vector<bool>{true, false, true}));
}

}  // namespace
}  // namespace kelno
