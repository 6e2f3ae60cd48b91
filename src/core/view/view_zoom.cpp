#include "view/view_zoom.h"

#include <algorithm>
#include <array>

namespace kelno::view_zoom {

namespace {

constexpr std::array<double, 10> kSteps{0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0};
// Around a point, the room a symbol and its label may take: half a symbol to the sides,
// a battery's label below it.
constexpr std::int64_t kMargin = 200;

}  // namespace

double ZoomIn(double zoom) {
    for (const double step : kSteps) {
        if (step > zoom * 1.0001) {
            return step;
        }
    }
    return kLargest;
}

double ZoomOut(double zoom) {
    for (auto step = kSteps.rbegin(); step != kSteps.rend(); ++step) {
        if (*step < zoom * 0.9999) {
            return *step;
        }
    }
    return kSmallest;
}

ViewScale Zoomed(const ViewScale& trueSize, double zoom) {
    zoom = std::clamp(zoom, kSmallest, kLargest);
    return ViewScale(trueSize.pixelsPerUnitX() * zoom, trueSize.pixelsPerUnitY() * zoom);
}

DevicePoint ScrollKeepingCursor(DevicePoint scroll, DevicePoint cursor, const ViewScale& before,
                                const ViewScale& after) {
    const LogicalPoint under = before.ToLogical({scroll.x + cursor.x, scroll.y + cursor.y});
    const DevicePoint there = after.ToDevice(under);
    return {there.x - cursor.x, there.y - cursor.y};
}

std::optional<LogicalBounds> CircuitBounds(const Circuit& circuit) {
    std::optional<LogicalBounds> bounds;
    for (const CircuitPoint& point : circuit.points()) {
        if (!bounds) {
            bounds = LogicalBounds{point.x, point.y, point.x, point.y};
        }
        bounds->left = std::min<std::int64_t>(bounds->left, point.x);
        bounds->right = std::max<std::int64_t>(bounds->right, point.x);
        bounds->top = std::max<std::int64_t>(bounds->top, point.y);
        bounds->bottom = std::min<std::int64_t>(bounds->bottom, point.y);
    }
    if (bounds) {
        bounds->left -= kMargin;
        bounds->right += kMargin;
        bounds->top += kMargin;
        bounds->bottom -= kMargin;
    }
    return bounds;
}

double FitZoom(const LogicalBounds& bounds, std::int64_t width, std::int64_t height,
               const ViewScale& trueSize) {
    const double across =
        static_cast<double>(bounds.right - bounds.left) * trueSize.pixelsPerUnitX();
    const double down = static_cast<double>(bounds.top - bounds.bottom) * trueSize.pixelsPerUnitY();
    double zoom = kLargest;
    if (across > 0.0) {
        zoom = std::min(zoom, static_cast<double>(width) / across);
    }
    if (down > 0.0) {
        zoom = std::min(zoom, static_cast<double>(height) / down);
    }
    return std::clamp(zoom, kSmallest, kLargest);
}

}  // namespace kelno::view_zoom
