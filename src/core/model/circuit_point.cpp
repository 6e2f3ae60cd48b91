#include "model/circuit_point.h"

namespace kelno {

CircuitElement* CircuitPoint::LinkTo(const CircuitPoint* neighbour) const {
    auto it = links_.find(const_cast<CircuitPoint*>(neighbour));
    return it == links_.end() ? nullptr : it->second;
}

}  // namespace kelno
