#include "document/scoped_edit.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/circuit_builder.h"

namespace kelno {
namespace {

using testing::CircuitBuilder;

// A battery and a bulb in a ring, saved, with one undone edit that can be redone.
class ScopedEditTest : public ::testing::Test {
protected:
    ScopedEditTest() {
        CircuitBuilder b(doc.circuit());
        b.Add(ElementKind::Battery, 0, 1);
        b.Add(ElementKind::Bulb, 1, 0);
        doc.CircuitChanged();
        doc.Checkpoint();
        doc.circuit().points().begin()->x += 50;
        doc.GeometryChanged();
        doc.Undo();
        doc.MarkSaved();
        doc.Subscribe([this](DocumentEvent event) { events.push_back(event); });
    }

    CircuitElement& bulb() { return *std::next(doc.circuit().elements().begin()); }
    std::size_t undos() const { return doc.history().UndoCount(); }
    std::size_t redos() const { return doc.history().RedoCount(); }

    Document doc;
    std::vector<DocumentEvent> events;
};

TEST_F(ScopedEditTest, CommitAnalysesAChangedCircuitAndTellsOnce) {
    const std::uint64_t generation = doc.analysisGeneration();
    {
        ScopedEdit edit(doc);
        bulb().resistance = 1.4;
        edit.Changed(EditChange::Geometry);
        edit.Changed(EditChange::Circuit);
        edit.Changed(EditChange::Geometry);  // the largest change counts
        EXPECT_TRUE(events.empty()) << "nobody is told before the commit";
        edit.Commit();
    }
    EXPECT_EQ(doc.analysisGeneration(), generation + 1);
    EXPECT_DOUBLE_EQ(bulb().current, 1.5 / 1.5);
    EXPECT_EQ(events, (std::vector{DocumentEvent::Repaint, DocumentEvent::ModifiedChanged}));
    EXPECT_EQ(undos(), 1u);
    EXPECT_EQ(redos(), 0u);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(bulb().resistance, DefaultRecord(ElementKind::Bulb).resistance);
}

TEST_F(ScopedEditTest, GeometryCommitDoesNotAnalyse) {
    const std::uint64_t generation = doc.analysisGeneration();
    ScopedEdit edit(doc);
    doc.circuit().points().begin()->y -= 100;
    edit.Commit(EditChange::Geometry);
    EXPECT_EQ(doc.analysisGeneration(), generation);
    EXPECT_EQ(events, (std::vector{DocumentEvent::Repaint, DocumentEvent::ModifiedChanged}));
    EXPECT_TRUE(doc.modified());
}

TEST_F(ScopedEditTest, EditsThatChangeNothingOrEndUncommittedLeaveNoTrace) {
    const Circuit* live = &doc.circuit();
    {
        ScopedEdit edit(doc);
        edit.Commit();  // nothing changed
    }
    EXPECT_EQ(&doc.circuit(), live) << "an unchanged circuit stays the same object";
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(undos(), 0u);
    EXPECT_EQ(redos(), 1u);
    {
        ScopedEdit edit(doc);
        bulb().resistance = 99.0;
        doc.circuit().RemovePoint(&*doc.circuit().points().begin());
    }  // an early end: no commit
    EXPECT_EQ(doc.circuit().PointCount(), 2u);
    EXPECT_EQ(bulb().resistance, DefaultRecord(ElementKind::Bulb).resistance);
    EXPECT_EQ(events, (std::vector{DocumentEvent::CircuitReplaced, DocumentEvent::Repaint}));
    EXPECT_EQ(undos(), 0u);
    EXPECT_EQ(redos(), 1u) << "the redo state is kept";
    EXPECT_FALSE(doc.modified());
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.circuit().points().begin()->x, 50);
}

}  // namespace
}  // namespace kelno
