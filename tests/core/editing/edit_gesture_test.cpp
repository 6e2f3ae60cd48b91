// Whole mouse gestures (press, moves, release) played through the editing controller.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "analysis/analyze.h"
#include "core/editing/edit_fixture.h"
#include "render/format_value.h"

namespace kelno {
namespace {

using testing::EditTest;
using testing::Px;

using Elements = std::vector<CircuitElement*>;

// --- Placing components ----------------------------------------------------------------------

class EditPlaceTest : public EditTest, public ::testing::WithParamInterface<ElementKind> {};

TEST_P(EditPlaceTest, PressOnNothingPlacesOneComponentAndTheDragThatFollowsDoesNothing) {
    const ElementKind kind = GetParam();
    UseTool(kind);
    Press({1000, -500});
    ASSERT_EQ(circuit().ElementCount(), 1u);
    CircuitElement* placed = &*circuit().elements().begin();
    EXPECT_EQ(placed->kind, kind);
    EXPECT_EQ(placed->resistance, DefaultRecord(kind).resistance);
    EXPECT_EQ(placed->emf, DefaultRecord(kind).emf);
    EXPECT_EQ(At(placed->end1()), (LogicalPoint{800, -500}));
    EXPECT_EQ(At(placed->end2()), (LogicalPoint{1200, -500}));
    EXPECT_EQ(circuit().selection(), Elements{placed});
    EXPECT_FALSE(port.captured);
    EXPECT_EQ(doc.currentTool(), Tool::Wire) << "a tool chosen once is used once";
    EXPECT_EQ(undos(), 1u);
    EXPECT_TRUE(doc.modified());

    Move({1400, -900});
    Release({1400, -900});
    EXPECT_EQ(At(placed->end1()), (LogicalPoint{800, -500}));
    EXPECT_EQ(circuit().ElementCount(), 1u);
    EXPECT_EQ(undos(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Components, EditPlaceTest,
                         ::testing::Values(ElementKind::Battery, ElementKind::Resistor,
                                           ElementKind::Ammeter, ElementKind::Voltmeter,
                                           ElementKind::Bulb, ElementKind::Switch));

TEST_F(EditTest, ToolChosenTwiceWithinASecondStaysForTheNextComponent) {
    doc.ChooseTool(Tool::Battery);
    doc.ChooseTool(Tool::Battery);
    Click({1000, -500});
    Click({1000, -1500});
    EXPECT_EQ(circuit().ElementCount(), 2u);
    EXPECT_EQ(doc.currentTool(), Tool::Battery);
    EXPECT_EQ(undos(), 2u);
}

struct GrabOrPlaceCase {
    const char* name;
    LogicalPoint offset;  // of the press from a lone point
    bool shift;
    bool grabs;
};

class EditGrabOrPlaceTest : public EditTest,
                            public ::testing::WithParamInterface<GrabOrPlaceCase> {};

TEST_P(EditGrabOrPlaceTest, ComponentToolGrabsAPointWithin14Pixels) {
    const GrabOrPlaceCase& tc = GetParam();
    CircuitPoint* lone = AddPoint(1000, -500);
    UseTool(ElementKind::Resistor);
    Press({1000 + tc.offset.x, -500 + tc.offset.y}, tc.shift);
    EXPECT_EQ(circuit().selectedPoint() == lone, tc.grabs);
    EXPECT_EQ(port.captured, tc.grabs);
    EXPECT_EQ(circuit().ElementCount(), tc.grabs ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, EditGrabOrPlaceTest,
    ::testing::Values(GrabOrPlaceCase{"OnThePoint", {0, 0}, false, true},
                      GrabOrPlaceCase{"FourteenPixelsAway", {Px(14), 0}, false, true},
                      GrabOrPlaceCase{"TenRightFourteenDown", {Px(10), -Px(14)}, false, true},
                      GrabOrPlaceCase{"FifteenPixelsAway", {0, Px(15)}, false, false},
                      GrabOrPlaceCase{"ShiftIgnoresPoints", {0, 0}, true, false}),
    [](const auto& info) { return info.param.name; });

// --- Drawing wires -----------------------------------------------------------------------------

TEST_F(EditTest, BatteryAndBulbWiredIntoARingFromThePointsRims) {
    UseTool(ElementKind::Battery);
    Click({1000, -500});
    UseTool(ElementKind::Bulb);
    Click({2000, -500});
    ASSERT_EQ(circuit().PointCount(), 4u);
    auto point = circuit().points().begin();
    CircuitPoint* batteryMinus = &*point++;
    CircuitPoint* batteryPlus = &*point++;
    CircuitPoint* bulbLeft = &*point++;
    CircuitPoint* bulbRight = &*point;

    // A press 10 pixels from the battery's right point, a drag away from its link (which
    // would pull the battery off), on toward the bulb: the rubber wire snaps to its point.
    Press({1200 + Px(10), -500});
    EXPECT_FALSE(controller.rubberWire());
    Move({1400, -700});
    Move({1800 + Px(5), -500 - Px(5)});
    const auto rubber = controller.rubberWire();
    ASSERT_TRUE(rubber);
    EXPECT_EQ(rubber->from, At(batteryPlus));
    EXPECT_EQ(rubber->to, At(bulbLeft));
    Release({1800 + Px(5), -500 - Px(5)});
    EXPECT_FALSE(controller.rubberWire());

    Drag({2200 + Px(10), -500}, {{2200, -900}, {800, -500}});

    ASSERT_EQ(circuit().ElementCount(), 4u);
    auto element = std::next(circuit().elements().begin(), 2);
    EXPECT_EQ(element->end1(), batteryPlus);
    EXPECT_EQ(element->end2(), bulbLeft);
    ++element;
    EXPECT_EQ(element->end1(), bulbRight);
    EXPECT_EQ(element->end2(), batteryMinus);
    for (const CircuitElement& e : circuit().elements()) {
        EXPECT_DOUBLE_EQ(e.current, 1.5 / 5.1);
    }
    EXPECT_FALSE(doc.shortCircuit());
    EXPECT_EQ(undos(), 4u) << "two placements and two wires";
    EXPECT_FALSE(port.captured);
}

TEST_F(EditTest, ClickedElementsSummaryLeavesOutTheReadingsWhileTheyAreHidden) {
    CircuitPoint* minus = AddPoint(1000, -500);
    CircuitPoint* plus = AddPoint(1400, -500);
    CircuitElement* battery = AddElement(ElementKind::Battery, minus, plus);
    CircuitElement* bulb = AddElement(ElementKind::Bulb, plus, AddPoint(1400, -1000));
    AddElement(ElementKind::Wire, bulb->end2(), minus);
    StartFromHere();
    ASSERT_GT(bulb->current, 0.1);
    UseTool(Tool::Selection);

    controller.SetReadingsHidden(true);
    Click({1400, -750});
    EXPECT_EQ(port.statusTexts.back(), FormatElementSummaryWithoutReadings(*bulb));
    EXPECT_NE(port.statusTexts.back(), FormatElementSummary(*bulb));

    controller.SetReadingsHidden(false);
    Click({1200, -500});
    EXPECT_EQ(port.statusTexts.back(), FormatElementSummary(*battery));
}

struct WireEndCase {
    const char* name;
    bool freePointNearby;
};

class EditWireEndTest : public EditTest, public ::testing::WithParamInterface<WireEndCase> {};

TEST_P(EditWireEndTest, WireReleasedOverAPointAlreadyJoinedGoesOnlyToAFreeOne) {
    CircuitPoint* start = AddPoint(1000, -1000);
    CircuitPoint* joined = AddPoint(1400, -1000);
    AddElement(ElementKind::Resistor, start, joined);
    CircuitPoint* free = GetParam().freePointNearby ? AddPoint(1400 + Px(8), -1000) : nullptr;
    StartFromHere();
    UseTool(Tool::Wire);

    Drag({1000 + Px(10), -1000}, {{1000, -1300}, {1400, -1000}});

    if (free != nullptr) {
        ASSERT_EQ(circuit().ElementCount(), 2u);
        const CircuitElement& wire = *std::next(circuit().elements().begin());
        EXPECT_EQ(wire.end1(), start);
        EXPECT_EQ(wire.end2(), free);
    } else {
        EXPECT_EQ(circuit().ElementCount(), 1u);
    }
    EXPECT_EQ(At(start), (LogicalPoint{1000, -1000})) << "drawing a wire moves nothing";
}

// A wire released where no wire can go changes nothing: no undo step, the redo state kept,
// and the document as saved.
TEST_F(EditTest, WireReleasedOverEmptySpaceLeavesNoUndoStep) {
    CircuitPoint* start = AddPoint(1000, -1000);
    CircuitElement* resistor = AddElement(ElementKind::Resistor, start, AddPoint(1400, -1000));
    StartFromHere();
    circuit().Select(resistor);
    controller.Nudge(EditController::Arrow::Left);
    ASSERT_TRUE(doc.Undo());
    doc.MarkSaved();
    const std::size_t undosBefore = undos();
    UseTool(Tool::Wire);

    Drag({1000 + Px(10), -1000}, {{1000, -1600}, {1000, -2200}});

    EXPECT_EQ(circuit().ElementCount(), 1u);
    EXPECT_EQ(undos(), undosBefore);
    EXPECT_EQ(doc.history().RedoCount(), 1u);
    EXPECT_FALSE(doc.modified());
}

INSTANTIATE_TEST_SUITE_P(Releases, EditWireEndTest,
                         ::testing::Values(WireEndCase{"OnlyTheJoinedPoint", false},
                                           WireEndCase{"FreePointBesideIt", true}),
                         [](const auto& info) { return info.param.name; });

// --- Dragging points: detaching, thresholds, magnet, grid --------------------------------------

struct DetachCase {
    const char* name;
    LogicalPoint step;  // the first step of the drag, from the junction
    int detached;       // index of the wire pulled off (0 up, 1 right, 2 down), or -1
};

class EditDetachTest : public EditTest, public ::testing::WithParamInterface<DetachCase> {};

// A junction at (2000, -2000) with wires up, right and straight down.
TEST_P(EditDetachTest, FirstDragStepPullsOffTheWireInItsDirection) {
    const DetachCase& tc = GetParam();
    CircuitPoint* junction = AddPoint(2000, -2000);
    const LogicalPoint ends[] = {{2000, -1000}, {3000, -2000}, {2000, -3000}};
    std::vector<CircuitElement*> wires;
    for (const LogicalPoint end : ends) {
        wires.push_back(AddElement(ElementKind::Wire, junction, AddPoint(end.x, end.y)));
    }
    StartFromHere();
    UseTool(Tool::Wire);

    const LogicalPoint first{2000 + tc.step.x, -2000 + tc.step.y};
    const LogicalPoint last{2000 + 2 * tc.step.x, -2000 + 2 * tc.step.y};
    Press({2000, -2000});
    Move(first);
    EXPECT_EQ(undos(), 1u);
    Move(last);
    Release(last);

    if (tc.detached < 0) {
        EXPECT_EQ(At(junction), last) << "the junction moves with all its wires";
        EXPECT_EQ(circuit().PointCount(), 4u);
        for (const CircuitElement* wire : wires) {
            EXPECT_EQ(wire->end1(), junction);
        }
        return;
    }
    EXPECT_EQ(At(junction), (LogicalPoint{2000, -2000}));
    EXPECT_EQ(circuit().PointCount(), 5u);
    for (int i = 0; i < 3; ++i) {
        const CircuitPoint* end = wires[i]->end1();
        if (i == tc.detached) {
            EXPECT_NE(end, junction);
            EXPECT_EQ(At(end), last);
            EXPECT_EQ(end->Degree(), 1u);
        } else {
            EXPECT_EQ(end, junction) << "wire " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Directions, EditDetachTest,
    ::testing::Values(DetachCase{"Up", {0, 300}, 0}, DetachCase{"Right", {300, 0}, 1},
                      DetachCase{"UpAndSlightlyRight", {60, 300}, 0},
                      DetachCase{"Diagonal", {-300, -300}, -1}, DetachCase{"Left", {-300, 0}, -1},
                      // The angle of a straight-down wire is +pi; a drag down and slightly
                      // left has an angle near -pi, so the plain difference is nearly 2 pi.
                      DetachCase{"StraightDown", {0, -300}, 2},
                      DetachCase{"DownSlightlyRight", {30, -300}, 2},
                      DetachCase{"DownSlightlyLeft", {-30, -300}, -1}),
    [](const auto& info) { return info.param.name; });

TEST_F(EditTest, SelectionToolNeverDetachesAndNeverMerges) {
    CircuitPoint* junction = AddPoint(2000, -2000);
    CircuitPoint* up = AddPoint(2000, -1000);
    AddElement(ElementKind::Wire, junction, up);
    CircuitPoint* lone = AddPoint(2000, -1600);
    StartFromHere();
    UseTool(Tool::Selection);
    Drag({2000, -2000}, {{2000, -1800}, {2000, -1600}});
    EXPECT_EQ(At(junction), (LogicalPoint{2000, -1600}));
    EXPECT_EQ(circuit().PointCount(), 3u);
    EXPECT_EQ(lone->Degree(), 0u);
    EXPECT_EQ(junction->Degree(), 1u);
}

struct ThresholdCase {
    const char* name;
    bool grabPoint;  // or press on the element
    LogicalPoint step;
    bool starts;
};

class EditThresholdTest : public EditTest, public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(EditThresholdTest, PointDragStartsBeyondTenUnitsSelectionMoveAtTen) {
    const ThresholdCase& tc = GetParam();
    CircuitPoint* a = AddPoint(1000, -1000);
    CircuitPoint* b = AddPoint(1400, -1000);
    AddElement(ElementKind::Resistor, a, b);
    StartFromHere();
    UseTool(Tool::Selection);
    const LogicalPoint press = tc.grabPoint ? At(b) : LogicalPoint{1200, -1000};
    Press(press);
    Move({press.x + tc.step.x, press.y + tc.step.y});
    EXPECT_EQ(undos(), tc.starts ? 1u : 0u);
    if (tc.grabPoint) {
        EXPECT_EQ(At(b), (LogicalPoint{1400, -1000})) << "the first step moves nothing";
    } else {
        const LogicalPoint expected = tc.starts ? LogicalPoint{1400 + tc.step.x, -1000 + tc.step.y}
                                                : LogicalPoint{1400, -1000};
        EXPECT_EQ(At(b), expected);
    }
    Release({press.x + tc.step.x, press.y + tc.step.y});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EditThresholdTest,
    ::testing::Values(ThresholdCase{"PointTen", true, {10, 0}, false},
                      ThresholdCase{"PointTenDiagonal", true, {-10, 10}, false},
                      ThresholdCase{"PointTwelve", true, {0, -12}, true},
                      ThresholdCase{"SelectionEight", false, {8, 8}, false},
                      ThresholdCase{"SelectionTen", false, {10, 0}, true},
                      ThresholdCase{"SelectionTenDown", false, {4, -10}, true}),
    [](const auto& info) { return info.param.name; });

struct MagnetCase {
    const char* name;
    Tool tool;
    bool grid;
    LogicalPoint landed;  // where the dragged end ends up
    bool merged;
};

class EditMagnetTest : public EditTest, public ::testing::WithParamInterface<MagnetCase> {};

// A resistor's right end dragged to 15 pixels beside a lone point at (2012, -1508).
TEST_P(EditMagnetTest, DraggedPointSnapsToAFreePointAndMergesWithIt) {
    const MagnetCase& tc = GetParam();
    CircuitPoint* left = AddPoint(1000, -1000);
    CircuitPoint* right = AddPoint(1400, -1000);
    CircuitElement* resistor = AddElement(ElementKind::Resistor, left, right);
    CircuitPoint* target = AddPoint(2012, -1508);
    StartFromHere();
    UseTool(tc.tool);
    if (tc.grid) {
        controller.ToggleGrid();
    }
    const LogicalPoint near{2012 + Px(15), -1508 + Px(10)};
    Drag({1400, -1000}, {{1400, -1100}, near});

    EXPECT_EQ(At(resistor->end2()), tc.landed);
    if (tc.merged) {
        EXPECT_EQ(resistor->end2(), target);
        EXPECT_EQ(circuit().PointCount(), 2u);
    } else {
        EXPECT_EQ(resistor->end2(), right);
        EXPECT_EQ(circuit().PointCount(), 3u);
    }
    EXPECT_EQ(undos(), 1u) << "one undo state for the whole drag";
    EXPECT_TRUE(doc.modified());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, EditMagnetTest,
    ::testing::Values(MagnetCase{"WireTool", Tool::Wire, false, {2012, -1508}, true},
                      MagnetCase{"WireToolMagnetBeatsGrid", Tool::Wire, true, {2012, -1508}, true},
                      MagnetCase{"ComponentTool", Tool::Bulb, false, {2012, -1508}, true},
                      MagnetCase{"SelectionTool", Tool::Selection, false, {2042, -1488}, false},
                      MagnetCase{"SelectionToolGrid", Tool::Selection, true, {2050, -1500}, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(EditTest, GridSnapsAPointDraggedWithNothingNear) {
    CircuitPoint* left = AddPoint(1000, -1000);
    CircuitPoint* right = AddPoint(1400, -1000);
    AddElement(ElementKind::Resistor, left, right);
    StartFromHere();
    UseTool(Tool::Wire);
    controller.ToggleGrid();
    Drag({1400, -1000}, {{1400, -1100}, {1474, -1626}});
    EXPECT_EQ(At(right), (LogicalPoint{1450, -1650}));
}

// --- Clicks that merge, wire or join -----------------------------------------------------------

struct ClickCase {
    const char* name;
    std::int32_t fromPoint;  // pixels right of point P
    bool merges;             // or draws a wire
};

class EditClickTest : public EditTest, public ::testing::WithParamInterface<ClickCase> {};

// P ends one resistor, Q another; the click lies between them, within 20 pixels of Q.
TEST_P(EditClickTest, ClickBesideAPointMergesOrWiresWithOneUndoStateOfItsOwn) {
    const ClickCase& tc = GetParam();
    CircuitPoint* p = AddPoint(1000, -1000);
    CircuitElement* first = AddElement(ElementKind::Resistor, AddPoint(600, -1000), p);
    CircuitPoint* q = AddPoint(1000 + Px(18), -1000);
    AddElement(ElementKind::Resistor, q, AddPoint(1400, -1000));
    StartFromHere();
    UseTool(ElementKind::Battery);
    Click({0, -3000});  // an earlier edit, which the click's undo must not take away
    const auto before = FileBytes();

    Click({1000 + Px(tc.fromPoint), -1000});

    if (tc.merges) {
        EXPECT_EQ(first->end2(), q);
        EXPECT_EQ(circuit().PointCount(), 5u);
        EXPECT_EQ(circuit().ElementCount(), 3u);
    } else {
        EXPECT_EQ(circuit().ElementCount(), 4u);
        const CircuitElement& wire = *std::prev(circuit().elements().end());
        EXPECT_EQ(wire.end1(), p);
        EXPECT_EQ(wire.end2(), q);
    }
    EXPECT_EQ(undos(), 2u);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(FileBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Distances, EditClickTest,
                         ::testing::Values(ClickCase{"OnThePoint", 0, true},
                                           ClickCase{"FivePixels", 5, true},
                                           ClickCase{"SixPixels", 6, false},
                                           ClickCase{"FourteenPixels", 14, false}),
                         [](const auto& info) { return info.param.name; });

class EditLooseEndTest : public EditTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(EditLooseEndTest, ClickOnAnElementJoinsAnEndLyingWithinNinePixelsOfAFreePoint) {
    const std::int32_t pixels = GetParam();
    CircuitPoint* right = AddPoint(1400, -1000);
    CircuitElement* resistor = AddElement(ElementKind::Resistor, AddPoint(1000, -1000), right);
    CircuitPoint* loose = AddPoint(1400 + Px(pixels), -1000 - Px(3));
    StartFromHere();
    UseTool(ElementKind::Bulb);
    Click({0, -3000});
    const auto before = FileBytes();

    Click({1200, -1000});

    EXPECT_EQ(circuit().selection(), Elements{resistor});
    EXPECT_EQ(port.statusTexts.back(), FormatElementSummary(*resistor));
    const bool joins = pixels < 10;
    ASSERT_EQ(circuit().ElementCount(), joins ? 3u : 2u);
    if (joins) {
        const CircuitElement& wire = *std::prev(circuit().elements().end());
        EXPECT_EQ(wire.end1(), loose);
        EXPECT_EQ(wire.end2(), right);
        EXPECT_EQ(undos(), 2u) << "the join has an undo state of its own";
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(FileBytes(), before) << "undo takes back the join and nothing before it";
    } else {
        EXPECT_EQ(undos(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Pixels, EditLooseEndTest, ::testing::Values(2, 9, 10));

TEST_F(EditTest, JoinAfterADragSharesTheDragsUndoState) {
    CircuitPoint* right = AddPoint(1400, -1000);
    CircuitElement* resistor = AddElement(ElementKind::Resistor, AddPoint(1000, -1000), right);
    CircuitPoint* loose = AddPoint(1600, -1000);
    StartFromHere();
    UseTool(Tool::Selection);
    Drag({1200, -1000}, {{1300, -1000}, {1392, -1000}});
    EXPECT_EQ(At(right), (LogicalPoint{1592, -1000}));
    EXPECT_EQ(loose->Degree(), 1u);
    EXPECT_EQ(circuit().ElementCount(), 2u);
    EXPECT_EQ(undos(), 1u);
    EXPECT_EQ(circuit().selection(), Elements{resistor});
}

// --- Selecting and moving the selection --------------------------------------------------------

class EditSelectionTest : public EditTest {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            const std::int32_t y = -1000 - 600 * i;
            resistors.push_back(
                AddElement(ElementKind::Resistor, AddPoint(1000, y), AddPoint(1400, y)));
        }
        StartFromHere();
        UseTool(Tool::Selection);
    }
    static LogicalPoint Middle(int i) { return {1200, -1000 - 600 * i}; }
    Elements resistors;
};

TEST_F(EditSelectionTest, ShiftClickAddsAndRemovesAndAPlainClickKeepsAMultipleSelection) {
    Click(Middle(0));
    Click(Middle(1), true);
    EXPECT_EQ(circuit().selection(), (Elements{resistors[0], resistors[1]}));
    Click(Middle(0), true);
    EXPECT_EQ(circuit().selection(), (Elements{resistors[1]}));
    Click(Middle(2), true);
    Click(Middle(1));
    EXPECT_EQ(circuit().selection(), (Elements{resistors[1], resistors[2]}));

    Drag(Middle(1), {{1300, -1600}});
    EXPECT_EQ(At(resistors[1]->end1()), (LogicalPoint{1100, -1600}));
    EXPECT_EQ(At(resistors[2]->end2()), (LogicalPoint{1500, -2200}));
    EXPECT_EQ(At(resistors[0]->end1()), (LogicalPoint{1000, -1000}));
    EXPECT_EQ(undos(), 1u);
    EXPECT_FALSE(port.captured);
}

TEST_F(EditSelectionTest, PressOnNothingClearsTheSelectionUnlessShiftIsHeld) {
    Click(Middle(0));
    Click({3000, -3000}, true);
    EXPECT_EQ(circuit().selection(), Elements{resistors[0]});
    Click({3000, -3000});
    EXPECT_TRUE(circuit().selection().empty());
}

struct BandCase {
    const char* name;
    LogicalPoint from;
    LogicalPoint to;
};

class EditRubberBandTest : public EditSelectionTest,
                           public ::testing::WithParamInterface<BandCase> {};

// Every direction spans the same rectangle around the first two midpoints.
TEST_P(EditRubberBandTest, SelectsTheMidpointsInsideWhicheverWayItIsDrawn) {
    const BandCase& tc = GetParam();
    Click(Middle(0));
    Press(tc.from, true);
    Move(tc.to);
    const auto band = controller.rubberBand();
    ASSERT_TRUE(band);
    EXPECT_EQ(band->corner1, tc.from);
    EXPECT_EQ(band->corner2, tc.to);
    Release(tc.to);
    EXPECT_FALSE(controller.rubberBand());
    EXPECT_EQ(circuit().selection(), (Elements{resistors[0], resistors[1]}))
        << "the one selected before stays at the front, once";
    EXPECT_EQ(undos(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Directions, EditRubberBandTest,
                         ::testing::Values(BandCase{"DownRight", {800, -800}, {1600, -1800}},
                                           BandCase{"UpLeft", {1600, -1800}, {800, -800}},
                                           BandCase{"DownLeft", {1600, -800}, {800, -1800}},
                                           BandCase{"UpRight", {800, -1800}, {1600, -800}}),
                         [](const auto& info) { return info.param.name; });

TEST_F(EditTest, PointSharedBySelectedElementsMovesOnce) {
    CircuitPoint* shared = AddPoint(1400, -1000);
    CircuitElement* left = AddElement(ElementKind::Resistor, AddPoint(1000, -1000), shared);
    CircuitElement* right = AddElement(ElementKind::Bulb, shared, AddPoint(1800, -1000));
    StartFromHere();
    UseTool(Tool::Selection);
    circuit().Select(left);
    circuit().Select(right);
    Drag({1200, -1000}, {{1300, -1000}, {1300, -1200}});
    EXPECT_EQ(At(shared), (LogicalPoint{1500, -1200}));
    EXPECT_EQ(At(left->end1()), (LogicalPoint{1100, -1200}));
    EXPECT_EQ(At(right->end2()), (LogicalPoint{1900, -1200}));
}

// --- Dragging an end onto a pair of points already joined --------------------------------------

class EditParallelEndTest : public EditTest, public ::testing::WithParamInterface<bool> {};

// A ring of a battery and a bulb; a resistor hangs from the battery's first point. Its free
// end dragged onto the battery's second point puts it in parallel with the battery, which
// holds the link of that pair. The currents must be those the same circuit has once saved
// and opened again, whichever of the two comes first in the list.
TEST_P(EditParallelEndTest, CurrentsAfterTheDragEqualThoseAfterSavingAndOpening) {
    const bool resistorFirst = GetParam();
    CircuitPoint* a = AddPoint(1000, -1000);
    CircuitPoint* b = AddPoint(1400, -1000);
    CircuitPoint* loose = AddPoint(1200, -2000);
    CircuitElement* resistor =
        resistorFirst ? AddElement(ElementKind::Resistor, a, loose) : nullptr;
    AddElement(ElementKind::Battery, a, b);
    CircuitPoint* c = AddPoint(1400, -400);
    CircuitPoint* d = AddPoint(1000, -400);
    AddElement(ElementKind::Wire, b, c);
    AddElement(ElementKind::Bulb, c, d);
    AddElement(ElementKind::Wire, d, a);
    if (!resistorFirst) {
        resistor = AddElement(ElementKind::Resistor, a, loose);
    }
    StartFromHere();
    UseTool(Tool::Wire);

    Drag({1200, -2000}, {{1300, -2000}, {1400 + Px(4), -1000}});
    ASSERT_EQ(resistor->end2(), b);
    EXPECT_EQ(circuit().UnlinkedCount(), 1u);

    std::vector<double> currents;
    for (const CircuitElement& e : circuit().elements()) {
        currents.push_back(e.current);
    }
    KelReadResult reread = ReadKel(FileBytes(), [](std::int32_t) { return true; });
    ASSERT_EQ(reread.status, KelReadStatus::Ok);
    EXPECT_EQ(Analyze(reread.circuit), !doc.shortCircuit());
    std::vector<double> rereadCurrents;
    for (const CircuitElement& e : reread.circuit.elements()) {
        rereadCurrents.push_back(e.current);
    }
    EXPECT_EQ(currents, rereadCurrents);
    EXPECT_NE(currents[resistorFirst ? 0 : 4], 0.0) << "the resistor carries a current";
}

INSTANTIATE_TEST_SUITE_P(Orders, EditParallelEndTest, ::testing::Bool());

}  // namespace
}  // namespace kelno
