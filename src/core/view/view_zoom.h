#pragma once

#include <cstdint>
#include <optional>

#include "model/circuit.h"
#include "view/logical_point.h"
#include "view/view_scale.h"

namespace kelno {

// The zoom of the editing view, a factor on the screen's true size (1.0), and the arithmetic
// of zooming and scrolling. View state only: files, prints and the coordinates of points
// never see it.
namespace view_zoom {

inline constexpr double kSmallest = 0.25;
inline constexpr double kLargest = 4.0;

// The next step up or down from `zoom` (0.25, 0.5, 0.75, 1, 1.25, 1.5, 2, 2.5, 3, 4), within
// the smallest and largest zoom.
double ZoomIn(double zoom);
double ZoomOut(double zoom);

// The scale of the screen's true size magnified by `zoom`.
ViewScale Zoomed(const ViewScale& trueSize, double zoom);

// The scroll position (the canvas pixel at the visible area's top-left corner) after the
// scale changed from `before` to `after`, such that the logical point under `cursor` (pixels
// within the visible area) stays under it.
DevicePoint ScrollKeepingCursor(DevicePoint scroll, DevicePoint cursor, const ViewScale& before,
                                const ViewScale& after);

// The logical rectangle that the circuit's points cover, widened by the room a symbol and
// its label take around its ends; nothing for an empty circuit.
struct LogicalBounds {
    std::int64_t left = 0;
    std::int64_t top = 0;  // the largest y
    std::int64_t right = 0;
    std::int64_t bottom = 0;  // the smallest y
};
std::optional<LogicalBounds> CircuitBounds(const Circuit& circuit);

// The zoom at which `bounds` fits into a visible area of `width` x `height` pixels, within the
// smallest and largest zoom.
double FitZoom(const LogicalBounds& bounds, std::int64_t width, std::int64_t height,
               const ViewScale& trueSize);

}  // namespace view_zoom
}  // namespace kelno
