#pragma once

#include <optional>
#include <vector>

#include "model/circuit.h"

namespace kelno {

// The electric potential of each point in volts, by the point's position in the circuit's
// list; empty where the point's connected piece holds no battery.
using PointPotentialList = std::vector<std::optional<double>>;

// Potentials from the currents of a successful analysis (after a failed one every current
// is 0.0 and the result would mean nothing). Each connected piece of the circuit, joined
// through every element but open switches, is measured from the negative terminal of its
// first battery in element order. Across an element the potential rises from end1 to end2
// by emf - resistance * current, so a voltmeter reads potential(end1) - potential(end2).
//
// Around a loop these rises add up to zero only within the analysis' tolerance, so each
// point takes its value along the path of least resistance from the reference: points
// joined by wires get exactly equal potentials, and the small error of a 100 kOhm
// voltmeter's current reaches no point that a path of less resistance leads to.
PointPotentialList PointPotentials(const Circuit& circuit);

}  // namespace kelno
