// Commands that replace or change the circuit in the middle of a gesture (all of them have
// keys that work while the mouse button is down): the gesture must end cleanly and never
// touch the points and elements it held.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/editing/edit_fixture.h"
#include "document/clipboard_commands.h"
#include "document/string_clipboard.h"

namespace kelno {
namespace {

using testing::EditTest;
using testing::Px;

enum class Mode { PointPending, PointDrag, RubberWire, RubberBand, SelectionMove };
enum class Command { Undo, Paste, New, Cut };

// Test names, in the order of the enumerators.
constexpr const char* kModeNames[] = {"PointPending", "PointDrag", "RubberWire", "RubberBand",
                                      "SelectionMove"};
constexpr const char* kCommandNames[] = {"Undo", "Paste", "New", "Cut"};

class EditInterruptionTest : public EditTest,
                             public ::testing::WithParamInterface<std::tuple<Mode, Command>> {
protected:
    // A resistor from (1000, -1000) to the junction (1400, -1000), a wire on from there, and
    // one earlier edit to undo.
    void SetUp() override {
        CircuitPoint* junction = AddPoint(1400, -1000);
        resistor = AddElement(ElementKind::Resistor, AddPoint(1000, -1000), junction);
        AddElement(ElementKind::Wire, junction, AddPoint(1400, -1600));
        StartFromHere();
        UseTool(ElementKind::Bulb);
        Click({4000, -4000});
        ASSERT_EQ(doc.currentTool(), Tool::Wire);
    }

    void StartGesture(Mode mode) {
        switch (mode) {
            case Mode::PointPending:
                Press({1400, -1000});
                break;
            case Mode::PointDrag:
                Press({1400, -1000});
                Move({1300, -1300});
                Move({1300, -1400});
                break;
            case Mode::RubberWire:
                Press({1400 + Px(10), -1000});
                Move({1700, -1300});
                Move({1800, -1400});
                ASSERT_TRUE(controller.rubberWire());
                break;
            case Mode::RubberBand:
                Click({1200, -1000});
                Press({3000, -3000}, true);
                Move({3400, -3400});
                ASSERT_TRUE(controller.rubberBand());
                break;
            case Mode::SelectionMove:
                Press({1200, -1000});
                Move({1300, -1000});
                Move({1300, -1200});
                break;
        }
        ASSERT_TRUE(port.captured);
    }

    void Run(Command command) {
        switch (command) {
            case Command::Undo:
                ASSERT_TRUE(doc.Undo());
                break;
            case Command::Paste:
                clipboard.WriteText(
                    "KelnoData\r\n2 1\r\n1000 -1000\r\n1400 -1000\r\n1 2 5 5 0 0\r\n");
                ASSERT_TRUE(Paste(doc, clipboard));
                break;
            case Command::New:
                doc.NewDocument();
                doc.ChooseTool(Tool::Wire);
                break;
            case Command::Cut:
                ASSERT_TRUE(Cut(doc, clipboard));
                break;
        }
    }

    CircuitElement* resistor = nullptr;
    StringClipboard clipboard;
};

TEST_P(EditInterruptionTest, GestureEndsAndItsLaterMovesAndReleaseDoNothing) {
    const auto [mode, command] = GetParam();
    StartGesture(mode);
    Run(command);

    EXPECT_FALSE(port.captured);
    EXPECT_FALSE(controller.capturing());
    EXPECT_FALSE(controller.rubberWire());
    EXPECT_FALSE(controller.rubberBand());
    const auto bytes = FileBytes();
    const std::size_t undoStates = undos();
    const bool pointSelected = circuit().pointSelected();
    const std::size_t selected = circuit().SelectedCount();

    // Toward and onto points that a stale gesture would move, merge or wire.
    Move({1000, -1300});
    Move({1000, -1000});
    Release({1000, -1000});
    EXPECT_EQ(FileBytes(), bytes);
    EXPECT_EQ(undos(), undoStates);
    EXPECT_EQ(circuit().pointSelected(), pointSelected);
    EXPECT_EQ(circuit().SelectedCount(), selected);

    // The next gesture works as ever.
    UseTool(ElementKind::Battery);
    Click({6000, -6000});
    EXPECT_EQ(circuit().SelectedCount(), 1u);
    EXPECT_EQ(undos(), undoStates + 1);
    EXPECT_FALSE(port.captured);
}

INSTANTIATE_TEST_SUITE_P(Gestures, EditInterruptionTest,
                         ::testing::Combine(::testing::Values(Mode::PointPending, Mode::PointDrag,
                                                              Mode::RubberWire, Mode::RubberBand,
                                                              Mode::SelectionMove),
                                            ::testing::Values(Command::Undo, Command::Paste,
                                                              Command::New, Command::Cut)),
                         [](const auto& info) {
                             return std::string(
                                        kModeNames[static_cast<int>(std::get<0>(info.param))]) +
                                    kCommandNames[static_cast<int>(std::get<1>(info.param))];
                         });

TEST_F(EditTest, LostMouseEndsTheGestureWhereItStands) {
    CircuitPoint* right = AddPoint(1400, -1000);
    AddElement(ElementKind::Resistor, AddPoint(1000, -1000), right);
    CircuitPoint* lone = AddPoint(1400, -1300);
    StartFromHere();
    UseTool(Tool::Wire);
    Press({1400, -1000});
    Move({1400, -1100});
    Move({1400, -1300});
    controller.CaptureLost();
    EXPECT_FALSE(controller.capturing());
    Release({1400, -1300});
    EXPECT_EQ(At(right), At(lone)) << "moved onto the point";
    EXPECT_EQ(circuit().PointCount(), 3u) << "but the release's merge never came";
}

}  // namespace
}  // namespace kelno
