#include "document/document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/circuit_builder.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// A zero-resistance battery shorted by two wires: the analysis reports "Short".
void BuildShortedBattery(Circuit& circuit) {
    CircuitBuilder b(circuit);
    b.Add(ElementKind::Battery, 0, 1, 0.0, 1.5);
    b.Add(ElementKind::Wire, 1, 2);
    b.Add(ElementKind::Wire, 2, 0);
}

// A default battery and a bulb in a ring: a solvable circuit with a current.
void BuildBulbRing(Circuit& circuit) {
    CircuitBuilder b(circuit);
    b.Add(ElementKind::Battery, 0, 1);
    b.Add(ElementKind::Wire, 1, 2);
    b.Add(ElementKind::Bulb, 2, 3);
    b.Add(ElementKind::Wire, 3, 0);
}

// An edit the way the view makes one: checkpoint, change, then the closing step.
void PlacePoint(Document& doc) {
    doc.Checkpoint();
    doc.circuit().AddPoint(0, 10, -10);
    doc.GeometryChanged();
}

std::vector<std::uint8_t> FileBytes(void (*build)(Circuit&), const KelFileContents& contents) {
    Circuit circuit;
    if (build != nullptr) {
        build(circuit);
    }
    return WriteKel(circuit, contents);
}

class DocumentTest : public ::testing::Test {
protected:
    std::int64_t now = 1000;
    Document doc{[this] { return now; }};
};

// --- Tools ---------------------------------------------------------------------------------

struct ToolStep {
    Tool tool;
    std::int64_t time;
};

struct ToolCase {
    const char* name;
    std::vector<ToolStep> choices;
    bool oneShot;
};

class DocumentToolTest : public DocumentTest, public ::testing::WithParamInterface<ToolCase> {};

TEST_P(DocumentToolTest, ComponentToolFallsBackToTheWireToolUnlessChosenTwiceWithinASecond) {
    const ToolCase& c = GetParam();
    for (const ToolStep& step : c.choices) {
        now = step.time;
        doc.ChooseTool(step.tool);
    }
    const Tool chosen = c.choices.back().tool;
    EXPECT_EQ(doc.currentTool(), chosen);
    EXPECT_EQ(doc.toolOneShot(), c.oneShot);
    doc.ToolUsed();  // the first component placed
    doc.ToolUsed();  // the second
    EXPECT_EQ(doc.currentTool(), c.oneShot ? Tool::Wire : chosen);
    EXPECT_EQ(doc.lastToolChosen(), c.oneShot ? std::nullopt : std::optional<Tool>(chosen));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, DocumentToolTest,
    ::testing::Values(
        ToolCase{"BatteryOnce", {{Tool::Battery, 1000}}, true},
        ToolCase{
            "BatteryTwiceInTheSameSecond", {{Tool::Battery, 1000}, {Tool::Battery, 1000}}, false},
        ToolCase{
            "BatteryTwiceOneSecondApart", {{Tool::Battery, 1000}, {Tool::Battery, 1001}}, false},
        ToolCase{
            "BatteryTwiceTwoSecondsApart", {{Tool::Battery, 1000}, {Tool::Battery, 1002}}, true},
        ToolCase{
            "ResistorRightAfterBattery", {{Tool::Battery, 1000}, {Tool::Resistor, 1000}}, true},
        ToolCase{"SwitchThriceQuickly",
                 {{Tool::Switch, 1000}, {Tool::Switch, 1000}, {Tool::Switch, 1001}},
                 false}),
    [](const ::testing::TestParamInfo<ToolCase>& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, ToolChosenAgainAfterFallingBackIsOneShotAgain) {
    doc.ChooseTool(Tool::Battery);
    doc.ToolUsed();
    ASSERT_EQ(doc.currentTool(), Tool::Wire);
    doc.ChooseTool(Tool::Battery);  // same second, but the fallback forgot the last choice
    EXPECT_TRUE(doc.toolOneShot());
}

TEST_F(DocumentTest, ToolChangesNeitherModifyNorTouchTheHistory) {
    doc.ChooseTool(Tool::Ammeter);
    doc.ToolUsed();
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.CanUndo());
}

// --- New document ----------------------------------------------------------------------------

TEST_F(DocumentTest, NewDocumentResetsCircuitCommentAndToolButKeepsTheOptions) {
    DocumentOptions options;
    options.undoBufferSize = 3;
    options.showCurrentFlow = false;
    options.smoothDisplay = true;
    options.noDiagonalWires = true;
    doc.SetOptions(options);
    doc.SetComment("\x83\x52\x83\x81\x83\x93\x83\x67", 1);
    doc.ChooseTool(Tool::Bulb);
    doc.Checkpoint();
    BuildShortedBattery(doc.circuit());
    doc.CircuitChanged();
    ASSERT_TRUE(doc.shortCircuit());

    doc.NewDocument();
    EXPECT_EQ(doc.options(), options);
    EXPECT_TRUE(doc.noDiagonalWires());
    EXPECT_EQ(doc.currentTool(), Tool::Selection);
    EXPECT_EQ(doc.circuit().PointCount(), 0u);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_FALSE(doc.shortCircuit());
    EXPECT_TRUE(doc.commentText().empty());
    EXPECT_EQ(doc.showCommentOnOpen(), 0);
    EXPECT_FALSE(doc.modified());
}

// --- Edits, analysis, undo and redo ------------------------------------------------------------

TEST_F(DocumentTest, CircuitChangedAnalysesMarksModifiedAndAsksForARepaint) {
    std::vector<DocumentEvent> events;
    doc.Subscribe([&](DocumentEvent e) { events.push_back(e); });
    doc.Checkpoint();
    BuildBulbRing(doc.circuit());
    doc.CircuitChanged();
    EXPECT_FALSE(doc.shortCircuit());
    EXPECT_NEAR(doc.circuit().elements().begin()->current, 1.5 / 5.1, 1e-12);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(events,
              (std::vector<DocumentEvent>{DocumentEvent::ModifiedChanged, DocumentEvent::Repaint}));
}

TEST_F(DocumentTest, UndoAndRedoAnalyseTheRestoredCircuit) {
    doc.Checkpoint();
    BuildBulbRing(doc.circuit());
    doc.CircuitChanged();
    const double ringCurrent = doc.circuit().elements().begin()->current;
    doc.Checkpoint();
    doc.circuit().RemovePoint(&*doc.circuit().points().begin());
    BuildShortedBattery(doc.circuit());
    doc.CircuitChanged();
    ASSERT_TRUE(doc.shortCircuit());

    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.shortCircuit()) << "the restored ring has no short";
    EXPECT_EQ(doc.circuit().elements().begin()->current, ringCurrent);
    ASSERT_TRUE(doc.Redo());
    EXPECT_TRUE(doc.shortCircuit());
    EXPECT_FALSE(doc.Redo());
}

// The window shows a busy cursor for exactly the time of each analysis: after an edit, an
// undo and a redo. The scope sees the old result before it lets the analysis run.
TEST_F(DocumentTest, AnalysisScopeWrapsEveryAnalysisOnce) {
    std::vector<std::pair<bool, bool>> shortBeforeAndAfter;
    doc.SetAnalysisScope([&](const std::function<void()>& analyze) {
        const bool before = doc.shortCircuit();
        analyze();
        shortBeforeAndAfter.emplace_back(before, doc.shortCircuit());
    });
    doc.Checkpoint();
    BuildShortedBattery(doc.circuit());
    doc.CircuitChanged();
    doc.Checkpoint();
    doc.circuit().AddPoint(0, 5, 5);
    doc.GeometryChanged();  // no analysis
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(shortBeforeAndAfter,
              (std::vector<std::pair<bool, bool>>{{false, true}, {true, true}, {true, false}}));
}

TEST_F(DocumentTest, UndoBufferSizeLimitsTheUndoStepsOfTheDocument) {
    for (int i = 0; i < 12; ++i) {
        PlacePoint(doc);
    }
    int undos = 0;
    while (doc.CanUndo()) {
        ASSERT_TRUE(doc.Undo());
        ++undos;
    }
    EXPECT_EQ(undos, 10);
    EXPECT_FALSE(doc.Undo());
    EXPECT_EQ(doc.circuit().PointCount(), 2u);
}

// --- The modified flag ---------------------------------------------------------------------------

TEST_F(DocumentTest, ModifiedFollowsTheCircuitBackToTheSavedState) {
    EXPECT_FALSE(doc.modified());
    PlacePoint(doc);
    EXPECT_TRUE(doc.modified());
    doc.SaveBytes(kNewDocumentWindow);
    doc.MarkSaved();  // what saving into a file does once the bytes are stored
    EXPECT_FALSE(doc.modified());

    doc.Undo();
    EXPECT_TRUE(doc.modified()) << "undo changes what the file would hold";
    doc.Redo();
    EXPECT_FALSE(doc.modified()) << "back at the saved state";

    // A change without a checkpoint of its own, like a later step of a drag.
    doc.circuit().points().begin()->x += 5;
    doc.GeometryChanged();
    EXPECT_TRUE(doc.modified());
    doc.Undo();
    EXPECT_TRUE(doc.modified());
}

TEST_F(DocumentTest, CheckpointAloneMarksModifiedForEditsThatEndWithoutAClosingStep) {
    doc.Checkpoint();
    doc.circuit().AddPoint(0, 1, 1);  // say, a wire's bend swapped or a point nudged
    EXPECT_TRUE(doc.modified());
}

TEST_F(DocumentTest, EditWithUndoBufferZeroStillMarksModified) {
    DocumentOptions options;
    options.undoBufferSize = 0;
    doc.SetOptions(options);
    doc.MarkSaved();
    PlacePoint(doc);
    EXPECT_TRUE(doc.modified());
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(DocumentTest, CommentAndOptionsStayModifiedWhateverUndoDoes) {
    PlacePoint(doc);
    doc.MarkSaved();
    doc.Undo();
    doc.SetComment(doc.commentText(), doc.showCommentOnOpen());  // OK without a change
    EXPECT_TRUE(doc.modified());
    doc.Redo();
    EXPECT_TRUE(doc.modified()) << "the comment was changed after saving";
    doc.MarkSaved();
    doc.SetOptions(doc.options());
    EXPECT_TRUE(doc.modified());
}

TEST_F(DocumentTest, ListenersHearModifiedChangesOnceAndStopWhenUnsubscribed) {
    int modifiedChanges = 0;
    int repaints = 0;
    const auto id = doc.Subscribe([&](DocumentEvent e) {
        modifiedChanges += e == DocumentEvent::ModifiedChanged;
        repaints += e == DocumentEvent::Repaint;
    });
    PlacePoint(doc);
    PlacePoint(doc);
    EXPECT_EQ(modifiedChanges, 1);
    doc.MarkSaved();
    EXPECT_EQ(modifiedChanges, 2);
    doc.SetOptions(doc.options());
    EXPECT_EQ(repaints, 3);
    doc.Unsubscribe(id);
    doc.NewDocument();
    EXPECT_EQ(modifiedChanges, 3);
    EXPECT_EQ(repaints, 3);
}

TEST_F(DocumentTest, ListenerRemovedByAnotherDuringAnEventIsNotToldAnyMore) {
    int second = 0;
    Document::ListenerId secondId = 0;
    doc.Subscribe([&](DocumentEvent) { doc.Unsubscribe(secondId); });
    secondId = doc.Subscribe([&](DocumentEvent) { ++second; });
    doc.GeometryChanged();
    EXPECT_EQ(second, 0);
}

TEST_F(DocumentTest, CommandsThatReplaceTheCircuitAnnounceItFirstAndEditsDoNot) {
    int replaced = 0;
    std::size_t elementsWhenAnnounced = 0;
    doc.Subscribe([&](DocumentEvent e) {
        if (e == DocumentEvent::CircuitReplaced) {
            ++replaced;
            elementsWhenAnnounced = doc.circuit().ElementCount();
        }
    });
    EXPECT_FALSE(doc.Undo());
    PlacePoint(doc);
    doc.Checkpoint();
    BuildBulbRing(doc.circuit());
    doc.CircuitChanged();
    EXPECT_EQ(replaced, 0) << "edits change the circuit in place";

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(elementsWhenAnnounced, 4u) << "told before the circuit goes";
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(replaced, 2);
    EXPECT_NE(doc.Load(std::vector<std::uint8_t>{1, 2, 3}, nullptr).status, LoadStatus::Ok);
    EXPECT_EQ(replaced, 2) << "a file that fails replaces nothing";
    ASSERT_EQ(doc.Load(FileBytes(BuildBulbRing, KelFileContents()), nullptr).status,
              LoadStatus::Ok);
    doc.NewDocument();
    EXPECT_EQ(replaced, 4);
}

// --- Loading -------------------------------------------------------------------------------------

KelFileContents SampleContents() {
    KelFileContents contents;
    contents.window = {10, 20, 810, 620};
    contents.commentText = "abc";
    contents.showCommentOnOpen = 1;
    contents.noDiagonalWires = true;
    contents.smoothDisplay = true;
    contents.showCurrentFlow = false;
    contents.undoBufferSize = 3;
    return contents;
}

TEST_F(DocumentTest, LoadReplacesHistoryToolOptionsAndCommentAndAnalyses) {
    for (int i = 0; i < 3; ++i) {
        PlacePoint(doc);
    }
    doc.ChooseTool(Tool::Selection);
    const KelFileContents contents = SampleContents();
    Circuit saved;
    BuildShortedBattery(saved);
    saved.Select(&*saved.elements().begin());
    const LoadResult result = doc.Load(WriteKel(saved, contents), nullptr);

    ASSERT_EQ(result.status, LoadStatus::Ok) << result.error;
    EXPECT_TRUE(result.showComment);
    EXPECT_EQ(doc.circuit().ElementCount(), 3u);
    EXPECT_TRUE(doc.circuit().selection().empty());
    EXPECT_FALSE(doc.circuit().pointSelected());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.currentTool(), Tool::Wire);
    EXPECT_TRUE(doc.shortCircuit());
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.commentText(), "abc");
    EXPECT_EQ(doc.showCommentOnOpen(), 1);
    EXPECT_EQ(doc.options(), (DocumentOptions{true, true, false, 3}));
    EXPECT_TRUE(doc.noDiagonalWires());
    EXPECT_EQ(doc.windowRect(), contents.window);
    EXPECT_EQ(doc.fileVersion(), kFormatVersion);
}

TEST_F(DocumentTest, FileWithoutOptionBlockLoadsWithTheDefaults) {
    for (const std::string comment : {"", "note"}) {
        KelFileContents contents = SampleContents();
        contents.commentText = comment;
        std::vector<std::uint8_t> bytes = FileBytes(BuildBulbRing, contents);
        bytes.resize(bytes.size() - 11);  // int32, three bytes, int32
        bytes[0] = 101;
        doc.SetNoDiagonalWires(true);
        const LoadResult result = doc.Load(bytes, nullptr);
        ASSERT_EQ(result.status, LoadStatus::Ok) << result.error;
        EXPECT_EQ(doc.options(), (DocumentOptions{false, false, true, 10}));
        EXPECT_EQ(result.showComment, !comment.empty());
        EXPECT_EQ(doc.showCommentOnOpen(), comment.empty() ? 0 : 1);
        EXPECT_EQ(doc.fileVersion(), 101);
        EXPECT_FALSE(doc.shortCircuit());
    }
}

struct BadFile {
    const char* name;
    std::size_t keepBytes;  // how much of a good file is handed over, at most
    std::size_t dropBytes;  // how much of its end is left off
    std::int32_t version;
    LoadStatus status;
};

class DocumentLoadFailureTest : public DocumentTest,
                                public ::testing::WithParamInterface<BadFile> {};

TEST_P(DocumentLoadFailureTest, LeavesTheDocumentExactlyAsItWas) {
    const BadFile& c = GetParam();
    doc.Checkpoint();
    BuildBulbRing(doc.circuit());
    doc.CircuitChanged();
    doc.SetComment("mine", 0);
    doc.ChooseTool(Tool::Selection);
    const std::vector<std::uint8_t> before = doc.SaveBytes(kNewDocumentWindow);

    std::vector<std::uint8_t> bytes = FileBytes(BuildShortedBattery, SampleContents());
    bytes[0] = static_cast<std::uint8_t>(c.version);
    bytes.resize(std::min(bytes.size(), c.keepBytes) - std::min(bytes.size(), c.dropBytes));
    const LoadResult result = doc.Load(bytes, [](std::int32_t) { return false; });

    EXPECT_EQ(result.status, c.status);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(doc.SaveBytes(kNewDocumentWindow), before);
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.currentTool(), Tool::Selection);
    EXPECT_FALSE(doc.shortCircuit());
    EXPECT_FALSE(doc.noDiagonalWires());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DocumentLoadFailureTest,
    ::testing::Values(BadFile{"Empty", 0, 0, 106, LoadStatus::Malformed},
                      BadFile{"CutInTheElements", 60, 0, 106, LoadStatus::Malformed},
                      BadFile{"CutInTheOptions", SIZE_MAX, 2, 106, LoadStatus::Malformed},
                      BadFile{"NewerVersionRefused", SIZE_MAX, 0, 107,
                              LoadStatus::NewerVersionRefused}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, NewerFileOpensWhenTheQuestionIsAnsweredYes) {
    std::vector<std::uint8_t> bytes = FileBytes(BuildBulbRing, SampleContents());
    bytes[0] = 107;
    std::int32_t asked = 0;
    const LoadResult result = doc.Load(bytes, [&](std::int32_t version) {
        asked = version;
        return true;
    });
    EXPECT_EQ(result.status, LoadStatus::Ok);
    EXPECT_EQ(asked, 107);
    EXPECT_EQ(doc.circuit().ElementCount(), 4u);
}

TEST_F(DocumentTest, NegativeUndoBufferSizeFromAFileKeepsNoUndoAndLosesNothing) {
    KelFileContents contents = SampleContents();
    contents.undoBufferSize = -3;
    ASSERT_EQ(doc.Load(FileBytes(BuildBulbRing, contents), nullptr).status, LoadStatus::Ok);
    EXPECT_EQ(doc.undoBufferSize(), -3);
    PlacePoint(doc);
    PlacePoint(doc);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.circuit().PointCount(), 6u);
    EXPECT_EQ(doc.circuit().ElementCount(), 4u);
}

}  // namespace
}  // namespace kelno
