#pragma once

#include <cstdint>

namespace kelno {

// A position in the view's logical units: 0.1 mm, x to the right, y upward, the origin at the
// top-left corner of the drawing area (so visible positions have y <= 0).
struct LogicalPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const LogicalPoint&) const = default;
};

// A position in device pixels, relative to the top-left corner of the drawing area, y downward.
struct DevicePoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    bool operator==(const DevicePoint&) const = default;
};

}  // namespace kelno
