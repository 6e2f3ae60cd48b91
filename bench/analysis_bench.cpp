// The analysis that every edit of the connections runs, on generated circuits.
#include <benchmark/benchmark.h>

#include "analysis/analyze.h"
#include "circuit_generators.h"

namespace kelno {
namespace {

void RunAnalysis(benchmark::State& state, Circuit& circuit) {
    AnalysisReport report;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Analyze(circuit, &report));
    }
    if (report.outcome != AnalysisOutcome::Solved) {
        state.SkipWithError("the analysis failed");
    }
    state.counters["elements"] = static_cast<double>(circuit.ElementCount());
    state.counters["loops"] = static_cast<double>(report.loops);
    state.counters["sweeps"] = static_cast<double>(report.sweeps);
}

// An N x N grid of resistors with a battery across opposite corners, in natural order.
void BM_AnalyzeGrid(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    Circuit circuit = testing::ResistorGrid(n, n);
    RunAnalysis(state, circuit);
}
BENCHMARK(BM_AnalyzeGrid)->Arg(10)->Arg(23)->Arg(71)->Arg(100)->Unit(benchmark::kMillisecond);

// The same grid with its points and elements shuffled and turned at random.
void BM_AnalyzeShuffledGrid(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    Circuit circuit = testing::ResistorGrid(n, n, testing::GridOrder::Shuffled, 1);
    RunAnalysis(state, circuit);
}
BENCHMARK(BM_AnalyzeShuffledGrid)->Arg(10)->Arg(23)->Unit(benchmark::kMillisecond);

// A battery feeding a ladder of bulbs between rails of resistors.
void BM_AnalyzeLadder(benchmark::State& state) {
    Circuit circuit = testing::Ladder(static_cast<int>(state.range(0)));
    RunAnalysis(state, circuit);
}
BENCHMARK(BM_AnalyzeLadder)->Arg(100)->Arg(667)->Arg(6667)->Unit(benchmark::kMillisecond);

// About 2000 elements of every kind a classroom circuit holds.
void BM_AnalyzeClassroomGrid2000(benchmark::State& state) {
    Circuit circuit = testing::ClassroomGrid(32, 32);
    RunAnalysis(state, circuit);
}
BENCHMARK(BM_AnalyzeClassroomGrid2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelno
