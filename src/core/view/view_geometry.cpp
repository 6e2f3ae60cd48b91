#include "view/view_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/circuit_point.h"

namespace kelno {

namespace {

constexpr std::int64_t kMinCoordinate = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMaxCoordinate = std::numeric_limits<std::int32_t>::max();

// A grid coordinate computed in 64 bits, kept on the outermost grid line inside int32.
std::int32_t ClampToGridLine(std::int64_t value) {
    constexpr std::int64_t kLowestLine = kMinCoordinate / kGridPitch * kGridPitch;
    constexpr std::int64_t kHighestLine = kMaxCoordinate / kGridPitch * kGridPitch;
    return static_cast<std::int32_t>(std::clamp(value, kLowestLine, kHighestLine));
}

}  // namespace

LogicalPoint SnapToGrid(LogicalPoint p) {
    const auto x = static_cast<std::int64_t>(std::trunc(p.x * 0.02 + 0.5));
    const auto y = static_cast<std::int64_t>(std::trunc(0.5 - p.y * 0.02));
    return {ClampToGridLine(kGridPitch * x), ClampToGridLine(-kGridPitch * y)};
}

LogicalPoint Midpoint(LogicalPoint a, LogicalPoint b) {
    // The sums are taken in 64 bits; the halves always fit again.
    return {static_cast<std::int32_t>((std::int64_t{a.x} + b.x) / 2),
            static_cast<std::int32_t>((std::int64_t{a.y} + b.y) / 2)};
}

LogicalPoint ElementMidpoint(const CircuitElement& element) {
    return Midpoint({element.end1()->x, element.end1()->y}, {element.end2()->x, element.end2()->y});
}

bool InsideRectangle(LogicalPoint a, LogicalPoint b, LogicalPoint m) {
    const auto [left, right] = std::minmax(a.x, b.x);
    const auto [top, bottom] = std::minmax(a.y, b.y);
    return left <= m.x && m.x < right && top <= m.y && m.y < bottom;
}

ComponentEnds PlacedComponentEnds(LogicalPoint position) {
    const auto x = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        position.x, kMinCoordinate + kComponentHalfSpan, kMaxCoordinate - kComponentHalfSpan));
    return {{x - kComponentHalfSpan, position.y}, {x + kComponentHalfSpan, position.y}};
}

}  // namespace kelno
