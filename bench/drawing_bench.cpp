// A full repaint: the whole circuit drawn onto a window-sized picture.
#include <benchmark/benchmark.h>

#include "analysis/analyze.h"
#include "circuit_generators.h"
#include "circuit_rendering.h"

namespace kelno {
namespace {

// About 2000 elements of every kind, analysed so that bulbs glow, meters read and arrows
// show, drawn onto a 1920 x 1080 picture (the part of the grid beyond it is clipped).
void BM_DrawClassroomGrid2000(benchmark::State& state) {
    Circuit circuit = testing::ClassroomGrid(32, 32);
    Analyze(circuit);
    DrawSettings settings;
    settings.showGrid = state.range(0) != 0;
    const QSize size(1920, 1080);
    settings.gridExtent = LogicalExtent(size, ViewScale::FromDpi(kScreenDpi, kScreenDpi));
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderCircuitImage(circuit, settings, size));
    }
    state.counters["elements"] = static_cast<double>(circuit.ElementCount());
}
BENCHMARK(BM_DrawClassroomGrid2000)->ArgName("grid")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelno
