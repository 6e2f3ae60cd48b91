#include "document/picture_settings.h"

namespace kelno {

DrawSettings PictureSettings(const Document& document, const PictureOptions& options) {
    DrawSettings settings;
    settings.showGrid = options.showGrid;
    settings.showCurrentFlow = document.showCurrentFlow() && !options.hideCurrentFlow;
    settings.noDiagonalWires = options.noDiagonalWires;
    settings.shortCircuit = document.shortCircuit();
    settings.currentTool = document.currentTool();
    settings.gridExtent = options.extent;
    const AnalysisReport& analysis = document.lastAnalysis();
    ApplyClassroomOptions(settings, document.circuit(), analysis.outcome, analysis.failingLoop,
                          options.classroom);
    if (options.warningsAt) {
        ApplyWarningOptions(settings, document.circuit(), *options.warningsAt, options.classroom);
    }
    return settings;
}

}  // namespace kelno
