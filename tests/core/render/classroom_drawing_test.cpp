// The classroom layers of the drawing: the highlight of a failing loop, predict mode and
// the potentials at the points.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/render/recording_surface.h"
#include "render/classroom_layers.h"
#include "render/draw_circuit.h"
#include "render/element_highlight.h"

namespace kelno {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

CircuitElement* Place(Circuit& circuit, ElementKind kind, DrawPoint a, DrawPoint b, double current,
                      double emf = 0.0) {
    ElementRecord record = DefaultRecord(kind);
    record.current = current;
    if (kind == ElementKind::Battery) {
        record.emf = emf;
    }
    // One statement per point: the points' list order is the order of the ends.
    CircuitPoint* end1 =
        circuit.AddPoint(0, static_cast<std::int32_t>(a.x), static_cast<std::int32_t>(a.y));
    CircuitPoint* end2 =
        circuit.AddPoint(0, static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y));
    return circuit.AddElement(record, end1, end2).element;
}

// One element of every kind, each carrying a current worth showing: a battery driven
// backwards, meters with negative readings, a lit bulb, a wire and a resistor with arrows.
void BuildBusyCircuit(Circuit& circuit) {
    Place(circuit, ElementKind::Battery, {0, -400}, {400, -400}, -0.5, 1.5);
    Place(circuit, ElementKind::Resistor, {0, -800}, {400, -800}, 0.2);
    Place(circuit, ElementKind::Ammeter, {0, -1200}, {400, -1200}, -0.3);
    Place(circuit, ElementKind::Voltmeter, {0, -1600}, {400, -1600}, -1e-5);
    Place(circuit, ElementKind::Bulb, {0, -2000}, {400, -2000}, 0.6);
    Place(circuit, ElementKind::Switch, {0, -2400}, {400, -2400}, 0.0);
    Place(circuit, ElementKind::Wire, {0, -2800}, {400, -2800}, 1.0);
}

// Everything that went onto the surface, as one comparable text per call.
std::vector<std::string> Trace(const RecordingSurface& surface) {
    std::vector<std::string> trace;
    for (const RecordingSurface::Call& c : surface.calls) {
        std::string line = std::to_string(static_cast<int>(c.op)) + " " + c.text;
        for (const DrawPoint& p : c.points) {
            line += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        }
        line += " " + std::to_string(c.rect.left) + "," + std::to_string(c.rect.top) + "," +
                std::to_string(c.rect.right) + "," + std::to_string(c.rect.bottom);
        for (const Color& color : {c.pen.color, c.brush.color, c.textColor, c.fillColor}) {
            line += " " + std::to_string(color.r) + "/" + std::to_string(color.g) + "/" +
                    std::to_string(color.b);
        }
        line += " " + std::to_string(c.pen.width) + " " + std::to_string(c.font.height);
        trace.push_back(line);
    }
    return trace;
}

std::vector<std::string> Draw(const Circuit& circuit, const DrawSettings& settings) {
    RecordingSurface surface;
    DrawCircuit(circuit, surface, settings);
    return Trace(surface);
}

TEST(ClassroomDrawing, OptionsThatAreOffChangeNothing) {
    Circuit circuit;
    BuildBusyCircuit(circuit);
    const std::vector<std::string> plain = Draw(circuit, DrawSettings{});
    // Potentials at hand but not shown; an empty highlight; potentials asked for but none
    // known; and the layers set up for a solved circuit with every option off.
    DrawSettings unshown;
    unshown.potentials = {1.0, 2.0, std::nullopt};
    EXPECT_EQ(Draw(circuit, unshown), plain);
    DrawSettings none;
    none.showPotentials = true;
    EXPECT_EQ(Draw(circuit, none), plain);
    DrawSettings layers;
    const std::vector<std::size_t> loop{0, 1};
    ApplyClassroomOptions(layers, circuit, AnalysisOutcome::Solved, loop, ClassroomOptions{});
    EXPECT_EQ(Draw(circuit, layers), plain);
    // A loop is highlighted only after a failure.
    ApplyClassroomOptions(layers, circuit, AnalysisOutcome::Solved, loop, {true, false, false});
    EXPECT_EQ(Draw(circuit, layers), plain);
}

TEST(ClassroomDrawing, PredictModeHidesEveryReading) {
    Circuit circuit;
    BuildBusyCircuit(circuit);
    DrawSettings settings;
    settings.showCurrentFlow = true;
    settings.hideReadings = true;
    settings.showPotentials = true;
    settings.potentials.assign(circuit.PointCount(), 0.75);
    RecordingSurface hidden;
    DrawCircuit(circuit, hidden, settings);

    // Only what the user set is written: the battery's voltage, the resistance, the switch.
    std::multiset<std::string> texts;
    for (const auto* call : hidden.Calls(Op::Text)) {
        texts.insert(call->text);
    }
    EXPECT_EQ(texts, (std::multiset<std::string>{"1.5 V", "100.0 Ω", "ON"}));
    EXPECT_TRUE(hidden.Calls(Op::Polygon).empty()) << "an arrow head shows the current";

    // Apart from the missing labels it is the drawing of the same circuit without current:
    // unlit bulb, needles at rest, a battery that is not in danger.
    Circuit still;
    BuildBusyCircuit(still);
    for (CircuitElement& element : still.elements()) {
        element.current = 0.0;
    }
    RecordingSurface resting;
    DrawCircuit(still, resting, DrawSettings{});
    const auto withoutTexts = [](const RecordingSurface& surface) {
        std::vector<std::string> trace = Trace(surface);
        std::erase_if(trace, [](const std::string& line) {
            return line.starts_with(std::to_string(static_cast<int>(Op::Text)) + " ");
        });
        return trace;
    };
    EXPECT_EQ(withoutTexts(hidden), withoutTexts(resting));
}

TEST(ClassroomDrawing, PotentialsStandBesideTheirPointsInTheLabelFont) {
    Circuit circuit;
    Place(circuit, ElementKind::Resistor, {1000, -1000}, {1400, -1000}, 0.0);
    Place(circuit, ElementKind::Wire, {2000, -1000}, {2000, -1400}, 0.0);
    DrawSettings settings;
    settings.showPotentials = true;
    settings.potentials = {1.5, std::nullopt, 0.7425742574257426, -0.25};
    RecordingSurface surface;
    DrawCircuit(circuit, surface, settings);
    struct Expected {
        const char* text;
        DrawPoint point;
    };
    for (const Expected& e : {Expected{"1.50 V", {1000, -1000}}, Expected{"0.743 V", {2000, -1000}},
                              Expected{"-0.250 V", {2000, -1400}}}) {
        const RecordingSurface::Call* call = surface.FindText(e.text);
        ASSERT_NE(call, nullptr) << e.text;
        EXPECT_EQ(call->font, Font{}) << "the label font";
        // Beside its point: within a label's width, and not on it.
        const DrawPoint at = call->points[0];
        EXPECT_LE(std::max(std::abs(at.x - e.point.x), std::abs(at.y - e.point.y)), 150);
        EXPECT_NE(at, e.point);
    }
    // The point without a potential gets no label: 100.0 Ω and three potentials.
    EXPECT_EQ(surface.Calls(Op::Text).size(), 4u);
}

// Every call drawn in the highlight colour: wide strokes and solid patches.
std::vector<const RecordingSurface::Call*> HighlightCalls(const RecordingSurface& surface) {
    std::vector<const RecordingSurface::Call*> found;
    for (const RecordingSurface::Call& call : surface.calls) {
        const bool stroke =
            (call.op == Op::Line || call.op == Op::Polyline) && call.pen.color == kHighlightColor;
        const bool patch = call.op == Op::Fill && call.fillColor == kHighlightColor;
        if (stroke || patch) {
            found.push_back(&call);
        }
    }
    return found;
}

// The rectangle that a call covers, top above bottom.
DrawRect Extent(const RecordingSurface::Call& call) {
    if (call.op == Op::Fill) {
        return {
            std::min(call.rect.left, call.rect.right), std::max(call.rect.top, call.rect.bottom),
            std::max(call.rect.left, call.rect.right), std::min(call.rect.top, call.rect.bottom)};
    }
    DrawRect r{call.points[0].x, call.points[0].y, call.points[0].x, call.points[0].y};
    for (const DrawPoint& p : call.points) {
        r = {std::min(r.left, p.x), std::max(r.top, p.y), std::max(r.right, p.x),
             std::min(r.bottom, p.y)};
    }
    return r;
}

bool Covers(const DrawRect& r, DrawPoint p) {
    return r.left <= p.x && p.x <= r.right && r.bottom <= p.y && p.y <= r.top;
}

TEST(ClassroomDrawing, HighlightLiesUnderTheLoopsElementsAndNowhereElse) {
    for (const bool noDiagonalWires : {false, true}) {
        Circuit circuit;
        // The loop, left of x = 1000: a battery, a bulb, an ammeter and a right-angle wire.
        Place(circuit, ElementKind::Battery, {0, -400}, {400, -400}, 0.0, 1.5);
        Place(circuit, ElementKind::Resistor, {3000, -400}, {3400, -400}, 0.0);
        Place(circuit, ElementKind::Bulb, {0, -1000}, {0, -1400}, 0.0);
        Place(circuit, ElementKind::Switch, {3000, -1000}, {3400, -1000}, 0.0);
        Place(circuit, ElementKind::Ammeter, {400, -1000}, {800, -1000}, 0.0);
        Place(circuit, ElementKind::Wire, {3000, -2000}, {3400, -2400}, 0.0);
        Place(circuit, ElementKind::Wire, {100, -2000}, {500, -2400}, 0.0);
        const std::set<std::size_t> loop{0, 2, 4, 6};
        DrawSettings settings;
        settings.noDiagonalWires = noDiagonalWires;
        settings.highlightElements = loop;
        RecordingSurface surface;
        DrawCircuit(circuit, surface, settings);

        const auto highlights = HighlightCalls(surface);
        ASSERT_FALSE(highlights.empty());
        // Under the symbols: every highlight comes before the first call of anything else.
        const auto firstOther = std::find_if(
            surface.calls.begin(), surface.calls.end(), [&](const RecordingSurface::Call& c) {
                return std::find(highlights.begin(), highlights.end(), &c) == highlights.end();
            });
        ASSERT_NE(firstOther, surface.calls.end());
        EXPECT_GT(&*firstOther, highlights.back());
        // Nowhere else: nothing red right of x = 1000, where the other elements are.
        for (const auto* call : highlights) {
            EXPECT_LT(Extent(*call).right, 1000);
        }
        // Where the loop's elements are: each one's centre and both its ends are covered.
        std::size_t number = 0;
        for (const CircuitElement& element : circuit.elements()) {
            if (!loop.contains(number++)) {
                continue;
            }
            const DrawPoint a{element.end1()->x, element.end1()->y};
            const DrawPoint b{element.end2()->x, element.end2()->y};
            for (const DrawPoint p : {a, b}) {
                EXPECT_TRUE(std::any_of(highlights.begin(), highlights.end(),
                                        [&](const auto* c) { return Covers(Extent(*c), p); }))
                    << "element " << number - 1 << " at " << p.x << "," << p.y;
            }
            if (element.kind != ElementKind::Wire) {
                const DrawPoint centre{(a.x + b.x) / 2, (a.y + b.y) / 2};
                EXPECT_TRUE(std::any_of(
                    highlights.begin(), highlights.end(),
                    [&](const auto* c) { return c->op == Op::Fill && Covers(Extent(*c), centre); }))
                    << "the symbol of element " << number - 1;
            }
        }
        // The band is wide: it shows on both sides of the one-pixel line drawn over it.
        for (const auto* call : highlights) {
            if (call->op != Op::Fill) {
                EXPECT_GE(call->pen.width, 24);
            }
        }
    }
}

}  // namespace
}  // namespace kelno
