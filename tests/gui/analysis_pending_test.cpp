#include <gtest/gtest.h>

#include <QTest>
#include <chrono>
#include <vector>

#include "gui/window_fixture.h"
#include "io/file_bytes.h"
#include "support/circuit_generators.h"

namespace kelno {
namespace {

using namespace std::chrono_literals;
using testing::WindowTest;

// A circuit taken in as one change, which the window does not wait for.
void TakeInWithoutWaiting(CKelnoDoc& doc, Circuit circuit) {
    doc.SetAnalysisWait(0ms);
    doc.core().Checkpoint();
    doc.core().circuit() = std::move(circuit);
    doc.core().CircuitChanged();
}

TEST_F(WindowTest, ALongAnalysisVeilsTheReadingsUntilAChangeSupersedesIt) {
    frame().SetMessageText(QStringLiteral("before"));
    TakeInWithoutWaiting(doc(), testing::ResistorGrid(100, 100));
    EXPECT_TRUE(core().analysisPending());
    QTRY_VERIFY_WITH_TIMEOUT(doc().readingsPending(), 5000);
    EXPECT_EQ(frame().messageText(), QString::fromUtf8(CMainFrame::kPendingMessage));
    frame().SetMessageText(QStringLiteral("meanwhile"));
    EXPECT_EQ(frame().messageText(), QString::fromUtf8(CMainFrame::kPendingMessage));

    doc().Undo();  // back to the empty circuit: the grid's analysis is cancelled
    QTRY_VERIFY_WITH_TIMEOUT(!doc().readingsPending(), 5000);
    EXPECT_FALSE(core().analysisPending());
    // The texts sent meanwhile were held; the summary of the circuit now shown comes last.
    EXPECT_NE(frame().messageText(), QString::fromUtf8(CMainFrame::kPendingMessage));
    EXPECT_NE(frame().messageText(), QStringLiteral("before"));
}

TEST_F(WindowTest, ASaveStoresTheCurrentsOfTheCircuitItSaves) {
    TakeInWithoutWaiting(doc(), testing::ResistorGrid(30, 30));
    Circuit expected = core().circuit();
    ASSERT_TRUE(Analyze(expected));
    ASSERT_TRUE(doc().SaveTo(Path("grid.kel")));
    EXPECT_FALSE(core().analysisPending());

    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(ReadFileBytes(Path("grid.kel").toStdString(), bytes, error)) << error;
    const KelReadResult saved = ReadKel(bytes, [](std::int32_t) { return true; });
    ASSERT_EQ(saved.status, KelReadStatus::Ok);
    ASSERT_EQ(saved.circuit.ElementCount(), expected.ElementCount());
    auto want = expected.elements().begin();
    for (const CircuitElement& element : saved.circuit.elements()) {
        ASSERT_EQ(element.current, (want++)->current);
    }
}

}  // namespace
}  // namespace kelno
