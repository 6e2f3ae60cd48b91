#include "render/classroom_layers.h"

#include "render/warning_marks.h"

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

void ApplyWarningOptions(DrawSettings& settings, const Circuit& circuit, const ViewScale& scale,
                         const ClassroomOptions& options) {
    settings.unjoinedEnds.clear();
    if (options.markUnjoinedEnds) {
        settings.unjoinedEnds = UnjoinedEnds(circuit, scale);
    }
    settings.warnLargeCurrent = options.warnLargeCurrent;
}

}  // namespace kelno
