#include "view/hit_test.h"

#include "view/view_geometry.h"

namespace kelno {

namespace {

LogicalPoint PositionOf(const CircuitPoint& point) {
    return {point.x, point.y};
}

}  // namespace

CircuitElement* FindLink(const CircuitPoint* p, const CircuitPoint* q) {
    return p == nullptr || q == nullptr ? nullptr : p->LinkTo(q);
}

PointHit HitTestPoint(Circuit& circuit, LogicalPoint position, const ViewScale& scale) {
    for (CircuitPoint& point : circuit.points()) {
        const std::int64_t distance = PixelDistance(PositionOf(point), position, scale);
        if (distance <= kPointGrabTolerance) {
            return {&point, distance};
        }
    }
    return {};
}

CircuitElement* HitTestElement(Circuit& circuit, LogicalPoint position, const ViewScale& scale,
                               std::int64_t tolerance) {
    CircuitElement* hit = nullptr;
    for (CircuitElement& element : circuit.elements()) {
        if (PixelDistance(ElementMidpoint(element), position, scale) < tolerance) {
            hit = &element;
        }
    }
    return hit;
}

CircuitPoint* NearestFreePoint(Circuit& circuit, LogicalPoint position, const CircuitPoint* from,
                               std::int64_t limit, Limit kind, const ViewScale& scale) {
    for (CircuitPoint& point : circuit.points()) {
        if (&point == from || FindLink(from, &point) != nullptr) {
            continue;
        }
        const std::int64_t distance = PixelDistance(PositionOf(point), position, scale);
        if (kind == Limit::Inclusive ? distance <= limit : distance < limit) {
            return &point;
        }
    }
    return nullptr;
}

}  // namespace kelno
