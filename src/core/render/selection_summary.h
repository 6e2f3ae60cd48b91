#pragma once

#include <string>

#include "model/circuit.h"

namespace kelno {

// The message pane's text about the selection, as it stands after the last analysis: the
// summary of the element selected last (the one the latest click or shift-click added),
// without anything the analysis found while pupils predict the readings; empty when no
// element is selected.
std::string SelectionSummary(const Circuit& circuit, bool readingsHidden);

}  // namespace kelno
