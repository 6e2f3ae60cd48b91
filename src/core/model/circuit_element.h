#pragma once

#include <cstdint>
#include <list>

#include "model/element_kind.h"

namespace kelno {

class CircuitPoint;

// An element joining two points: a wire or a component. Its ends change only through
// the circuit (SetEnd1, SetEnd2, ReplaceEndpoint), which keeps the points' links in step.
class CircuitElement {
public:
    ElementKind kind = ElementKind::Wire;
    // Work field; the analysis writes the element's list position into it.
    std::int32_t serial = 0;
    double resistance = 0.0;  // ohms; for a switch the open flag (0.0 = closed)
    double current = 0.0;     // amperes, positive from end1 to end2
    double emf = 0.0;         // volts

    CircuitPoint* end1() const { return end1_; }
    CircuitPoint* end2() const { return end2_; }

    // False for an element whose two points were already joined by another element when
    // it got its ends; such an element is in the circuit but in no point's links.
    bool linked() const { return linked_; }
    bool selected() const { return selected_; }

    // An open switch (any non-zero open flag) is no branch of the network at all.
    bool IsOpenSwitch() const { return kind == ElementKind::Switch && resistance != 0.0; }

    ElementRecord Record() const { return {kind, serial, resistance, current, emf}; }

private:
    friend class Circuit;
    CircuitPoint* end1_ = nullptr;
    CircuitPoint* end2_ = nullptr;
    bool linked_ = false;
    bool selected_ = false;
    // Creation sequence number within its circuit: the element's place in the list.
    std::uint64_t sequence_ = 0;
    std::list<CircuitElement>::iterator self_;
};

}  // namespace kelno
