#include "render/element_symbols.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/case_name.h"
#include "core/render/draw_test_support.h"
#include "render/element_frame.h"

namespace kelno {
namespace {

using testing::DrawOne;
using testing::OneElement;
using Op = testing::RecordingSurface::Op;

constexpr Color kWhite{255, 255, 255};
constexpr Color kBlack{0, 0, 0};

// Ends of an element centred on (1000, -1000), 400 units long, with end2 on the given side.
struct Ends {
    DrawPoint end1;
    DrawPoint end2;
};
constexpr Ends kUp{{1000, -1200}, {1000, -800}};     // quadrant 0
constexpr Ends kRight{{800, -1000}, {1200, -1000}};  // quadrant 1
constexpr Ends kDown{{1000, -800}, {1000, -1200}};   // quadrant 2
constexpr Ends kLeft{{1200, -1000}, {800, -1000}};   // quadrant 3

// The side of end2, for the names of cases.
const char* SideName(const Ends& ends) {
    if (ends.end2.x == kUp.end2.x && ends.end2.y == kUp.end2.y) {
        return "Up";
    }
    if (ends.end2.x == kRight.end2.x && ends.end2.y == kRight.end2.y) {
        return "Right";
    }
    return ends.end2.x == kDown.end2.x && ends.end2.y == kDown.end2.y ? "Down" : "Left";
}

TEST(ElementQuadrant, SideOfEnd2WithTruncatedDegrees) {
    struct Case {
        DrawPoint end2;  // end1 is the origin
        int quadrant;
    };
    const Case cases[] = {
        {{0, 100}, 0},
        {{100, 0}, 1},
        {{0, -100}, 2},
        {{-100, 0}, 3},
        {{0, 0}, 2},  // ends that coincide: atan2(0, 0) is 0 degrees
        {{100, 100}, 1},
        {{100, -100}, 2},
        {{-100, -100}, 3},
        {{-100, 100}, 0},
        // Degrees are truncated toward zero, so up to a whole degree past a diagonal still
        // counts for the side the diagonal belongs to.
        {{97, 100}, 1},
        {{96, 100}, 0},
        {{-97, -100}, 2},
        {{-100, -97}, 3},
        {{-1, 1000000}, 0},
        {{1, -1000000}, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ElementQuadrant({0, 0}, c.end2), c.quadrant) << c.end2.x << ", " << c.end2.y;
    }
}

TEST(MakeElementFrame, BoxTurnsWithTheElement) {
    const ElementFrame horizontal = MakeElementFrame({-1, -4}, {400, -3});
    EXPECT_EQ(horizontal.cx, 199);
    EXPECT_EQ(horizontal.cy, -3);
    EXPECT_EQ(horizontal.hw, 80);
    EXPECT_EQ(horizontal.hh, 48);
    const ElementFrame vertical = MakeElementFrame({0, 0}, {0, -401});
    EXPECT_EQ(vertical.cy, -200);
    EXPECT_EQ(vertical.hw, 48);
    EXPECT_EQ(vertical.hh, 80);
}

struct BatteryCase {
    Ends ends;
    double emf;
    DrawRect terminal;
    std::int64_t labelY;
};

class BatteryTest : public ::testing::TestWithParam<BatteryCase> {};

TEST_P(BatteryTest, TerminalOnThePositiveSideAndLabelClearOfIt) {
    const BatteryCase& c = GetParam();
    const auto surface = DrawOne({ElementKind::Battery, c.ends.end1, c.ends.end2, 0.1, c.emf});
    const auto rects = surface.Calls(Op::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0]->rect, c.terminal);
    EXPECT_EQ(rects[0]->brush.color, kWhite);
    const auto texts = surface.Calls(Op::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->text, "1.5 V");  // the magnitude, also for a reversed battery
    EXPECT_EQ(texts[0]->points[0], (DrawPoint{1000, c.labelY}));
}

INSTANTIATE_TEST_SUITE_P(
    Quadrants, BatteryTest,
    ::testing::Values(BatteryCase{kUp, 1.5, {984, -924, 1016, -888}, -1096},
                      BatteryCase{kRight, 1.5, {1076, -1016, 1112, -984}, -1064},
                      BatteryCase{kDown, 1.5, {984, -1076, 1016, -1112}, -1128},
                      BatteryCase{kLeft, 1.5, {924, -1016, 888, -984}, -1064},
                      // A negative emf moves the terminal to end1's side.
                      BatteryCase{kUp, -1.5, {984, -1076, 1016, -1112}, -1128},
                      BatteryCase{kRight, -1.5, {924, -1016, 888, -984}, -1064},
                      BatteryCase{kDown, -1.5, {984, -924, 1016, -888}, -1096},
                      BatteryCase{kLeft, -1.5, {1076, -1016, 1112, -984}, -1064}),
    [](const ::testing::TestParamInfo<BatteryCase>& info) {
        return std::string(testing::CaseName()
                           << SideName(info.param.ends) << "Emf" << info.param.emf);
    });

TEST(Battery, DrivenBackwardsIsLightRedAndSaysDanger) {
    struct Case {
        double emf;
        double current;
        bool danger;
    };
    const Case cases[] = {{1.5, -0.1, true},   {-1.5, 0.1, true}, {1.5, 0.1, false},
                          {-1.5, -0.1, false}, {1.5, 0.0, false}, {1.5, -0.0, false},
                          {0.0, 1.0, false}};
    for (const Case& c : cases) {
        const auto surface =
            DrawOne({ElementKind::Battery, kRight.end1, kRight.end2, 0.1, c.emf, c.current});
        const auto rects = surface.Calls(Op::Rectangle);
        ASSERT_EQ(rects.size(), 2u);
        EXPECT_EQ(rects[1]->rect, (DrawRect{920, -1048, 1080, -952}));
        EXPECT_EQ(rects[1]->brush.color, c.danger ? (Color{255, 192, 192}) : (Color{192, 255, 192}))
            << c.emf << " " << c.current;
        const auto* warning = surface.FindText("危険");
        ASSERT_EQ(warning != nullptr, c.danger) << c.emf << " " << c.current;
        if (warning != nullptr) {
            EXPECT_EQ(warning->points[0], (DrawPoint{1000, -976}));  // cy + hh / 2
        }
    }
}

TEST(Resistor, ZigzagOverABoxInTheBackgroundColour) {
    struct Case {
        Ends ends;
        std::vector<DrawPoint> zigzag;
        DrawRect box;
        std::int64_t labelY;
    };
    const Case cases[] = {
        {{{0, 0}, {400, 0}},
         {{120, 0}, {133, 48}, {160, -48}, {186, 48}, {213, -48}, {240, 48}, {266, -48}, {280, 0}},
         {120, 48, 280, -48},
         -60},
        // Each coordinate is divided on its own and truncated toward zero.
        {{{0, -1000}, {0, -600}},
         {{0, -880},
          {-48, -866},
          {48, -840},
          {-48, -813},
          {48, -786},
          {-48, -760},
          {48, -733},
          {0, -720}},
         {-48, -720, 48, -880},
         -892},
        // Drawn from end2's side when end2 lies below or to the left.
        {{{400, 0}, {0, 0}},
         {{120, 0}, {133, 48}, {160, -48}, {186, 48}, {213, -48}, {240, 48}, {266, -48}, {280, 0}},
         {120, 48, 280, -48},
         -60},
    };
    for (const Case& c : cases) {
        testing::RecordingSurface surface;
        surface.background = Color{10, 20, 30};
        Circuit circuit;
        ElementRecord record = DefaultRecord(ElementKind::Resistor);
        record.resistance = -5.0;
        circuit.AddElement(record, circuit.AddPoint(0, c.ends.end1.x, c.ends.end1.y),
                           circuit.AddPoint(1, c.ends.end2.x, c.ends.end2.y));
        DrawCircuit(circuit, surface, testing::Settings(false));
        const auto fills = surface.Calls(Op::Fill);
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0]->rect, c.box);
        EXPECT_EQ(fills[0]->fillColor, (Color{10, 20, 30}));
        const auto zigzags = surface.Calls(Op::Polyline);
        ASSERT_EQ(zigzags.size(), 1u);
        EXPECT_EQ(zigzags[0]->points, c.zigzag);
        EXPECT_LT(fills[0], zigzags[0]) << "the box must hide the lead line, not the zigzag";
        const auto* label = surface.FindText("-5000.0 mΩ");  // signed, as it stands
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->points[0].y, c.labelY);
    }
}

struct MeterCase {
    ElementKind kind;
    Ends ends;
    double current;
    DrawPoint needle;
    DrawRect base;
    const char* label;
};

class MeterTest : public ::testing::TestWithParam<MeterCase> {};

TEST_P(MeterTest, NeedleSideShowsTheSignAndLabelTheMagnitude) {
    const MeterCase& c = GetParam();
    const double resistance = c.kind == ElementKind::Ammeter ? 0.001 : 100000.0;
    const auto surface = DrawOne({c.kind, c.ends.end1, c.ends.end2, resistance, 0.0, c.current});
    const auto lines = surface.Calls(Op::Line);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1]->points, (std::vector<DrawPoint>{{1000, -1000}, c.needle}));
    const auto rects = surface.Calls(Op::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0]->rect, c.base);
    EXPECT_EQ(rects[0]->brush.color,
              c.kind == ElementKind::Ammeter ? (Color{255, 240, 240}) : (Color{240, 240, 255}));
    const auto dials = surface.Calls(Op::Ellipse);
    ASSERT_FALSE(dials.empty());
    EXPECT_EQ(dials[0]->rect, (DrawRect{936, -1064, 1064, -936}));
    EXPECT_EQ(dials[0]->brush.color, kWhite);
    const auto* label = surface.FindText(c.label);
    ASSERT_NE(label, nullptr) << c.label;
    EXPECT_EQ(label->points[0], (DrawPoint{1000, -1074}));
}

constexpr DrawRect kLowerHalf{936, -1000, 1064, -1064};
constexpr DrawRect kRightHalf{1000, -1064, 1064, -936};

INSTANTIATE_TEST_SUITE_P(
    Readings, MeterTest,
    ::testing::Values(
        MeterCase{ElementKind::Ammeter, kRight, 0.3, {1040, -960}, kLowerHalf, "300.0 mA"},
        MeterCase{ElementKind::Ammeter, kRight, -0.3, {960, -960}, kLowerHalf, "300.0 mA"},
        MeterCase{ElementKind::Ammeter, kRight, 0.0, {1040, -960}, kLowerHalf, "0.0 A"},
        MeterCase{ElementKind::Ammeter, kLeft, 0.3, {960, -960}, kLowerHalf, "300.0 mA"},
        MeterCase{ElementKind::Ammeter, kUp, 2.0, {960, -960}, kRightHalf, "2.0 A"},
        MeterCase{ElementKind::Ammeter, kUp, -2.0, {960, -1040}, kRightHalf, "2.0 A"},
        MeterCase{ElementKind::Ammeter, kDown, 2.0, {960, -1040}, kRightHalf, "2.0 A"},
        MeterCase{ElementKind::Voltmeter, kRight, 2e-5, {1040, -960}, kLowerHalf, "2.0 V"},
        MeterCase{ElementKind::Voltmeter, kRight, -2e-5, {960, -960}, kLowerHalf, "2.0 V"},
        MeterCase{ElementKind::Voltmeter, kDown, -2e-5, {960, -960}, kRightHalf, "2.0 V"}),
    [](const ::testing::TestParamInfo<MeterCase>& info) {
        const MeterCase& c = info.param;
        return std::string(testing::CaseName()
                           << (c.kind == ElementKind::Ammeter ? "Ammeter" : "Voltmeter")
                           << SideName(c.ends) << "Current" << c.current);
    });

TEST(Meter, LettersLieInTheBase) {
    struct Case {
        ElementKind kind;
        Ends ends;
        std::vector<DrawPoint> stroke;
        std::size_t lines;  // lead line, needle, and the ammeter's cross bar
    };
    const Case cases[] = {
        {ElementKind::Ammeter, kRight, {{980, -1048}, {1000, -1008}, {1020, -1048}}, 3},
        {ElementKind::Ammeter, kUp, {{1048, -980}, {1008, -1000}, {1048, -1020}}, 3},
        {ElementKind::Voltmeter, kRight, {{980, -1008}, {1000, -1048}, {1020, -1008}}, 2},
        {ElementKind::Voltmeter, kUp, {{1008, -980}, {1048, -1000}, {1008, -1020}}, 2},
    };
    for (const Case& c : cases) {
        const auto surface = DrawOne({c.kind, c.ends.end1, c.ends.end2, 1.0});
        const auto strokes = surface.Calls(Op::Polyline);
        ASSERT_EQ(strokes.size(), 1u);
        EXPECT_EQ(strokes[0]->points, c.stroke);
        const auto lines = surface.Calls(Op::Line);
        ASSERT_EQ(lines.size(), c.lines);
        if (c.lines == 3) {
            const bool lower = c.ends.end1.y == c.ends.end2.y;
            EXPECT_EQ(lines[2]->points,
                      lower ? (std::vector<DrawPoint>{{988, -1032}, {1012, -1032}})
                            : (std::vector<DrawPoint>{{1032, -988}, {1032, -1012}}));
        }
    }
}

struct BulbCase {
    double resistance;
    double current;
    Color glass;
    int rays;
    const char* label;
};

class BulbTest : public ::testing::TestWithParam<BulbCase> {};

TEST_P(BulbTest, GlassAndRaysShowTheLevel) {
    const BulbCase& c = GetParam();
    for (const Ends& ends : {kRight, kUp, kLeft}) {  // upright whatever the direction
        const auto surface =
            DrawOne({ElementKind::Bulb, ends.end1, ends.end2, c.resistance, 0.0, c.current});
        const auto ellipses = surface.Calls(Op::Ellipse);
        ASSERT_EQ(ellipses.size(), 4u);  // glass, contact, two points
        EXPECT_EQ(ellipses[0]->rect, (DrawRect{952, -880, 1048, -976}));
        EXPECT_EQ(ellipses[0]->brush.color, c.glass);
        EXPECT_EQ(ellipses[1]->rect, (DrawRect{988, -1040, 1012, -1016}));
        EXPECT_EQ(ellipses[1]->brush.color, kBlack);
        EXPECT_EQ(ellipses[2]->brush.color, kWhite);
        const auto rects = surface.Calls(Op::Rectangle);
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0]->rect, (DrawRect{980, -1028, 1020, -976}));
        EXPECT_EQ(rects[0]->brush.color, kWhite);
        EXPECT_GT(rects[0], ellipses[1]) << "the base covers the upper half of the contact";
        const auto lines = surface.Calls(Op::Line);
        ASSERT_EQ(lines.size(), 1u + 3u + c.rays);  // lead line, threads, rays
        if (c.rays > 0) {
            const std::int64_t length = 16 + 4 * ((c.rays - 3) / 2);
            EXPECT_EQ(lines[5]->points,
                      (std::vector<DrawPoint>{{1000, -880}, {1000, -880 + length}}));
        }
        const auto* label = surface.FindText(c.label);
        ASSERT_NE(label, nullptr) << c.label;
        EXPECT_EQ(label->points[0], (DrawPoint{1000, -1060}));
    }
}

constexpr Color kOff{255, 255, 255};
constexpr Color kLevel0{255, 255, 230};
constexpr Color kLevel1{255, 255, 170};
constexpr Color kLevel2{255, 255, 0};

INSTANTIATE_TEST_SUITE_P(
    Levels, BulbTest,
    ::testing::Values(
        BulbCase{5.0, 0.0, kOff, 0, "0.0 W"}, BulbCase{5.0, 0.99e-8, kOff, 0, "0.0 mW"},
        BulbCase{5.0, -0.99e-8, kOff, 0, "0.0 mW"},
        // Exactly 1e-8 A counts as lit, at level 0 for so little power.
        BulbCase{5.0, 1e-8, kLevel0, 3, "0.0 mW"}, BulbCase{0.2499, 1.0, kLevel0, 3, "249.9 mW"},
        BulbCase{0.25, 1.0, kLevel1, 5, "250.0 mW"},
        // Labelled 1.0 W after rounding, but still below the top level.
        BulbCase{0.9999, -1.0, kLevel1, 5, "1.0 W"}, BulbCase{1.0, 1.0, kLevel2, 7, "1.0 W"},
        BulbCase{1.0, -1.0, kLevel2, 7, "1.0 W"},
        // The power's magnitude decides, whatever the signs.
        BulbCase{-1.0, 1.0, kLevel2, 7, "1.0 W"}, BulbCase{5.0, 0.2940, kLevel1, 5, "432.2 mW"}),
    [](const ::testing::TestParamInfo<BulbCase>& info) {
        return std::string(testing::CaseName() << "Resistance" << info.param.resistance << "Current"
                                               << info.param.current);
    });

TEST(Switch, OnInBlueOnlyWhenClosed) {
    struct Case {
        double flag;
        const char* text;
        Color color;
    };
    const Case cases[] = {{0.0, "ON", {0, 0, 255}},
                          {-0.0, "ON", {0, 0, 255}},
                          {1.0, "OFF", {255, 0, 0}},
                          {-2.0, "OFF", {255, 0, 0}},
                          {1e-300, "OFF", {255, 0, 0}},
                          {std::numeric_limits<double>::quiet_NaN(), "OFF", {255, 0, 0}}};
    for (const Case& c : cases) {
        for (const Ends& ends : {kRight, kDown}) {  // the same box whatever the direction
            const auto surface = DrawOne({ElementKind::Switch, ends.end1, ends.end2, c.flag});
            const auto rects = surface.Calls(Op::Rectangle);
            ASSERT_EQ(rects.size(), 1u);
            EXPECT_EQ(rects[0]->rect, (DrawRect{920, -1048, 1080, -952}));
            const auto texts = surface.Calls(Op::Text);
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0]->text, c.text) << c.flag;
            EXPECT_EQ(texts[0]->textColor, c.color);
            EXPECT_EQ(texts[0]->points[0], (DrawPoint{1000, -980}));
            EXPECT_EQ(surface.textColor(), kBlack);
        }
    }
}

}  // namespace
}  // namespace kelno
