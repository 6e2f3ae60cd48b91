#include "document/clipboard_commands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/circuit_builder.h"
#include "document/string_clipboard.h"
#include "io/clipboard_text.h"
#include "numeric/bit_cast.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

constexpr const char* kResistorCopy =
    "KelnoData\r\n2 1\r\n150 -250\r\n550 -250\r\n1 2 2 100 0 0\r\n";

// A clipboard that cannot be written to, to see that nothing writes to it.
class ReadOnlyClipboard : public ClipboardPort {
public:
    explicit ReadOnlyClipboard(std::optional<std::string> text) : text_(std::move(text)) {}
    std::optional<std::string> ReadText() const override { return text_; }
    void WriteText(const std::string&) override { ++writes; }
    int writes = 0;

private:
    std::optional<std::string> text_;
};

class ClipboardCommandsTest : public ::testing::Test {
protected:
    // A resistor between (100, -200) and (500, -200), added as one edit.
    CircuitElement* AddResistor() {
        doc.Checkpoint();
        Circuit& c = doc.circuit();
        CircuitPoint* a = c.AddPoint(0, 100, -200);
        CircuitPoint* b = c.AddPoint(0, 500, -200);
        CircuitElement* resistor = c.AddElement(DefaultRecord(ElementKind::Resistor), a, b).element;
        doc.CircuitChanged();
        return resistor;
    }

    Document doc;
    StringClipboard clipboard;
};

// --- Copy ------------------------------------------------------------------------------------

TEST_F(ClipboardCommandsTest, CopyPutsTheSelectionMovedByFiftyAndChangesNothing) {
    doc.circuit().Select(AddResistor());
    doc.MarkSaved();
    const std::size_t undos = doc.history().UndoCount();
    ASSERT_TRUE(CanCopy(doc));
    ASSERT_TRUE(Copy(doc, clipboard));
    EXPECT_EQ(clipboard.ReadText(), kResistorCopy);
    EXPECT_EQ(doc.history().UndoCount(), undos);
    EXPECT_FALSE(doc.modified());
}

TEST_F(ClipboardCommandsTest, CopyWithoutSelectedElementsOrWithASelectedPointLeavesTheClipboard) {
    CircuitElement* resistor = AddResistor();
    ReadOnlyClipboard untouched(std::string("previous"));
    EXPECT_FALSE(CanCopy(doc));
    EXPECT_FALSE(Copy(doc, untouched));
    doc.circuit().Select(resistor);
    doc.circuit().SelectPoint(resistor->end1());
    EXPECT_FALSE(CanCopy(doc));
    EXPECT_FALSE(Copy(doc, untouched));
    EXPECT_EQ(untouched.writes, 0);
}

// --- Cut of elements
// --------------------------------------------------------------------------------

TEST_F(ClipboardCommandsTest, CutWritesTheSelectionUnmovedAndRemovesItWithItsUnusedPoints) {
    doc.circuit().Select(AddResistor());
    doc.MarkSaved();
    ASSERT_TRUE(CanCut(doc));
    ASSERT_TRUE(Cut(doc, clipboard));
    EXPECT_EQ(clipboard.ReadText(),
              "KelnoData\r\n2 1\r\n100 -200\r\n500 -200\r\n1 2 2 100 0 0\r\n");
    EXPECT_EQ(doc.circuit().ElementCount(), 0u);
    EXPECT_EQ(doc.circuit().PointCount(), 0u);
    EXPECT_TRUE(doc.circuit().selection().empty());
    EXPECT_TRUE(doc.modified()) << "cut removes work that must not be dropped silently";
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.circuit().ElementCount(), 1u);
    EXPECT_EQ(doc.circuit().selection().size(), 1u);
    EXPECT_FALSE(doc.modified());
}

TEST_F(ClipboardCommandsTest, CutKeepsPointsThatOtherElementsStillUse) {
    doc.Checkpoint();
    CircuitBuilder b(doc.circuit());
    CircuitElement* battery = b.Add(ElementKind::Battery, 0, 1, 0.0, 1.5);
    b.Add(ElementKind::Wire, 1, 2);
    CircuitElement* shorting = b.Add(ElementKind::Wire, 2, 0);
    // A voltmeter across the battery without a link of its own.
    CircuitElement* meter = b.Add(ElementKind::Voltmeter, 1, 0);
    ASSERT_FALSE(meter->linked());
    doc.CircuitChanged();
    ASSERT_TRUE(doc.shortCircuit());
    const std::size_t undos = doc.history().UndoCount();

    doc.circuit().Select(shorting);
    doc.circuit().Select(battery);
    ASSERT_TRUE(Cut(doc, clipboard));
    EXPECT_EQ(doc.history().UndoCount(), undos + 1) << "one undo state for the whole cut";
    EXPECT_FALSE(doc.shortCircuit()) << "the cut circuit is analysed again";
    // Points 0 and 1 stay for the meter and the remaining wire, point 2 for the wire.
    EXPECT_EQ(doc.circuit().PointCount(), 3u);
    ASSERT_EQ(doc.circuit().ElementCount(), 2u);
    const CircuitElement& wire = *doc.circuit().elements().begin();
    EXPECT_EQ(wire.kind, ElementKind::Wire);
    EXPECT_EQ(wire.end1(), b.Point(1));
    EXPECT_EQ(wire.end2(), b.Point(2));
}

// --- Cut at a junction point ---------------------------------------------------------------------

struct JunctionCase {
    const char* name;
    ElementKind first;   // joins point 0 to the junction, point 1
    ElementKind second;  // joins the junction to point 2
    bool cut;
    ElementKind left;  // the kind of the element that remains between 0 and 2
};

class JunctionCutTest : public ClipboardCommandsTest,
                        public ::testing::WithParamInterface<JunctionCase> {};

TEST_P(JunctionCutTest, RemovesThePointAndTheWireOrNothing) {
    const JunctionCase& c = GetParam();
    doc.Checkpoint();
    CircuitBuilder b(doc.circuit());
    b.Add(c.first, 0, 1);
    b.Add(c.second, 1, 2);
    doc.CircuitChanged();
    doc.circuit().SelectPoint(b.Point(1));
    doc.MarkSaved();
    const std::size_t undos = doc.history().UndoCount();
    ReadOnlyClipboard untouched(std::string("previous"));

    EXPECT_EQ(CanCut(doc), c.cut);
    EXPECT_EQ(Cut(doc, untouched), c.cut);
    EXPECT_EQ(untouched.writes, 0) << "a selected point is never copied";
    if (!c.cut) {
        EXPECT_EQ(doc.circuit().PointCount(), 3u);
        EXPECT_EQ(doc.circuit().ElementCount(), 2u);
        EXPECT_EQ(doc.history().UndoCount(), undos);
        EXPECT_FALSE(doc.modified());
        return;
    }
    const Circuit& circuit = doc.circuit();
    ASSERT_EQ(circuit.PointCount(), 2u);
    ASSERT_EQ(circuit.ElementCount(), 1u);
    const CircuitElement& left = *circuit.elements().begin();
    EXPECT_EQ(left.kind, c.left);
    EXPECT_TRUE(left.linked());
    EXPECT_EQ(left.end1()->x, 0);
    EXPECT_EQ(left.end2()->x, 200);
    EXPECT_FALSE(circuit.pointSelected());
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.history().UndoCount(), undos + 1);

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.circuit().PointCount(), 3u);
    EXPECT_EQ(doc.circuit().ElementCount(), 2u);
    EXPECT_TRUE(doc.circuit().pointSelected());
}

INSTANTIATE_TEST_SUITE_P(
    Junctions, JunctionCutTest,
    ::testing::Values(JunctionCase{"WireThenBattery", ElementKind::Wire, ElementKind::Battery, true,
                                   ElementKind::Battery},
                      JunctionCase{"BatteryThenWire", ElementKind::Battery, ElementKind::Wire, true,
                                   ElementKind::Battery},
                      JunctionCase{"VerticalFirstWireThenBulb", ElementKind::WireVerticalFirst,
                                   ElementKind::Bulb, true, ElementKind::Bulb},
                      // Of two wires the one of the first link goes; the other stays with its kind.
                      JunctionCase{"TwoWires", ElementKind::Wire, ElementKind::WireVerticalFirst,
                                   true, ElementKind::WireVerticalFirst},
                      JunctionCase{"TwoBatteries", ElementKind::Battery, ElementKind::Battery,
                                   false, ElementKind::Battery},
                      JunctionCase{"ResistorAndSwitch", ElementKind::Resistor, ElementKind::Switch,
                                   false, ElementKind::Resistor}),
    [](const ::testing::TestParamInfo<JunctionCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(ClipboardCommandsTest, JunctionCutIsRefusedWhereItWouldLoseOrUnlinkAnElement) {
    struct Refusal {
        const char* name;
        void (*build)(CircuitBuilder&);
    };
    const Refusal refusals[] = {
        {"point of degree 3",
         [](CircuitBuilder& b) {
             b.Add(ElementKind::Wire, 0, 1);
             b.Add(ElementKind::Battery, 1, 2);
             b.Add(ElementKind::Wire, 1, 3);
         }},
        {"point of degree 1", [](CircuitBuilder& b) { b.Add(ElementKind::Wire, 0, 1); }},
        {"far ends joined by a third element",
         [](CircuitBuilder& b) {
             b.Add(ElementKind::Wire, 0, 1);
             b.Add(ElementKind::Battery, 1, 2);
             b.Add(ElementKind::Bulb, 0, 2);
         }},
        {"an element without a link at the point",
         [](CircuitBuilder& b) {
             b.Add(ElementKind::Wire, 0, 1);
             b.Add(ElementKind::Battery, 1, 2);
             b.Add(ElementKind::Voltmeter, 2, 1);
         }},
    };
    for (const Refusal& refusal : refusals) {
        doc.NewDocument();
        doc.Checkpoint();
        CircuitBuilder b(doc.circuit());
        refusal.build(b);
        doc.CircuitChanged();
        doc.circuit().SelectPoint(b.Point(1));
        const std::size_t points = doc.circuit().PointCount();
        const std::size_t elements = doc.circuit().ElementCount();
        const std::size_t undos = doc.history().UndoCount();
        EXPECT_FALSE(CanCut(doc)) << refusal.name;
        EXPECT_FALSE(Cut(doc, clipboard)) << refusal.name;
        EXPECT_EQ(doc.circuit().PointCount(), points) << refusal.name;
        EXPECT_EQ(doc.circuit().ElementCount(), elements) << refusal.name;
        EXPECT_EQ(doc.history().UndoCount(), undos) << refusal.name;
    }
}

// --- Paste -----------------------------------------------------------------------------------

TEST_F(ClipboardCommandsTest, CutAndPasteAnnounceThatTheyChangeTheCircuitCopyDoesNot) {
    int replaced = 0;
    doc.Subscribe([&](DocumentEvent e) { replaced += e == DocumentEvent::CircuitReplaced; });
    CircuitElement* resistor = AddResistor();
    EXPECT_FALSE(Cut(doc, clipboard)) << "nothing selected";
    doc.circuit().Select(resistor);
    ASSERT_TRUE(Copy(doc, clipboard));
    EXPECT_EQ(replaced, 0);
    ASSERT_TRUE(Cut(doc, clipboard));
    EXPECT_EQ(replaced, 1);
    ASSERT_TRUE(Paste(doc, clipboard));
    EXPECT_EQ(replaced, 2);
    clipboard.WriteText("KelnoData 1");
    EXPECT_FALSE(Paste(doc, clipboard));
    EXPECT_EQ(replaced, 2) << "text that cannot be read changes nothing";
}

TEST_F(ClipboardCommandsTest, PasteAddsSelectsAndPutsTheNextCopyFiftyFurther) {
    clipboard.WriteText(kResistorCopy);
    ASSERT_TRUE(CanPaste(clipboard));
    ASSERT_TRUE(Paste(doc, clipboard));
    EXPECT_EQ(clipboard.ReadText(),
              "KelnoData\r\n2 1\r\n200 -300\r\n600 -300\r\n1 2 2 100 0 0\r\n");
    ASSERT_TRUE(Paste(doc, clipboard));

    const Circuit& c = doc.circuit();
    ASSERT_EQ(c.PointCount(), 4u);
    std::vector<std::pair<int, int>> positions;
    for (const CircuitPoint& p : c.points()) {
        positions.emplace_back(p.x, p.y);
    }
    EXPECT_EQ(positions, (std::vector<std::pair<int, int>>{
                             {150, -250}, {550, -250}, {200, -300}, {600, -300}}));
    ASSERT_EQ(c.selection().size(), 1u);
    EXPECT_EQ(c.selection().front(), &*std::next(c.elements().begin()));
    EXPECT_EQ(c.selection().front()->resistance, 100.0);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.history().UndoCount(), 2u);
}

TEST_F(ClipboardCommandsTest, PastedPointsNeverJoinTheExistingCircuit) {
    CircuitElement* resistor = AddResistor();
    doc.circuit().Select(resistor);
    Copy(doc, clipboard, 0);  // the copy lies exactly on the original
    ASSERT_TRUE(Paste(doc, clipboard));
    EXPECT_EQ(doc.circuit().PointCount(), 4u);
    for (const CircuitPoint& p : doc.circuit().points()) {
        EXPECT_EQ(p.Degree(), 1u);
    }
}

TEST_F(ClipboardCommandsTest, UndoAfterPasteBringsBackTheFormerSelectionAndKeepsTheClipboard) {
    CircuitElement* resistor = AddResistor();
    doc.circuit().Select(resistor);
    ASSERT_TRUE(Copy(doc, clipboard));
    ASSERT_TRUE(Paste(doc, clipboard));
    const std::optional<std::string> afterPaste = clipboard.ReadText();
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.circuit().ElementCount(), 1u);
    ASSERT_EQ(doc.circuit().selection().size(), 1u);
    // The restored state is the copy kept before the paste, with its own handles.
    EXPECT_EQ(doc.circuit().selection().front(), &*doc.circuit().elements().begin());
    EXPECT_EQ(clipboard.ReadText(), afterPaste);
}

TEST_F(ClipboardCommandsTest, PasteClearsASelectedPoint) {
    CircuitElement* resistor = AddResistor();
    doc.circuit().SelectPoint(resistor->end1());
    clipboard.WriteText(kResistorCopy);
    ASSERT_TRUE(Paste(doc, clipboard));
    EXPECT_FALSE(doc.circuit().pointSelected());
    EXPECT_EQ(doc.circuit().selection().size(), 1u);
}

TEST_F(ClipboardCommandsTest, PasteIsOfferedOnlyForTextOfTheProgram) {
    const std::pair<std::optional<std::string>, bool> cases[] = {
        {std::string(kResistorCopy), true},
        {std::string("\r\n KelnoData 0 0"), true},
        {std::string("KelnoDataX 0 0"), false},
        {std::string("KelnoData2 1\r\n"), false},
        {std::string("some text"), false},
        {std::string(), false},
        {std::nullopt, false},
    };
    for (const auto& [text, offered] : cases) {
        ReadOnlyClipboard board(text);
        EXPECT_EQ(CanPaste(board), offered) << text.value_or("(no text)");
        if (!offered) {
            EXPECT_FALSE(Paste(doc, board));
            EXPECT_EQ(doc.circuit().PointCount(), 0u);
            EXPECT_FALSE(doc.CanUndo());
        }
    }
}

TEST_F(ClipboardCommandsTest, MalformedTextChangesNothingAtAll) {
    CircuitElement* resistor = AddResistor();
    doc.circuit().Select(resistor);
    doc.MarkSaved();
    const std::size_t undos = doc.history().UndoCount();
    const char* texts[] = {
        "KelnoData 2 1 0 0 1 1 1 2 2 100 0",        // a value missing
        "KelnoData 2 1 0 0 1 1 1 3 2 100 0 0",      // no point 3
        "KelnoData 3 1 0 0 1 1",                    // a point missing
        "KelnoData -2 0",                           // a negative count
        "KelnoData 2 1 0 0 1 1 1 2 2 inf 0 0",      // not a finite value
        "KelnoData 2 2 0 0 1 1 1 2 2 1 0 0 2 1 0",  // the second element incomplete
    };
    for (const char* text : texts) {
        ReadOnlyClipboard board{std::string(text)};
        std::string error;
        EXPECT_TRUE(CanPaste(board)) << text;
        EXPECT_FALSE(Paste(doc, board, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(board.writes, 0) << text;
        EXPECT_EQ(doc.circuit().PointCount(), 2u) << text;
        EXPECT_EQ(doc.circuit().ElementCount(), 1u) << text;
        EXPECT_EQ(doc.circuit().selection().size(), 1u) << text;
        EXPECT_EQ(doc.history().UndoCount(), undos) << text;
        EXPECT_FALSE(doc.modified()) << text;
    }
}

// --- Round trip through the text -----------------------------------------------------------------

bool SameBits(double a, double b) {
    return BitCast<std::uint64_t>(a) == BitCast<std::uint64_t>(b);
}

TEST_F(ClipboardCommandsTest, WholeCircuitTextPastedIntoANewDocumentGivesTheSameFile) {
    doc.Checkpoint();
    CircuitBuilder b(doc.circuit());
    b.Add(ElementKind::Battery, 0, 1, 0.1 + 0.2, 1.0 / 3.0);
    b.Add(ElementKind::Wire, 1, 2);
    b.Add(ElementKind::Resistor, 2, 3, 1234567.0);
    b.Add(ElementKind::WireVerticalFirst, 3, 0);
    b.Add(ElementKind::Voltmeter, 1, 0, 98765.4321);  // no link of its own
    b.Add(ElementKind::Switch, 3, 4, 1.0);
    b.Point(5);  // a point on its own
    doc.CircuitChanged();
    const std::vector<std::uint8_t> original = doc.SaveBytes(kNewDocumentWindow);

    StringClipboard text(WriteClipboardText(WholeCircuitClipboardData(doc.circuit())));
    Document copy;
    ASSERT_TRUE(Paste(copy, text));
    EXPECT_EQ(copy.SaveBytes(kNewDocumentWindow), original);
    auto it = doc.circuit().elements().begin();
    for (const CircuitElement& e : copy.circuit().elements()) {
        EXPECT_TRUE(SameBits(e.resistance, it->resistance));
        EXPECT_TRUE(SameBits(e.current, it->current));
        EXPECT_TRUE(SameBits(e.emf, it->emf));
        ++it;
    }
}

}  // namespace
}  // namespace kelno

namespace kelno {
namespace {

// A clipboard holding a large text, that tells how it was read.
class LargeClipboard : public ClipboardPort {
public:
    explicit LargeClipboard(std::string text) : text_(std::move(text)) {}
    std::optional<std::string> ReadText() const override {
        ++wholeReads;
        return text_;
    }
    std::optional<std::string> ReadStart(std::size_t bytes) const override {
        largestStart = std::max(largestStart, bytes);
        return text_.substr(0, bytes);
    }
    void WriteText(const std::string&) override {}

    mutable int wholeReads = 0;
    mutable std::size_t largestStart = 0;

private:
    std::string text_;
};

// Whether Paste is offered is asked at every change of the clipboard: the start of the text
// decides, and only Paste reads it whole.
TEST(ClipboardPasteStateTest, DecidedFromTheStartOfTheTextOnly) {
    const std::string junk(1 << 20, 'x');
    const struct {
        std::string text;
        bool circuit;
    } cases[] = {
        {"KelnoData\r\n0 0\r\n" + junk, true},
        {"  \r\nKelnoData 0 0", true},
        {"Kelno" + junk, false},
        {std::string(8192, ' ') + "KelnoData 0 0", false},  // beyond the look: not offered
    };
    for (const auto& c : cases) {
        const LargeClipboard clipboard(c.text);
        EXPECT_EQ(CanPaste(clipboard), c.circuit) << c.text.substr(0, 20);
        EXPECT_EQ(clipboard.wholeReads, 0);
        EXPECT_LE(clipboard.largestStart, 4096u);
    }
}

}  // namespace
}  // namespace kelno
