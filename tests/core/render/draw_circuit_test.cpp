#include "render/draw_circuit.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/case_name.h"
#include "core/render/draw_test_support.h"

namespace kelno {
namespace {

using testing::DrawOne;
using testing::OneElement;
using testing::RecordingSurface;
using testing::Settings;
using Op = RecordingSurface::Op;

constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};

struct ArrowCase {
    DrawPoint end1;
    DrawPoint end2;
    double current;
    bool showFlow;
    bool head;
    DrawPoint tip;
};

class ArrowTest : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowTest, HeadOnlyForAVisibleCurrentOnALongEnoughLine) {
    const ArrowCase& c = GetParam();
    const auto surface =
        DrawOne({ElementKind::Wire, c.end1, c.end2, 0.0, 0.0, c.current}, Settings(c.showFlow));
    const auto heads = surface.Calls(Op::Polygon);
    ASSERT_EQ(heads.size(), c.head ? 1u : 0u);
    const auto lines = surface.Calls(Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    if (c.head) {
        EXPECT_EQ(heads[0]->points[0], c.tip);
        EXPECT_EQ(heads[0]->brush.color, kBlack);
        // The line runs toward the head.
        EXPECT_EQ(lines[0]->points[1], c.tip);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, ArrowTest,
    ::testing::Values(ArrowCase{{0, 0}, {400, 0}, 1e-6, true, false, {}},
                      ArrowCase{{0, 0}, {400, 0}, -1e-6, true, false, {}},
                      ArrowCase{{0, 0}, {400, 0}, 1.0000001e-6, true, true, {400, 0}},
                      ArrowCase{{0, 0}, {400, 0}, -1.0000001e-6, true, true, {0, 0}},
                      ArrowCase{{0, 0}, {400, 0}, 1.0, false, false, {}},
                      // Too short for a head of 24 units; ends that coincide have length 0.
                      ArrowCase{{0, 0}, {23, 0}, 1.0, true, false, {}},
                      ArrowCase{{0, 0}, {0, -24}, 1.0, true, true, {0, -24}},
                      ArrowCase{{100, -100}, {100, -100}, 1.0, true, false, {}},
                      ArrowCase{{0, 0}, {16, -17}, -1.0, true, false, {}},
                      ArrowCase{{0, 0}, {17, -17}, -1.0, true, true, {0, 0}}),
    [](const ::testing::TestParamInfo<ArrowCase>& info) {
        const ArrowCase& c = info.param;
        return std::string(testing::CaseName()
                           << "From" << c.end1.x << c.end1.y << "To" << c.end2.x << c.end2.y
                           << "Current" << c.current << (c.showFlow ? "Shown" : "Hidden"));
    });

TEST(DrawArrowLine, HeadIsTwentyFourLongAndTruncatedTowardZero) {
    struct Case {
        DrawPoint from;
        DrawPoint to;
        std::vector<DrawPoint> head;
    };
    const Case cases[] = {
        {{0, 0}, {400, 0}, {{400, 0}, {376, 9}, {376, -9}}},
        {{400, 0}, {0, 0}, {{0, 0}, {24, -9}, {24, 9}}},
        // (285.6, -380.8) is the base; the corners are 7.68 and 5.76 to either side.
        {{0, 0}, {300, -400}, {{300, -400}, {293, -375}, {277, -386}}},
    };
    for (const Case& c : cases) {
        RecordingSurface surface;
        DrawArrowLine(surface, c.from, c.to, 24);
        const auto heads = surface.Calls(Op::Polygon);
        ASSERT_EQ(heads.size(), 1u);
        EXPECT_EQ(heads[0]->points, c.head);
        EXPECT_EQ(surface.brush().color, kWhite) << "the previous brush comes back";
    }
    for (const int size : {0, -5}) {
        RecordingSurface surface;
        DrawArrowLine(surface, {0, 0}, {400, 0}, size);
        EXPECT_EQ(surface.calls.size(), 1u);
    }
}

struct RightAngleCase {
    ElementKind kind;
    double current;
    std::vector<std::vector<DrawPoint>> lines;  // line and polyline calls in order
    bool head;
};

TEST(NoDiagonalWires, WiresBendAtTheirCornerAndCarryTheArrowOnTheLastLeg) {
    const DrawPoint end1{0, 0};
    const DrawPoint end2{400, -300};
    const RightAngleCase cases[] = {
        {ElementKind::Wire, 0.0, {{{0, 0}, {400, 0}, {400, -300}}}, false},
        {ElementKind::WireVerticalFirst, 0.0, {{{0, 0}, {0, -300}, {400, -300}}}, false},
        {ElementKind::Wire, 1.0, {{{0, 0}, {400, 0}}, {{400, 0}, {400, -300}}}, true},
        {ElementKind::Wire, -1.0, {{{400, -300}, {400, 0}}, {{400, 0}, {0, 0}}}, true},
        {ElementKind::WireVerticalFirst,
         1.0,
         {{{0, 0}, {0, -300}}, {{0, -300}, {400, -300}}},
         true},
        {ElementKind::WireVerticalFirst,
         -1.0,
         {{{400, -300}, {0, -300}}, {{0, -300}, {0, 0}}},
         true},
        // Wire codes below -1 come from foreign files; they bend like a plain wire.
        {KindFromCode(-5), 0.0, {{{0, 0}, {400, 0}, {400, -300}}}, false},
    };
    for (const RightAngleCase& c : cases) {
        const auto surface =
            DrawOne({c.kind, end1, end2, 0.0, 0.0, c.current}, Settings(true, true));
        std::vector<std::vector<DrawPoint>> drawn;
        for (const auto& call : surface.calls) {
            if (call.op == Op::Line || call.op == Op::Polyline) {
                drawn.push_back(call.points);
            }
        }
        EXPECT_EQ(drawn, c.lines) << KindCode(c.kind) << " " << c.current;
        EXPECT_EQ(surface.Calls(Op::Polygon).size(), c.head ? 1u : 0u);
    }
}

TEST(NoDiagonalWires, ComponentsKeepTheirStraightLeadLine) {
    for (int code = 1; code <= 6; ++code) {
        const auto surface =
            DrawOne({KindFromCode(code), {0, 0}, {400, -300}, 1.0, 0.0, 0.0}, Settings(true, true));
        ASSERT_FALSE(surface.calls.empty());
        EXPECT_EQ(surface.calls[0].op, Op::Line) << code;
        EXPECT_EQ(surface.calls[0].points, (std::vector<DrawPoint>{{0, 0}, {400, -300}}));
    }
    // Without the option a wire is one straight line too.
    const auto wire = DrawOne({ElementKind::Wire, {0, 0}, {400, -300}});
    ASSERT_EQ(wire.Calls(Op::Line).size(), 1u);
    EXPECT_TRUE(wire.Calls(Op::Polyline).empty());
}

TEST(DrawCircuit, PointsAreWhiteCirclesDrawnAfterTheElements) {
    Circuit circuit;
    CircuitPoint* a = circuit.AddPoint(0, 100, -100);
    CircuitPoint* b = circuit.AddPoint(1, 500, -100);
    circuit.AddPoint(2, -7, 3);  // a point of its own, outside the window
    circuit.AddElement(DefaultRecord(ElementKind::Battery), a, b);
    RecordingSurface surface;
    DrawCircuit(circuit, surface, {});
    const auto ellipses = surface.Calls(Op::Ellipse);
    ASSERT_EQ(ellipses.size(), 3u);
    EXPECT_EQ(ellipses[0]->rect, (DrawRect{92, -108, 108, -92}));
    EXPECT_EQ(ellipses[1]->rect, (DrawRect{492, -108, 508, -92}));
    EXPECT_EQ(ellipses[2]->rect, (DrawRect{-15, -5, 1, 11}));
    for (const auto* ellipse : ellipses) {
        EXPECT_EQ(ellipse->brush.color, kWhite);
        EXPECT_EQ(ellipse->pen, Pen{});
        EXPECT_GT(ellipse, surface.Calls(Op::Text).back());
    }
}

std::vector<DrawPoint> Outline(DrawPoint c, std::int64_t half) {
    return {{c.x - half, c.y - half},
            {c.x - half, c.y + half},
            {c.x + half, c.y + half},
            {c.x + half, c.y - half},
            {c.x - half, c.y - half}};
}

TEST(DrawCircuit, SelectionMarksAreSizedInDevicePixels) {
    struct Case {
        double unitsPerPixel;
        Tool tool;
        bool selectPoint;
    };
    const Case cases[] = {{1.0, Tool::Selection, true},
                          {2.0, Tool::Selection, true},
                          {2.0, Tool::Wire, true},
                          {2.65, Tool::Bulb, true},
                          {2.0, Tool::Wire, false}};
    for (const Case& c : cases) {
        Circuit circuit;
        CircuitPoint* a = circuit.AddPoint(0, 0, -1000);
        CircuitPoint* b = circuit.AddPoint(1, 401, -1000);
        CircuitPoint* d = circuit.AddPoint(2, 401, -1401);
        CircuitElement* first = circuit.AddElement(DefaultRecord(ElementKind::Wire), a, b).element;
        CircuitElement* second = circuit.AddElement(DefaultRecord(ElementKind::Bulb), b, d).element;
        circuit.Select(second);
        circuit.Select(first);
        if (c.selectPoint) {
            circuit.SelectPoint(d);
        }
        RecordingSurface surface(c.unitsPerPixel);
        DrawSettings settings = Settings(false);
        settings.currentTool = c.tool;
        DrawCircuit(circuit, surface, settings);

        const auto half = [&](int pixels) {
            return static_cast<std::int64_t>(std::lround(pixels * c.unitsPerPixel));
        };
        std::vector<std::vector<DrawPoint>> expected;
        if (c.selectPoint) {
            expected.push_back(Outline({401, -1401}, half(15)));
            if (c.tool != Tool::Selection) {
                expected.push_back(Outline({401, -1401}, half(6)));
            }
        }
        expected.push_back(Outline({401, -1200}, half(35)));  // in selection order
        expected.push_back(Outline({200, -1000}, half(35)));
        std::vector<std::vector<DrawPoint>> marks;
        for (const auto* call : surface.Calls(Op::Polyline)) {
            if (call->pen.color == Color{128, 128, 128}) {
                marks.push_back(call->points);
            }
        }
        EXPECT_EQ(marks, expected) << c.unitsPerPixel << " tool " << ToolCode(c.tool);
        EXPECT_EQ(surface.pen(), Pen{});
    }
}

TEST(DrawCircuit, GridEveryFiftyUnitsOverTheDrawingArea) {
    Circuit circuit;
    RecordingSurface surface;
    DrawSettings settings;
    settings.showGrid = true;
    settings.gridExtent = {120, 100};
    DrawCircuit(circuit, surface, settings);
    std::vector<std::vector<DrawPoint>> lines;
    for (const auto* line : surface.Calls(Op::Line)) {
        EXPECT_EQ(line->pen, (Pen{{180, 180, 180}, 0}));
        lines.push_back(line->points);
    }
    const std::vector<std::vector<DrawPoint>> expected{{{0, 0}, {0, -100}},
                                                       {{50, 0}, {50, -100}},
                                                       {{100, 0}, {100, -100}},
                                                       {{0, 0}, {120, 0}},
                                                       {{0, -50}, {120, -50}}};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(surface.pen(), Pen{});

    settings.showGrid = false;
    RecordingSurface without;
    DrawCircuit(circuit, without, settings);
    EXPECT_TRUE(without.calls.empty());
}

TEST(DrawCircuit, GridLiesUnderTheElements) {
    Circuit circuit;
    circuit.AddElement(DefaultRecord(ElementKind::Resistor), circuit.AddPoint(0, 100, -100),
                       circuit.AddPoint(1, 500, -100));
    RecordingSurface surface;
    DrawSettings settings;
    settings.showGrid = true;
    settings.gridExtent = {1000, 1000};
    DrawCircuit(circuit, surface, settings);
    ASSERT_FALSE(surface.calls.empty());
    const auto fill = surface.Calls(Op::Fill);
    ASSERT_EQ(fill.size(), 1u);
    for (const auto& call : surface.calls) {
        if (call.pen.color == Color{180, 180, 180}) {
            EXPECT_LT(&call, fill[0]);
        }
    }
}

TEST(DrawCircuit, ReportsShortOnEveryDrawingOfAFailedAnalysis) {
    Circuit circuit;
    circuit.AddElement(DefaultRecord(ElementKind::Battery), circuit.AddPoint(0, 0, 0),
                       circuit.AddPoint(1, 400, 0));
    for (const bool shortCircuit : {true, false}) {
        std::vector<std::string> status;
        DrawSettings settings;
        settings.shortCircuit = shortCircuit;
        RecordingSurface surface;
        for (int paint = 0; paint < 2; ++paint) {
            DrawCircuit(circuit, surface, settings,
                        [&](std::string_view text) { status.emplace_back(text); });
        }
        const std::vector<std::string> expected =
            shortCircuit ? std::vector<std::string>{"Short", "Short"} : std::vector<std::string>{};
        EXPECT_EQ(status, expected);
        EXPECT_EQ(surface.FindText("Short"), nullptr) << "the word goes to the status bar only";
    }
}

// Every kind, selected, with currents and the grid: afterwards the surface holds what it
// held before, and every text was written in the label font.
TEST(DrawCircuit, LeavesTheSurfaceAsItFoundIt) {
    Circuit circuit;
    for (int code = -1; code <= 7; ++code) {
        ElementRecord record = DefaultRecord(KindFromCode(code));
        record.current = code % 2 == 0 ? 0.7 : -0.7;
        record.emf = code == 1 ? 1.5 : 0.0;
        CircuitElement* element =
            circuit
                .AddElement(record, circuit.AddPoint(0, 500 * code, -300 * code),
                            circuit.AddPoint(0, 500 * code + 400, -300 * code - 100))
                .element;
        circuit.Select(element);
    }
    circuit.SelectPoint(&*circuit.points().begin());
    RecordingSurface surface;
    const Pen pen = surface.pen();
    const Brush brush = surface.brush();
    const Font font = surface.font();
    const Color text = surface.textColor();
    DrawSettings settings;
    settings.showGrid = true;
    settings.gridExtent = {300, 300};
    settings.currentTool = Tool::Resistor;
    DrawCircuit(circuit, surface, settings);
    EXPECT_EQ(surface.pen(), pen);
    EXPECT_EQ(surface.brush(), brush);
    EXPECT_EQ(surface.font(), font);
    EXPECT_EQ(surface.textColor(), text);
    const auto texts = surface.Calls(Op::Text);
    EXPECT_EQ(texts.size(), 7u);  // five labels, the danger warning and the switch state
    for (const auto* call : texts) {
        EXPECT_EQ(call->font, Font{}) << call->text;
    }
}

TEST(DrawCircuit, CoordinatesAtTheInt32LimitsDoNotOverflow) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const auto surface =
        DrawOne({ElementKind::Battery, {kMax - 400, kMax}, {kMax, kMax}, 0.1, 1.5, 0.0});
    const auto rects = surface.Calls(Op::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    const std::int64_t cx = std::int64_t{kMax} - 200;
    EXPECT_EQ(rects[0]->rect,
              (DrawRect{cx + 76, std::int64_t{kMax} - 16, cx + 112, std::int64_t{kMax} + 16}));
    EXPECT_EQ(rects[1]->rect.top, std::int64_t{kMax} - 48);
    EXPECT_EQ(rects[1]->rect.bottom, std::int64_t{kMax} + 48);
}

}  // namespace
}  // namespace kelno
