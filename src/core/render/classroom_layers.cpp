#include "render/classroom_layers.h"

namespace kelno {

void ApplyClassroomOptions(DrawSettings& settings, const Circuit& circuit, AnalysisOutcome outcome,
                           std::span<const std::size_t> failingLoop,
                           const ClassroomOptions& options) {
    const bool solved = outcome == AnalysisOutcome::Solved;
    settings.hideReadings = options.hideReadings;
    settings.highlightElements.clear();
    if (options.explainShort && !solved) {
        settings.highlightElements.insert(failingLoop.begin(), failingLoop.end());
    }
    settings.showPotentials = options.showPotentials && solved;
    settings.potentials.clear();
    if (settings.showPotentials && !options.hideReadings) {
        settings.potentials = PointPotentials(circuit);
    }
}

}  // namespace kelno
