#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "analysis/analyze.h"
#include "model/circuit.h"
#include "model/element_kind.h"

namespace kelno {

// One plain sentence for the status bar after "Short": what the loop that made the analysis
// fail is made of and why it has no finite solution, for example that a battery is joined to
// itself through wires alone. `loopKinds` are the kinds of the loop's elements.
std::string ExplainShort(AnalysisOutcome reason, std::span<const ElementKind> loopKinds);

// The status-bar text after a failed analysis: "Short", two blanks and the sentence for the
// loop whose elements are `loop` (positions in the circuit's list). Just "Short" for an
// outcome that is no failure.
std::string ShortStatusLine(const Circuit& circuit, AnalysisOutcome reason,
                            std::span<const std::size_t> loop);

// The elements at the given positions of the circuit's list, in the given order; positions
// beyond the list are left out. Turns a failing loop into handles, to select it.
std::vector<CircuitElement*> ElementsAt(Circuit& circuit, std::span<const std::size_t> positions);

}  // namespace kelno
