#pragma once

#include <string>

#include "model/circuit.h"

namespace kelno {

// The circuit as a SPICE netlist with an operating-point analysis, so that its currents
// can be checked with a SPICE engine ("ngspice -b FILE.cir"). Point i (list position) is
// node n<i>; element k becomes:
//   - an open switch: nothing;
//   - a branch without resistance (a wire, a closed switch, an ideal source): V<k> from
//     n<end2> (+) to n<end1> with the element's emf, left out when it would close a loop
//     of 0 V sources only (its ends are joined by such sources already);
//   - a branch with resistance and emf (a battery): V<k> from n<end2> (+) to m<k>, and
//     R<k> from m<k> to n<end1>;
//   - a plain resistance: R<k> from n<end1> to n<end2>.
// So the current of element k from end1 to end2 is minus the current of V<k> where there
// is one, and otherwise the current through R<k>. One node of each connected piece is tied
// to ground through a resistor RG<i>, which carries no current.
//
// Returns false, with a message for the user in `error`, when a value that the netlist
// needs is not a finite number.
bool WriteSpiceNetlist(const Circuit& circuit, std::string& netlist, std::string& error);

}  // namespace kelno
