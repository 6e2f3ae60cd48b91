#include "editing/circuit_edits.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "numeric/portable_math.h"
#include "view/hit_test.h"
#include "view/view_geometry.h"

namespace kelno {

namespace {

constexpr std::int64_t kMinCoordinate = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMaxCoordinate = std::numeric_limits<std::int32_t>::max();
// Loose ends of a clicked element are joined to points nearer than this (pixels).
constexpr std::int64_t kLooseEndTolerance = 10;

std::int32_t Saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, kMinCoordinate, kMaxCoordinate));
}

LogicalPoint PositionOf(const CircuitPoint& point) {
    return {point.x, point.y};
}

// The step limited so that every value in [low, high] stays within int32 after it.
std::int64_t LimitStep(std::int64_t step, std::int64_t low, std::int64_t high) {
    return std::clamp(step, kMinCoordinate - low, kMaxCoordinate - high);
}

// The distinct ends of the selected elements, in the order they are first met.
std::vector<CircuitPoint*> MarkedPoints(const Circuit& circuit) {
    std::vector<CircuitPoint*> marked;
    marked.reserve(circuit.SelectedCount() * 2);
    for (const CircuitElement* element : circuit.selection()) {
        for (CircuitPoint* end : {element->end1(), element->end2()}) {
            if (std::find(marked.begin(), marked.end(), end) == marked.end()) {
                marked.push_back(end);
            }
        }
    }
    return marked;
}

// The link of `point` whose direction from `grabbed` is nearest the drag direction
// `dragAngle`, if it lies within kDetachAngle; ties keep the earlier link.
CircuitElement* LinkInDirection(const CircuitPoint& point, LogicalPoint grabbed, double dragAngle) {
    double best = 1.0;
    CircuitElement* chosen = nullptr;
    for (const auto& [neighbour, element] : point.links()) {
        const double angle =
            PortableAtan2(static_cast<double>(std::int64_t{neighbour->x} - grabbed.x),
                       static_cast<double>(std::int64_t{neighbour->y} - grabbed.y));
        // Deliberately not reduced modulo a full turn: see DetachLink.
        const double difference = std::fabs(angle - dragAngle);
        if (difference < best) {
            best = difference;
            chosen = element;
        }
    }
    return best < kDetachAngle ? chosen : nullptr;
}

// Whether `candidate` may take a wire to `end`: another point, not yet joined to it, nearer
// than the loose-end tolerance.
bool IsLooseEndTarget(const CircuitPoint& candidate, const CircuitPoint* end,
                      const ViewScale& scale) {
    return &candidate != end && FindLink(end, &candidate) == nullptr &&
           PixelDistance(PositionOf(candidate), PositionOf(*end), scale) < kLooseEndTolerance;
}

}  // namespace

CircuitElement* PlaceComponent(Circuit& circuit, ElementKind kind, LogicalPoint position) {
    const ComponentEnds ends = PlacedComponentEnds(position);
    CircuitPoint* end1 = circuit.AddPoint(0, ends.end1.x, ends.end1.y);
    CircuitPoint* end2 = circuit.AddPoint(0, ends.end2.x, ends.end2.y);
    const Circuit::AddResult added = circuit.AddElement(DefaultRecord(kind), end1, end2);
    if (added.linked) {
        circuit.ClearPointSelection();
        circuit.ClearSelection();
        circuit.Select(added.element);
    }
    return added.element;
}

void MergePoints(Circuit& circuit, CircuitPoint* from, CircuitPoint* into) {
    if (from == into) {
        return;
    }
    // An element without a link of its own takes its twin's link over when the twin moves,
    // so walking the links moves every element that ends at `from`.
    while (!from->links().empty()) {
        circuit.ReplaceEndpoint(from->links().begin()->second, from, into);
    }
    circuit.RemovePoint(from);
}

void MovePoint(CircuitPoint& point, std::int64_t dx, std::int64_t dy) {
    // Any step beyond the whole range lands on the same limit; the clamp keeps the sum
    // within 64 bits.
    constexpr std::int64_t kLongestStep = std::int64_t{1} << 33;
    point.x = Saturate(point.x + std::clamp(dx, -kLongestStep, kLongestStep));
    point.y = Saturate(point.y + std::clamp(dy, -kLongestStep, kLongestStep));
}

void MoveMarkedPoints(Circuit& circuit, std::int64_t dx, std::int64_t dy) {
    const std::vector<CircuitPoint*> marked = MarkedPoints(circuit);
    if (marked.empty()) {
        return;
    }
    const auto [minX, maxX] = std::minmax_element(marked.begin(), marked.end(),
                                                  [](auto* a, auto* b) { return a->x < b->x; });
    const auto [minY, maxY] = std::minmax_element(marked.begin(), marked.end(),
                                                  [](auto* a, auto* b) { return a->y < b->y; });
    dx = LimitStep(dx, (*minX)->x, (*maxX)->x);
    dy = LimitStep(dy, (*minY)->y, (*maxY)->y);
    for (CircuitPoint* point : marked) {
        MovePoint(*point, dx, dy);
    }
}

CircuitPoint* DetachLink(Circuit& circuit, CircuitPoint* point, LogicalPoint grabbed,
                         LogicalPoint position, std::int64_t dx, std::int64_t dy) {
    CircuitElement* chosen = LinkToDetach(*point, grabbed, dx, dy);
    if (chosen == nullptr) {
        return nullptr;
    }
    CircuitPoint* detached = circuit.AddPoint(0, position.x, position.y);
    circuit.ReplaceEndpoint(chosen, point, detached);
    if (point->links().empty()) {
        circuit.RemovePoint(point);
    }
    circuit.SelectPoint(detached);
    return detached;
}

CircuitElement* LinkToDetach(const CircuitPoint& point, LogicalPoint grabbed, std::int64_t dx,
                             std::int64_t dy) {
    const double dragAngle = PortableAtan2(static_cast<double>(dx), static_cast<double>(dy));
    return LinkInDirection(point, grabbed, dragAngle);
}

LooseEndTargets FindLooseEndTargets(Circuit& circuit, const CircuitElement& element,
                                    const ViewScale& scale) {
    LooseEndTargets targets;
    for (CircuitPoint& candidate : circuit.points()) {
        if (targets.forEnd1 == nullptr && IsLooseEndTarget(candidate, element.end1(), scale)) {
            targets.forEnd1 = &candidate;
        }
        if (targets.forEnd2 == nullptr && IsLooseEndTarget(candidate, element.end2(), scale)) {
            targets.forEnd2 = &candidate;
        }
        if (targets.forEnd1 != nullptr && targets.forEnd2 != nullptr) {
            break;
        }
    }
    return targets;
}

bool JoinLooseEnds(Circuit& circuit, CircuitElement* element, const ViewScale& scale) {
    const LooseEndTargets targets = FindLooseEndTargets(circuit, *element, scale);
    const ElementRecord wire = DefaultRecord(ElementKind::Wire);
    if (targets.forEnd1 != nullptr) {
        circuit.AddElement(wire, targets.forEnd1, element->end1());
    }
    if (targets.forEnd2 != nullptr) {
        circuit.AddElement(wire, targets.forEnd2, element->end2());
    }
    return targets.any();
}

void FlipWireBend(CircuitElement& wire) {
    // Between the two bends only: any other wire code (files may hold one) is drawn with the
    // bend of a plain wire, and the arithmetic flip would turn it into a component.
    wire.kind = wire.kind == ElementKind::WireVerticalFirst ? ElementKind::Wire
                                                            : ElementKind::WireVerticalFirst;
}

CircuitPoint* SplitWire(Circuit& circuit, CircuitElement* wire, LogicalPoint position) {
    CircuitPoint* middle = circuit.AddPoint(0, position.x, position.y);
    CircuitPoint* oldEnd1 = wire->end1();
    circuit.SetEnd1(wire, middle);
    circuit.AddElement(DefaultRecord(ElementKind::Wire), middle, oldEnd1);
    circuit.ClearSelection();
    circuit.SelectPoint(middle);
    return middle;
}

void ToggleSwitch(CircuitElement& element) {
    element.resistance = element.resistance == 0.0 ? 1.0 : 0.0;
}

}  // namespace kelno
