#pragma once

#include <cstdint>

#include "model/circuit.h"
#include "view/logical_point.h"
#include "view/view_scale.h"

namespace kelno {

// Tolerances of the editing view, in device pixels.
inline constexpr std::int64_t kPointGrabTolerance = 14;   // a press this close grabs a point
inline constexpr std::int64_t kPointCentreTolerance = 5;  // closer than the rim: the point itself
inline constexpr std::int64_t kElementHitTolerance = 20;  // a midpoint must be nearer than this

// The element joining `p` and `q`, or nullptr; the order of the two points does not matter.
CircuitElement* FindLink(const CircuitPoint* p, const CircuitPoint* q);

struct PointHit {
    CircuitPoint* point = nullptr;
    std::int64_t distance = 0;  // pixels; 0 to 5 is the point itself, 6 to 14 its rim
};

// The first point in list order within 14 pixels of `position`, and its distance.
PointHit HitTestPoint(Circuit& circuit, LogicalPoint position, const ViewScale& scale);

// The last element in list order (the most recently added) whose midpoint lies nearer than
// `tolerance` pixels to `position`, or nullptr.
CircuitElement* HitTestElement(Circuit& circuit, LogicalPoint position, const ViewScale& scale,
                               std::int64_t tolerance = kElementHitTolerance);

enum class Limit { Inclusive, Exclusive };

// The first point in list order that is not `from`, is not yet linked to `from`, and lies
// within `limit` pixels of `position` (`Inclusive`: at most, `Exclusive`: less than); or
// nullptr. `from` may be nullptr, which excludes nothing.
CircuitPoint* NearestFreePoint(Circuit& circuit, LogicalPoint position, const CircuitPoint* from,
                               std::int64_t limit, Limit kind, const ViewScale& scale);

}  // namespace kelno
