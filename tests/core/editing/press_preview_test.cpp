#include "editing/press_preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "core/case_name.h"
#include "core/editing/edit_fixture.h"
#include "view/hit_test.h"

namespace kelno::testing {
namespace {

// Positions relative to the junction, in logical units (two to the pixel here).
struct Spot {
    const char* name;
    LogicalPoint offset;
    bool batterySelected = false;  // the battery is selected before the press
};

constexpr LogicalPoint kJunction{2000, -2000};
constexpr LogicalPoint kBatteryMiddle{4200, -2000};

// Around a junction of three wires (right, up, down-left): its centre, spots within 5 pixels
// and on the rim, along a wire and between wires, just outside the grab tolerance; and the
// middle of a battery, selected or not.
const std::vector<Spot> kSpots = {
    {"Centre", {0, 0}},
    {"NearCentreAlongTheRightWire", {6, 0}},
    {"NearCentreBetweenWires", {6, 6}},
    {"RimAlongTheRightWire", {20, 0}},
    {"RimBetweenWires", {20, 20}},
    {"RimEdgeAlongTheUpperWire", {0, 28}},
    {"RimAlongTheLowerLeftWire", {-28, -28}},
    {"RimUpperLeft", {-28, 28}},
    {"JustOutsideTheRim", {30, 0}},
    {"BatteryMiddle", {kBatteryMiddle.x - kJunction.x, 0}},
    {"SelectedBatteryMiddle", {kBatteryMiddle.x - kJunction.x, 0}, true},
};

LogicalPoint Plus(LogicalPoint a, LogicalPoint b, std::int32_t times = 1) {
    return {a.x + times * b.x, a.y + times * b.y};
}

class PressPreviewTest : public EditTest, public ::testing::WithParamInterface<Tool> {
protected:
    void Build(Tool tool, bool batterySelected) {
        doc.NewDocument();
        CircuitPoint* junction = AddPoint(kJunction.x, kJunction.y);
        AddElement(ElementKind::Wire, junction, AddPoint(2800, -2000));
        AddElement(ElementKind::Wire, junction, AddPoint(2000, -1200));
        AddElement(ElementKind::Wire, junction, AddPoint(1400, -2600));
        battery = AddElement(ElementKind::Battery, AddPoint(4000, -2000), AddPoint(4400, -2000));
        if (batterySelected) {
            circuit().Select(battery);
        }
        StartFromHere();
        UseTool(tool);
    }

    // Presses at the spot and pulls straight away from where the press landed, then checks
    // that what happened is what the preview said.
    // Adds what the preview said to `seen`.
    void PressAndCheck(const Spot& spot, bool shift, std::vector<PressAction>& seen) {
        const LogicalPoint at = Plus(kJunction, spot.offset);
        const PressPreview preview = controller.PreviewPress(Pixel(at), shift);
        seen.push_back(preview.action);
        const std::size_t elements = circuit().ElementCount();
        Press(at, shift);
        switch (preview.action) {
            case PressAction::MovePoint: {
                ASSERT_NE(preview.point, nullptr);
                EXPECT_EQ(circuit().selectedPoint(), preview.point);
                EXPECT_FALSE(controller.rubberWire());
                // Away from the press, or between the wires from the very centre.
                const bool centre = spot.offset == LogicalPoint{0, 0};
                const LogicalPoint away =
                    Plus(kJunction, centre ? LogicalPoint{10, -10} : spot.offset, 10);
                Move(away);
                Move(away);
                EXPECT_EQ(At(preview.point), away) << "the point itself moves";
                EXPECT_EQ(preview.point->links().size(), 3u);
                break;
            }
            case PressAction::StartWire:
                ASSERT_NE(preview.point, nullptr);
                Move(Plus(kJunction, spot.offset, 3));
                ASSERT_TRUE(controller.rubberWire());
                EXPECT_EQ(controller.rubberWire()->from, At(preview.point));
                break;
            case PressAction::DetachLink:
                ASSERT_NE(preview.point, nullptr);
                ASSERT_NE(preview.link, nullptr);
                Move(Plus(kJunction, spot.offset, 3));
                EXPECT_NE(preview.link->end1(), preview.point);
                EXPECT_NE(preview.link->end2(), preview.point);
                EXPECT_EQ(preview.point->links().size(), 2u);
                break;
            case PressAction::SelectElement:
                ASSERT_NE(preview.element, nullptr);
                EXPECT_TRUE(preview.element->selected());
                EXPECT_FALSE(circuit().pointSelected());
                break;
            case PressAction::DeselectElement:
                ASSERT_NE(preview.element, nullptr);
                EXPECT_FALSE(preview.element->selected());
                break;
            case PressAction::PlaceComponent:
                ASSERT_EQ(circuit().ElementCount(), elements + 1);
                EXPECT_EQ(std::prev(circuit().elements().end())->kind, KindOfTool(GetParam()));
                break;
            case PressAction::SelectArea:
                Move(Plus(at, {200, -200}));
                EXPECT_TRUE(controller.rubberBand());
                break;
        }
        if (preview.action != PressAction::PlaceComponent) {
            EXPECT_EQ(circuit().ElementCount(), elements) << "a press alone adds nothing";
        }
    }

    CircuitElement* battery = nullptr;
};

TEST_P(PressPreviewTest, PressDoesWhatThePreviewSaid) {
    std::vector<PressAction> seen;
    for (const bool shift : {false, true}) {
        for (const Spot& spot : kSpots) {
            SCOPED_TRACE(std::string(spot.name) + (shift ? " with shift" : ""));
            Build(GetParam(), spot.batterySelected);
            PressAndCheck(spot, shift, seen);
        }
    }
    // The table reaches every action that the tool has, and no other.
    const auto has = [&seen](PressAction action) {
        return std::find(seen.begin(), seen.end(), action) != seen.end();
    };
    const bool component = IsComponentTool(GetParam());
    const bool draws = GetParam() != Tool::Selection;
    EXPECT_TRUE(has(PressAction::MovePoint));
    EXPECT_TRUE(has(PressAction::SelectElement));
    EXPECT_TRUE(has(PressAction::DeselectElement));
    EXPECT_EQ(has(PressAction::StartWire), draws);
    EXPECT_EQ(has(PressAction::DetachLink), draws);
    EXPECT_EQ(has(PressAction::PlaceComponent), component);
    EXPECT_EQ(has(PressAction::SelectArea), !component);
}

TEST_P(PressPreviewTest, HoverGivesThePreviewAndItsPromptUntilAGestureTakesTheMouse) {
    Build(GetParam(), false);
    EXPECT_FALSE(controller.hoverPreview());
    EXPECT_EQ(controller.prompt(), "");
    const LogicalPoint rim = Plus(kJunction, {20, 20});
    controller.Hover(Pixel(rim), false);
    ASSERT_TRUE(controller.hoverPreview());
    EXPECT_EQ(*controller.hoverPreview(), controller.PreviewPress(Pixel(rim), false));
    EXPECT_EQ(controller.prompt(), PressPrompt(controller.hoverPreview()->action, GetParam()));
    EXPECT_EQ(controller.prompt(),
              GetParam() == Tool::Selection ? "この点を動かします" : "この点から導線を引きます");
    Press(rim);
    EXPECT_FALSE(controller.hoverPreview());
    Release(rim);
    controller.HoverLeft();
    EXPECT_FALSE(controller.hoverPreview());
}

INSTANTIATE_TEST_SUITE_P(Tools, PressPreviewTest, ::testing::ValuesIn(kAllTools),
                         [](const auto& info) {
                             return std::string(CaseName() << "Tool" << ToolCode(info.param));
                         });

TEST(PressPromptTest, PlacingNamesTheComponent) {
    EXPECT_EQ(PressPrompt(PressAction::PlaceComponent, Tool::Bulb), "ここに電球を置きます");
    EXPECT_EQ(PressPrompt(PressAction::PlaceComponent, Tool::Battery), "ここに電池を置きます");
}

// --- The point a release would join ----------------------------------------------------------

struct ReleaseCase {
    const char* name;
    bool dragPoint;       // the point itself is dragged; otherwise a wire is drawn from its rim
    std::int32_t pixels;  // from the release to the other point
    bool joins;
};

class ReleaseTargetTest : public EditTest, public ::testing::WithParamInterface<ReleaseCase> {};

TEST_P(ReleaseTargetTest, RingedPointIsTheOneTheReleaseJoins) {
    const ReleaseCase& c = GetParam();
    CircuitPoint* start = AddPoint(1000, -1000);
    AddElement(ElementKind::Battery, AddPoint(600, -1000), start);
    CircuitPoint* other = AddPoint(2000, -1000);
    AddElement(ElementKind::Bulb, other, AddPoint(2400, -1000));
    StartFromHere();
    UseTool(Tool::Wire);
    const std::size_t points = circuit().PointCount();

    Press(c.dragPoint ? At(start) : LogicalPoint{1000, -1000 - Px(10)});
    const LogicalPoint release{2000 - Px(c.pixels), -1000};
    Move(release);
    Move(release);
    EXPECT_EQ(controller.releaseTarget(), c.joins ? other : nullptr);
    EXPECT_EQ(controller.prompt(),
              c.dragPoint ? PointReleasePrompt(c.joins) : WireReleasePrompt(c.joins));
    Release(release);
    EXPECT_EQ(controller.releaseTarget(), nullptr);
    if (c.dragPoint) {
        EXPECT_EQ(circuit().PointCount(), c.joins ? points - 1 : points);
    } else {
        EXPECT_EQ(FindLink(start, other) != nullptr, c.joins);
    }
}

INSTANTIATE_TEST_SUITE_P(Distances, ReleaseTargetTest,
                         ::testing::Values(ReleaseCase{"WireAt19Pixels", false, 19, true},
                                           ReleaseCase{"WireAt20Pixels", false, 20, false},
                                           ReleaseCase{"PointAt20Pixels", true, 20, true},
                                           ReleaseCase{"PointAt21Pixels", true, 21, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelno::testing
