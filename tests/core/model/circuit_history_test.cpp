#include "model/circuit_history.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>

namespace kelno {
namespace {

// One edit as the editor makes it: a checkpoint, then a change of the live circuit. The
// number of points tells the states apart.
void Edit(CircuitHistory& history, std::int32_t limit) {
    history.Checkpoint(limit);
    history.Current().AddPoint(0, static_cast<std::int32_t>(history.Current().PointCount()), 0);
}

int UndoAll(CircuitHistory& history) {
    int undos = 0;
    while (history.Undo()) {
        ++undos;
    }
    return undos;
}

TEST(CircuitHistoryTest, NewHistoryHasOneEmptyLiveCircuitAndNothingToUndoOrRedo) {
    CircuitHistory history;
    EXPECT_EQ(history.Current().PointCount(), 0u);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Undo());
    EXPECT_FALSE(history.Redo());
}

struct LimitCase {
    const char* name;
    std::int32_t limit;
    int edits;
    int expectedUndos;
};

class CircuitHistoryLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(CircuitHistoryLimitTest, KeepsAtMostLimitUndoStates) {
    const LimitCase& c = GetParam();
    CircuitHistory history;
    for (int i = 0; i < c.edits; ++i) {
        Edit(history, c.limit);
    }
    EXPECT_EQ(history.UndoCount(), static_cast<std::size_t>(c.expectedUndos));
    EXPECT_EQ(UndoAll(history), c.expectedUndos);
    EXPECT_FALSE(history.CanUndo());
    // The oldest state kept is the one `expectedUndos` edits before the last.
    EXPECT_EQ(history.Current().PointCount(), static_cast<std::size_t>(c.edits - c.expectedUndos));
    EXPECT_EQ(history.RedoCount(), static_cast<std::size_t>(c.expectedUndos));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CircuitHistoryLimitTest,
    ::testing::Values(
        LimitCase{"TenAfterTwelveEdits", 10, 12, 10}, LimitCase{"TenAfterThreeEdits", 10, 3, 3},
        LimitCase{"OneKeepsOne", 1, 5, 1}, LimitCase{"ZeroKeepsNone", 0, 5, 0},
        LimitCase{"NegativeBehavesAsZero", -1, 5, 0},
        LimitCase{"MostNegativeBehavesAsZero", std::numeric_limits<std::int32_t>::min(), 3, 0},
        LimitCase{"LargestKeepsEverything", std::numeric_limits<std::int32_t>::max(), 4, 4}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

TEST(CircuitHistoryTest, LiveCircuitStaysTheSameObjectWhateverTheLimit) {
    for (const std::int32_t limit : {10, 1, 0, -5}) {
        CircuitHistory history;
        Circuit* live = &history.Current();
        CircuitPoint* point = live->AddPoint(0, 7, 8);
        for (int i = 0; i < 4; ++i) {
            Edit(history, limit);
        }
        EXPECT_EQ(&history.Current(), live) << "limit " << limit;
        EXPECT_EQ(point->x, 7) << "a handle into the live circuit stays valid";
        EXPECT_EQ(live->PointCount(), 5u);
    }
}

TEST(CircuitHistoryTest, LoweringTheLimitTrimsAtTheNextCheckpoint) {
    CircuitHistory history;
    for (int i = 0; i < 10; ++i) {
        Edit(history, 10);
    }
    EXPECT_EQ(history.UndoCount(), 10u);
    Edit(history, 2);
    EXPECT_EQ(history.UndoCount(), 2u);
    EXPECT_EQ(history.Current().PointCount(), 11u);
    EXPECT_EQ(UndoAll(history), 2);
    EXPECT_EQ(history.Current().PointCount(), 9u);
}

TEST(CircuitHistoryTest, NewEditAfterUndoDropsTheRedoStates) {
    CircuitHistory history;
    Edit(history, 10);
    Edit(history, 10);
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.CanRedo());
    history.Checkpoint(10);
    history.Current().AddPoint(0, 99, 99);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Redo());
    // Back through the new line of states: the undone state with two points is gone.
    std::set<std::size_t> seen;
    do {
        seen.insert(history.Current().PointCount());
    } while (history.Undo());
    EXPECT_EQ(seen, (std::set<std::size_t>{0, 1, 2}));
    EXPECT_EQ(history.Current().PointCount(), 0u);
    ASSERT_TRUE(history.Redo());
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(history.Current().points().begin()->x, 0);
    EXPECT_EQ(std::next(history.Current().points().begin())->x, 99);
}

TEST(CircuitHistoryTest, UndoAndRedoBringBackSelectionAndSelectedPoint) {
    CircuitHistory history;
    Circuit& live = history.Current();
    CircuitPoint* a = live.AddPoint(0, 0, 0);
    CircuitPoint* b = live.AddPoint(0, 400, 0);
    CircuitElement* battery = live.AddElement(DefaultRecord(ElementKind::Battery), a, b).element;
    live.Select(battery);

    history.Checkpoint(10);
    live.ClearSelection();
    live.SelectPoint(b);
    live.RemoveElement(battery);

    ASSERT_TRUE(history.Undo());
    const Circuit& before = history.Current();
    ASSERT_EQ(before.ElementCount(), 1u);
    ASSERT_EQ(before.selection().size(), 1u);
    EXPECT_EQ(before.selection().front(), &*before.elements().begin());
    EXPECT_FALSE(before.pointSelected());

    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(&history.Current(), &live);
    EXPECT_TRUE(live.pointSelected());
    EXPECT_EQ(live.selectedPoint(), b);
    EXPECT_TRUE(live.selection().empty());
}

TEST(CircuitHistoryTest, StateNumbersTellSavedStatesApart) {
    CircuitHistory history;
    const std::uint64_t empty = history.CurrentState();
    Edit(history, 10);
    const std::uint64_t first = history.CurrentState();
    EXPECT_NE(first, empty);
    history.Undo();
    EXPECT_EQ(history.CurrentState(), empty);
    history.Redo();
    EXPECT_EQ(history.CurrentState(), first);
    history.MarkCurrentChanged();
    EXPECT_NE(history.CurrentState(), first);
    const std::uint64_t marked = history.CurrentState();
    history.Reset();
    EXPECT_NE(history.CurrentState(), marked);
    EXPECT_NE(history.CurrentState(), empty);
}

TEST(CircuitHistoryTest, ResetWithACircuitMakesItTheOnlyState) {
    CircuitHistory history;
    Edit(history, 10);
    Edit(history, 10);
    history.Undo();
    Circuit loaded;
    loaded.AddPoint(0, 1, 2);
    history.Reset(std::move(loaded));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Current().PointCount(), 1u);
    history.Reset();
    EXPECT_EQ(history.Current().PointCount(), 0u);
}

}  // namespace
}  // namespace kelno
