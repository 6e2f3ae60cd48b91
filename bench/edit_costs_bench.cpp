// The other costs of an edit on a large circuit: the undo copy, saving and loading.
#include <benchmark/benchmark.h>

#include "circuit_generators.h"
#include "io/kel_file.h"
#include "model/circuit_history.h"

namespace kelno {
namespace {

// The grids: 100 x 100 points give 19801 elements, 32 x 32 give 1985.
Circuit GridOf(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    return testing::ResistorGrid(n, n);
}

// A checkpoint copies the live circuit into the history before each edit; the oldest copy
// beyond the limit goes, as in a long editing session.
void BM_Checkpoint(benchmark::State& state) {
    CircuitHistory history;
    history.Reset(GridOf(state));
    for (auto _ : state) {
        history.Checkpoint(10);
    }
    state.counters["elements"] = static_cast<double>(history.Current().ElementCount());
}
BENCHMARK(BM_Checkpoint)->Arg(32)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_SaveKel(benchmark::State& state) {
    Circuit circuit = GridOf(state);
    const KelFileContents contents;
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteKel(circuit, contents));
    }
    state.counters["elements"] = static_cast<double>(circuit.ElementCount());
}
BENCHMARK(BM_SaveKel)->Arg(100)->Unit(benchmark::kMillisecond);

// Parsing a file into a circuit; the analysis that loading runs next is measured apart.
void BM_LoadKel(benchmark::State& state) {
    Circuit circuit = GridOf(state);
    const std::vector<std::uint8_t> bytes = WriteKel(circuit, KelFileContents{});
    for (auto _ : state) {
        KelReadResult result = ReadKel(bytes, {});
        if (result.status != KelReadStatus::Ok) {
            state.SkipWithError("the file did not load");
        }
        benchmark::DoNotOptimize(result.circuit.ElementCount());
    }
    state.counters["elements"] = static_cast<double>(circuit.ElementCount());
}
BENCHMARK(BM_LoadKel)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelno
