#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

#include "analysis/analysis_worker.h"
#include "document/clipboard_commands.h"
#include "document/document.h"
#include "document/string_clipboard.h"
#include "support/circuit_generators.h"

namespace kelno {
namespace {

using namespace std::chrono_literals;

std::vector<double> CurrentsOf(const Circuit& circuit) {
    std::vector<double> currents;
    for (const CircuitElement& element : circuit.elements()) {
        currents.push_back(element.current);
    }
    return currents;
}

// The document as the editor's window holds it: every analysis goes to a worker thread, and
// its results are taken on this thread whenever the test looks, between edits.
class AnalysisInBackgroundTest : public ::testing::Test {
protected:
    AnalysisInBackgroundTest() {
        doc.SetAnalysisDeferred(true);
        doc.Subscribe([this](DocumentEvent event) {
            if (event == DocumentEvent::AnalysisRequested) {
                worker.Start(doc.analysisGeneration(), doc.circuit());
            }
        });
    }

    void TakeResults() {
        while (std::optional<AnalysisWorker::Result> result = worker.TakeResult()) {
            applied += doc.ApplyAnalysis(result->generation, result->currents,
                                         std::move(result->report));
        }
    }

    void Settle() {
        for (int tries = 0; doc.analysisPending() && tries < 600; ++tries) {
            worker.WaitFor(doc.analysisGeneration(), 1s);
            TakeResults();
        }
        ASSERT_FALSE(doc.analysisPending());
    }

    // The currents the analysis here gives the live circuit.
    std::vector<double> AnalysedHere() const {
        Circuit copy = doc.circuit();
        Analyze(copy);
        return CurrentsOf(copy);
    }

    Document doc;
    int applied = 0;
    std::atomic<int> ready{0};
    AnalysisWorker worker{[this] { ready.fetch_add(1); }};  // last: stops before the rest goes
};

// Edits, undo, redo and paste while earlier analyses still run: only the result of the last
// circuit is applied, and it is exactly the analysis here.
TEST_F(AnalysisInBackgroundTest, EditsUndoAndPasteDuringAnalysesEndWithTheLastCircuitsReadings) {
    doc.Checkpoint();
    doc.circuit() = testing::ResistorGrid(24, 24);
    doc.CircuitChanged();
    StringClipboard clipboard;
    for (int round = 0; round < 6; ++round) {
        doc.Checkpoint();
        CircuitElement& first = *doc.circuit().elements().begin();
        first.resistance += 1.0;
        doc.circuit().Select(&first);
        doc.CircuitChanged();
        ASSERT_TRUE(Copy(doc, clipboard));
        std::string error;
        ASSERT_TRUE(Paste(doc, clipboard, &error)) << error;
        doc.Undo();
        if (round % 2 == 0) {
            doc.Redo();
        }
        doc.Checkpoint();
        doc.circuit().points().begin()->x += 10;
        doc.GeometryChanged();
        TakeResults();
    }
    Settle();
    const std::vector<double> expected = AnalysedHere();
    const std::vector<double> shown = CurrentsOf(doc.circuit());
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        ASSERT_EQ(shown[i], expected[i]) << "element " << i;
    }
    EXPECT_FALSE(doc.shortCircuit());
    EXPECT_GE(applied, 1);
}

TEST_F(AnalysisInBackgroundTest, ANewerCircuitCancelsTheAnalysisUnderWayAndOnlyItsResultComes) {
    worker.Start(1, testing::ResistorGrid(90, 90));
    Circuit small = testing::Ladder(3);
    const std::vector<double> expected = [&] {
        Circuit copy = small;
        Analyze(copy);
        return CurrentsOf(copy);
    }();
    worker.Start(2, small);
    ASSERT_TRUE(worker.WaitFor(2, 60s));
    EXPECT_FALSE(worker.WaitFor(1, 0ms)) << "a superseded generation never comes";
    const std::optional<AnalysisWorker::Result> result = worker.TakeResult();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->generation, 2u);
    EXPECT_EQ(result->currents, expected);
    EXPECT_FALSE(worker.TakeResult().has_value()) << "a result is taken once";
    EXPECT_FALSE(worker.busy());
}

TEST(AnalysisWorker, EndsPromptlyWhileALargeAnalysisRuns) {
    const auto started = std::chrono::steady_clock::now();
    {
        AnalysisWorker worker;
        worker.Start(1, testing::ResistorGrid(120, 120));
        std::this_thread::sleep_for(20ms);
    }
    // The whole analysis of that grid takes many seconds; cancelled, it ends at the next step.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
}

}  // namespace
}  // namespace kelno

namespace kelno {
namespace {

TEST(AnalysisWorker, CancelDropsTheAnalysisUnderWayAndItsResult) {
    AnalysisWorker worker;
    worker.Start(1, testing::ResistorGrid(90, 90));
    worker.Cancel();
    EXPECT_FALSE(worker.WaitFor(1, std::chrono::milliseconds(0)));
    for (int tries = 0; worker.busy() && tries < 300; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(worker.busy()) << "the cancelled analysis ends at its next step";
    EXPECT_FALSE(worker.TakeResult().has_value());
}

}  // namespace
}  // namespace kelno
