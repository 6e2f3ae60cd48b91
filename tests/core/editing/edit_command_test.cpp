// Double-clicks, the details dialog, arrow keys, Select All and the grid, played through the
// editing controller.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/editing/edit_fixture.h"
#include "text/details_number.h"

namespace kelno {
namespace {

using testing::EditTest;

using Elements = std::vector<CircuitElement*>;

// --- Double-click ------------------------------------------------------------------------------

class EditWireDoubleClickTest : public EditTest {
protected:
    void SetUp() override {
        left = AddPoint(1000, -1000);
        right = AddPoint(2000, -1000);
        wire = AddElement(ElementKind::Wire, left, right);
        StartFromHere();
    }
    // The double-click's first click selects the wire; then the double-click itself.
    void DoubleClickWire(LogicalPoint at) {
        Click(at);
        DoubleClick(at);
    }
    CircuitPoint* left = nullptr;
    CircuitPoint* right = nullptr;
    CircuitElement* wire = nullptr;
};

TEST_F(EditWireDoubleClickTest, SplitsTheWireAtTheClickAndSelectsTheNewPoint) {
    UseTool(Tool::Wire);
    DoubleClickWire({1500, -1000});
    ASSERT_EQ(circuit().ElementCount(), 2u);
    CircuitPoint* middle = circuit().selectedPoint();
    ASSERT_NE(middle, nullptr);
    EXPECT_EQ(At(middle), (LogicalPoint{1500, -1000}));
    EXPECT_TRUE(circuit().selection().empty());
    EXPECT_EQ(wire->end1(), middle);
    EXPECT_EQ(wire->end2(), right);
    const CircuitElement& added = *std::prev(circuit().elements().end());
    EXPECT_EQ(added.kind, ElementKind::Wire);
    EXPECT_EQ(added.end1(), middle);
    EXPECT_EQ(added.end2(), left);
    EXPECT_EQ(undos(), 1u);

    // The new point can be dragged at once.
    Drag({1500, -1000}, {{1500, -1200}, {1500, -1400}});
    EXPECT_EQ(At(middle), (LogicalPoint{1500, -1400}));
}

TEST_F(EditWireDoubleClickTest, WithoutDiagonalWiresSwapsTheBendBackAndForth) {
    controller.SetNoDiagonalWires(true);
    UseTool(Tool::Wire);
    DoubleClickWire({1500, -1000});
    EXPECT_EQ(wire->kind, ElementKind::WireVerticalFirst);
    DoubleClick({1500, -1000});
    EXPECT_EQ(wire->kind, ElementKind::Wire);
    EXPECT_EQ(circuit().ElementCount(), 1u);
    EXPECT_EQ(undos(), 2u);
    EXPECT_TRUE(doc.modified()) << "the bend is saved in the file";
}

TEST_F(EditWireDoubleClickTest, SelectionToolOpensTheDetailsInstead) {
    UseTool(Tool::Selection);
    DoubleClickWire({1500, -1000});
    ASSERT_EQ(port.dialogs.size(), 1u);
    EXPECT_EQ(circuit().ElementCount(), 1u);
    EXPECT_EQ(undos(), 0u);
}

TEST_F(EditTest, DoubleClickActsOnlyOnASingleSelectedElement) {
    CircuitElement* a = AddElement(ElementKind::Switch, AddPoint(0, -100), AddPoint(400, -100));
    CircuitElement* b = AddElement(ElementKind::Switch, AddPoint(0, -900), AddPoint(400, -900));
    StartFromHere();
    DoubleClick({200, -100});
    circuit().Select(a);
    circuit().Select(b);
    DoubleClick({200, -100});
    EXPECT_EQ(a->resistance, 0.0);
    EXPECT_EQ(undos(), 0u);
    EXPECT_TRUE(port.dialogs.empty());
}

struct SwitchCase {
    Tool tool;
    bool toggles;  // or opens the details
};

class EditSwitchDoubleClickTest : public EditTest,
                                  public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(EditSwitchDoubleClickTest, SelectionWireAndSwitchToolsToggleOtherToolsOpenTheDetails) {
    const SwitchCase& tc = GetParam();
    CircuitElement* sw =
        AddElement(ElementKind::Switch, AddPoint(1000, -1000), AddPoint(1400, -1000));
    StartFromHere();
    circuit().Select(sw);
    doc.ChooseTool(tc.tool);
    DoubleClick({1200, -1000});
    if (tc.toggles) {
        EXPECT_EQ(sw->resistance, 1.0);
        DoubleClick({1200, -1000});
        EXPECT_EQ(sw->resistance, 0.0);
        EXPECT_EQ(undos(), 2u);
        EXPECT_TRUE(port.dialogs.empty());
    } else {
        ASSERT_EQ(port.dialogs.size(), 1u);
        EXPECT_EQ(port.dialogs[0].resistance, 0.0) << "the open flag shows as the resistance";
        EXPECT_EQ(undos(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, EditSwitchDoubleClickTest,
                         ::testing::Values(SwitchCase{Tool::Selection, true},
                                           SwitchCase{Tool::Wire, true},
                                           SwitchCase{Tool::Switch, true},
                                           SwitchCase{Tool::Battery, false},
                                           SwitchCase{Tool::Bulb, false}));

struct PlaceAndDoubleClickCase {
    const char* name;
    bool repeatedTool;
};

class EditPlaceAndDoubleClickTest : public EditTest,
                                    public ::testing::WithParamInterface<PlaceAndDoubleClickCase> {
};

// The double-click's first click places a switch; the double-click toggles it whether the tool
// fell back to the wire tool or stayed.
TEST_P(EditPlaceAndDoubleClickTest, SwitchPlacedByTheFirstClickOpensAtOnce) {
    doc.ChooseTool(Tool::Switch);
    if (GetParam().repeatedTool) {
        doc.ChooseTool(Tool::Switch);
    }
    Click({1000, -1000});
    DoubleClick({1000, -1000});
    ASSERT_EQ(circuit().ElementCount(), 1u);
    EXPECT_EQ(circuit().elements().begin()->resistance, 1.0);
    EXPECT_EQ(undos(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Tools, EditPlaceAndDoubleClickTest,
                         ::testing::Values(PlaceAndDoubleClickCase{"OneShot", false},
                                           PlaceAndDoubleClickCase{"Repeated", true}),
                         [](const auto& info) { return info.param.name; });

// --- The details dialog ------------------------------------------------------------------------

class EditDetailsTest : public EditTest {
protected:
    void SetUp() override {
        BuildRing();
        StartFromHere();
        UseTool(Tool::Selection);
        Click({1200, -1000});
        ASSERT_EQ(circuit().selection(), Elements{resistor});
    }
    // A 1.5 V battery and a 100-ohm resistor in a ring.
    void BuildRing() {
        CircuitPoint* a = AddPoint(1000, -1000);
        CircuitPoint* b = AddPoint(1400, -1000);
        CircuitPoint* c = AddPoint(1400, -2000);
        CircuitPoint* d = AddPoint(1000, -2000);
        resistor = AddElement(ElementKind::Resistor, a, b);
        AddElement(ElementKind::Wire, b, c);
        battery = AddElement(ElementKind::Battery, c, d);
        AddElement(ElementKind::Wire, d, a);
    }
    CircuitElement* resistor = nullptr;
    CircuitElement* battery = nullptr;
};

TEST_F(EditDetailsTest, OkWritesResistanceAndEmfWithOneUndoStateAndAnalysesAgain) {
    const double before = resistor->current;
    ASSERT_NE(before, 0.0);
    port.answer = DetailsValues{220.0, 3.0, 123.0};
    DoubleClick({1200, -1000});
    ASSERT_EQ(port.dialogs.size(), 1u);
    EXPECT_EQ(port.dialogs[0].resistance, 100.0);
    EXPECT_EQ(port.dialogs[0].emf, 0.0);
    EXPECT_EQ(port.dialogs[0].current, DetailsCurrent(before));
    EXPECT_EQ(resistor->resistance, 220.0);
    EXPECT_EQ(resistor->emf, 3.0);
    EXPECT_DOUBLE_EQ(std::fabs(resistor->current), 4.5 / 220.1) << "analysed again, not 123";
    EXPECT_EQ(undos(), 1u);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(circuit().elements().begin()->resistance, 100.0);
}

TEST_F(EditDetailsTest, CancelAndValuesThatAreNotFiniteChangeNothing) {
    for (const std::optional<DetailsValues>& answer :
         {std::optional<DetailsValues>(),
          std::optional<DetailsValues>(
              DetailsValues{std::numeric_limits<double>::infinity(), 0, 0}),
          std::optional<DetailsValues>(DetailsValues{1, std::nan(""), 0})}) {
        port.answer = answer;
        DoubleClick({1200, -1000});
        EXPECT_EQ(resistor->resistance, 100.0);
        EXPECT_EQ(resistor->emf, 0.0);
        EXPECT_EQ(undos(), 0u);
        EXPECT_FALSE(doc.modified());
    }
    EXPECT_EQ(port.dialogs.size(), 3u);
}

TEST_F(EditDetailsTest, CircuitReplacedWhileTheDialogIsOpenIsLeftAlone) {
    port.answer = DetailsValues{220.0, 0.0, 0.0};
    port.whileDialogOpen = [this] { doc.NewDocument(); };
    DoubleClick({1200, -1000});
    EXPECT_EQ(circuit().ElementCount(), 0u);
    EXPECT_EQ(undos(), 0u);
}

TEST_F(EditDetailsTest, ADialogThatAnswersLaterEditsWhenItAnswers) {
    port.answerLater = true;
    DoubleClick({1200, -1000});
    ASSERT_TRUE(port.pendingDetails);
    EXPECT_EQ(resistor->resistance, 100.0) << "nothing changes before the answer";
    EXPECT_EQ(undos(), 0u);
    port.pendingDetails(DetailsValues{220.0, 0.0, 0.0});
    EXPECT_EQ(resistor->resistance, 220.0);
    EXPECT_DOUBLE_EQ(std::fabs(resistor->current), 1.5 / 220.1);
    EXPECT_EQ(undos(), 1u);

    // An answer that comes after an undo replaced the circuit is dropped.
    DoubleClick({1200, -1000});
    ASSERT_TRUE(doc.Undo());
    port.pendingDetails(DetailsValues{330.0, 0.0, 0.0});
    EXPECT_EQ(circuit().elements().begin()->resistance, 100.0);
    EXPECT_TRUE(doc.CanRedo()) << "the dropped answer left no undo state";
}

TEST_F(EditDetailsTest, ShowsTheMagnitudeOfTheCurrentCutToFiveDecimals) {
    battery->emf = -10.0;
    doc.CircuitChanged();
    ASSERT_LT(resistor->current, 0.0);
    DoubleClick({1200, -1000});
    ASSERT_EQ(port.dialogs.size(), 1u);
    EXPECT_EQ(port.dialogs[0].current, std::trunc(std::fabs(resistor->current) * 1e5) * 1e-5);
}

// --- Arrow keys --------------------------------------------------------------------------------

TEST_F(EditTest, ArrowKeysMoveTheSelectedElementsTenUnitsEachWithAnUndoState) {
    CircuitPoint* shared = AddPoint(1400, -1000);
    CircuitElement* a = AddElement(ElementKind::Resistor, AddPoint(1000, -1000), shared);
    CircuitElement* b = AddElement(ElementKind::Bulb, shared, AddPoint(1800, -1000));
    CircuitPoint* other = AddPoint(0, 0);
    AddElement(ElementKind::Wire, other, a->end1());
    StartFromHere();
    circuit().Select(a);
    circuit().Select(b);
    for (int i = 0; i < 3; ++i) {
        controller.Nudge(EditController::Arrow::Right);
    }
    controller.Nudge(EditController::Arrow::Up);
    EXPECT_EQ(At(a->end1()), (LogicalPoint{1030, -990}));
    EXPECT_EQ(At(shared), (LogicalPoint{1430, -990}));
    EXPECT_EQ(At(b->end2()), (LogicalPoint{1830, -990}));
    EXPECT_EQ(At(other), (LogicalPoint{0, 0}));
    EXPECT_EQ(undos(), 4u);
    EXPECT_TRUE(doc.modified());
}

struct NudgeCase {
    EditController::Arrow arrow;
    LogicalPoint step;
};

class EditPointNudgeTest : public EditTest, public ::testing::WithParamInterface<NudgeCase> {};

TEST_P(EditPointNudgeTest, ArrowMovesTheSelectedPointAloneAndYGrowsUpward) {
    CircuitPoint* point = AddPoint(1000, -1000);
    CircuitPoint* far = AddPoint(1400, -1000);
    AddElement(ElementKind::Resistor, point, far);
    StartFromHere();
    circuit().SelectPoint(point);
    controller.Nudge(GetParam().arrow);
    EXPECT_EQ(At(point), (LogicalPoint{1000 + GetParam().step.x, -1000 + GetParam().step.y}));
    EXPECT_EQ(At(far), (LogicalPoint{1400, -1000}));
    EXPECT_EQ(undos(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Arrows, EditPointNudgeTest,
                         ::testing::Values(NudgeCase{EditController::Arrow::Left, {-10, 0}},
                                           NudgeCase{EditController::Arrow::Up, {0, 10}},
                                           NudgeCase{EditController::Arrow::Right, {10, 0}},
                                           NudgeCase{EditController::Arrow::Down, {0, -10}}));

TEST_F(EditTest, ArrowKeysWithNothingSelectedDoNothing) {
    CircuitPoint* point = AddPoint(1000, -1000);
    StartFromHere();
    controller.Nudge(EditController::Arrow::Left);
    EXPECT_EQ(At(point), (LogicalPoint{1000, -1000}));
    EXPECT_EQ(undos(), 0u);
    EXPECT_FALSE(doc.modified());
}

TEST_F(EditTest, ArrowKeysStopAtTheEdgeOfTheCoordinateRange) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    CircuitPoint* near = AddPoint(kMax - 4, 0);
    CircuitElement* e = AddElement(ElementKind::Resistor, AddPoint(kMax - 404, 0), near);
    StartFromHere();
    circuit().SelectPoint(near);
    controller.Nudge(EditController::Arrow::Right);
    EXPECT_EQ(near->x, kMax);
    circuit().Select(e);
    circuit().ClearPointSelection();
    controller.Nudge(EditController::Arrow::Right);
    EXPECT_EQ(near->x, kMax);
    EXPECT_EQ(e->end1()->x, kMax - 404) << "the selection keeps its shape";
}

// --- Select All and the grid -------------------------------------------------------------------

TEST_F(EditTest, SelectAllTwiceSelectsEveryElementOnceKeepingEarlierOnesInFront) {
    CircuitElement* a = AddElement(ElementKind::Wire, AddPoint(0, 0), AddPoint(100, 0));
    CircuitElement* b = AddElement(ElementKind::Bulb, AddPoint(0, -500), AddPoint(400, -500));
    CircuitElement* c = AddElement(ElementKind::Wire, AddPoint(0, -900), AddPoint(100, -900));
    StartFromHere();
    circuit().Select(b);
    controller.SelectAll();
    controller.SelectAll();
    EXPECT_EQ(circuit().selection(), (Elements{b, a, c}));
    circuit().SelectPoint(a->end1());
    controller.SelectAll();
    EXPECT_FALSE(circuit().pointSelected());
    EXPECT_EQ(undos(), 0u);
}

}  // namespace
}  // namespace kelno
