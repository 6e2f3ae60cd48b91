#include "render/selection_summary.h"

#include "render/format_value.h"

namespace kelno {

std::string SelectionSummary(const Circuit& circuit, bool readingsHidden) {
    if (circuit.SelectedCount() == 0) {
        return {};
    }
    const CircuitElement& last = *circuit.selection().back();
    return readingsHidden ? FormatElementSummaryWithoutReadings(last) : FormatElementSummary(last);
}

}  // namespace kelno
