#pragma once

#include <cstddef>
#include <span>

#include "analysis/analyze.h"
#include "model/circuit.h"
#include "render/draw_circuit.h"
#include "view/view_scale.h"

namespace kelno {

// What the classroom adds to a drawing. None of it is kept in a document's file: the
// editor keeps it in its own settings, kelno-cli takes it from its options.
struct ClassroomOptions {
    bool explainShort = false;  // highlight the loop that made the analysis fail
    bool hideReadings = false;  // predict mode, while the readings are not revealed
    bool showPotentials = false;
    bool markUnjoinedEnds = false;  // a warning sign on ends that look joined and are not
    bool warnLargeCurrent = false;  // a warning sign on a battery beyond a dry cell's current
};

// Sets the classroom part of `settings` for a circuit whose last analysis ended with
// `outcome`; after a failure `failingLoop` holds the positions of the failing loop's
// elements in the circuit's list. Potentials are computed only after a success, the
// highlight is drawn only after a failure.
void ApplyClassroomOptions(DrawSettings& settings, const Circuit& circuit, AnalysisOutcome outcome,
                           std::span<const std::size_t> failingLoop,
                           const ClassroomOptions& options);

// The warning signs of `options` for a circuit shown at `scale`, whose join tolerance is in
// its pixels.
void ApplyWarningOptions(DrawSettings& settings, const Circuit& circuit, const ViewScale& scale,
                         const ClassroomOptions& options);

}  // namespace kelno
