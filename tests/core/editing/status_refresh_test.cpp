#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/editing/edit_fixture.h"
#include "document/clipboard_commands.h"
#include "document/string_clipboard.h"
#include "render/draw_circuit.h"
#include "render/format_value.h"
#include "render/selection_summary.h"
#include "render/warning_marks.h"

namespace kelno::testing {
namespace {

// A ring of a bulb, a battery and a closed switch, joined by wires.
class StatusRefreshTest : public EditTest {
public:
    // For the cases of the table below.
    using EditTest::circuit;
    using EditTest::Click;
    using EditTest::doc;
    using EditTest::FileBytes;
    using EditTest::port;

    static constexpr LogicalPoint kBulb{1200, -1000};
    static constexpr LogicalPoint kSwitch{1000, -1700};

    void SetUp() override {
        CircuitPoint* a = AddPoint(1000, -1000);
        CircuitPoint* b = AddPoint(1400, -1000);
        CircuitPoint* c = AddPoint(1400, -2000);
        CircuitPoint* d = AddPoint(1000, -2000);
        CircuitPoint* e = AddPoint(1000, -1400);
        AddElement(ElementKind::Bulb, a, b);
        AddElement(ElementKind::Wire, b, c);
        AddElement(ElementKind::Battery, c, d);
        AddElement(ElementKind::Switch, d, e);
        AddElement(ElementKind::Wire, e, a);
        StartFromHere();
        UseTool(Tool::Selection);
    }

    // What the message pane must say now: the summary of the live circuit's selection.
    std::string Expected() { return SelectionSummary(circuit(), false); }
    std::string Shown() const { return port.statusTexts.empty() ? "" : port.statusTexts.back(); }

    void DoubleClickAt(LogicalPoint p) { DoubleClick(p); }
    void EditBulb(double ohms) {
        Click(kBulb);
        port.answer = DetailsValues{ohms, 0.0, 0.0};
        DoubleClick(kBulb);
    }

    StringClipboard clipboard;
};

struct RefreshCase {
    const char* name;
    std::function<void(StatusRefreshTest&)> prepare;
    std::function<void(StatusRefreshTest&)> act;
};

class StatusRefreshCaseTest : public StatusRefreshTest,
                              public ::testing::WithParamInterface<RefreshCase> {};

TEST_P(StatusRefreshCaseTest, SummaryDescribesTheCircuitAsItStandsAfterTheChange) {
    GetParam().prepare(*this);
    const std::string before = Shown();
    GetParam().act(*this);
    EXPECT_FALSE(doc.shortCircuit());
    EXPECT_EQ(Shown(), Expected());
    EXPECT_NE(Shown(), before) << "the change must show in the summary";
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StatusRefreshCaseTest,
    ::testing::Values(RefreshCase{"DetailsOk", [](auto& t) { t.Click(t.kBulb); },
                                  [](auto& t) { t.EditBulb(10.0); }},
                      RefreshCase{"Undo", [](auto& t) { t.EditBulb(10.0); },
                                  [](auto& t) { ASSERT_TRUE(t.doc.Undo()); }},
                      RefreshCase{"Redo",
                                  [](auto& t) {
                                      t.EditBulb(10.0);
                                      ASSERT_TRUE(t.doc.Undo());
                                  },
                                  [](auto& t) { ASSERT_TRUE(t.doc.Redo()); }},
                      RefreshCase{"SwitchToggle", [](auto& t) { t.Click(t.kSwitch); },
                                  [](auto& t) { t.DoubleClickAt(t.kSwitch); }},
                      RefreshCase{"Paste",
                                  [](auto& t) {
                                      t.Click(t.kBulb);
                                      ASSERT_TRUE(Copy(t.doc, t.clipboard));
                                  },
                                  [](auto& t) { ASSERT_TRUE(Paste(t.doc, t.clipboard)); }},
                      RefreshCase{"Open", [](auto& t) { t.Click(t.kBulb); },
                                  [](auto& t) {
                                      const auto bytes = t.FileBytes();
                                      ASSERT_EQ(t.doc.Load(bytes, {}).status, LoadStatus::Ok);
                                  }},
                      RefreshCase{"ShortMended",
                                  [](auto& t) {
                                      t.Click(t.kBulb);
                                      for (CircuitElement& element : t.circuit().elements()) {
                                          element.resistance = 0.0;  // the battery's too: a short
                                      }
                                      t.doc.CircuitChanged();
                                      ASSERT_TRUE(t.doc.shortCircuit());
                                      t.port.SetStatusText(
                                          kShortStatusText);  // as the drawing says
                                  },
                                  [](auto& t) { t.EditBulb(5.0); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StatusRefreshTest, FailedAnalysisLeavesThePaneToTheDrawing) {
    Click(kBulb);
    const std::size_t written = port.statusTexts.size();
    for (CircuitElement& element : circuit().elements()) {
        element.resistance = 0.0;
    }
    doc.CircuitChanged();
    ASSERT_TRUE(doc.shortCircuit());
    EXPECT_EQ(port.statusTexts.size(), written);
}

TEST_F(StatusRefreshTest, HidingTheReadingsRewritesTheSummaryAndEmptiesTheDialogsCurrent) {
    Click(kBulb);
    const CircuitElement& bulb = *circuit().selection().back();
    ASSERT_GT(bulb.current, 0.1);
    controller.SetReadingsHidden(true);
    EXPECT_EQ(Shown(), FormatElementSummaryWithoutReadings(bulb));

    DoubleClick(kBulb);
    ASSERT_EQ(port.dialogs.size(), 1u);
    EXPECT_TRUE(port.dialogs[0].currentHidden);
    EXPECT_EQ(port.dialogs[0].current, 0.0) << "the dialog is not even given the current";

    // An edit while hidden shows the new values still without readings.
    port.answer = DetailsValues{10.0, 0.0, 0.0};
    DoubleClick(kBulb);
    EXPECT_EQ(Shown(), FormatElementSummaryWithoutReadings(*circuit().selection().back()));

    controller.SetReadingsHidden(false);
    EXPECT_EQ(Shown(), FormatElementSummary(*circuit().selection().back()));
}

TEST_F(StatusRefreshTest, NothingSelectedEmptiesThePaneAfterAnAnalysis) {
    Click(kBulb);
    Click({3000, -3000});  // empty space: the rubber band ends the selection
    circuit().elements().begin()->resistance = 8.0;
    doc.CircuitChanged();
    EXPECT_EQ(Shown(), "");
}

TEST_F(EditTest, LargeCurrentAddsItsSentenceToTheSummaryWhileTheWarningIsOn) {
    CircuitPoint* a = AddPoint(1000, -1000);
    CircuitPoint* b = AddPoint(1400, -1000);
    AddElement(ElementKind::Ammeter, b, a);
    CircuitElement* battery = AddElement(ElementKind::Battery, a, b);  // the later one is hit
    StartFromHere();
    UseTool(Tool::Selection);
    const std::string sentence = LargeCurrentSentence(circuit());
    ASSERT_FALSE(sentence.empty());

    controller.SetLargeCurrentWarning(true);
    EXPECT_EQ(port.statusTexts.back(), sentence) << "nothing selected: the sentence alone";
    Click({1200, -1000});
    EXPECT_EQ(port.statusTexts.back(), FormatElementSummary(*battery) + "   " + sentence);
    controller.SetReadingsHidden(true);
    EXPECT_EQ(port.statusTexts.back(), FormatElementSummaryWithoutReadings(*battery));
    controller.SetReadingsHidden(false);
    controller.SetLargeCurrentWarning(false);
    EXPECT_EQ(port.statusTexts.back(), FormatElementSummary(*battery));
}

}  // namespace
}  // namespace kelno::testing
