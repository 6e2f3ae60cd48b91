#pragma once

#include <cstdint>

#include "view/logical_point.h"

namespace kelno {

// The mapping between device pixels and logical units (0.1 mm, y up). Both origins are the
// top-left corner of the drawing area; the view neither scrolls nor zooms, so the mapping
// is a pure per-axis scale with the sign of y flipped.
class ViewScale {
public:
    // Pixels per logical unit in each axis; both must be positive and finite, otherwise the
    // scale of a 96 dpi screen is used.
    ViewScale(double pixelsPerUnitX, double pixelsPerUnitY);

    // The scale of a device with the given resolution in dots per inch (96 dpi gives about
    // 3.78 pixels per millimetre).
    static ViewScale FromDpi(double dpiX, double dpiY);

    double pixelsPerUnitX() const { return pixelsPerUnitX_; }
    double pixelsPerUnitY() const { return pixelsPerUnitY_; }

    // Device pixels to logical units, rounded to the nearest unit and held within int32.
    LogicalPoint ToLogical(DevicePoint pixel) const;
    // Logical units to device pixels, rounded to the nearest pixel. Takes a 64-bit point, so
    // that the difference of two logical points can be converted without overflow.
    DevicePoint ToDevice(std::int64_t x, std::int64_t y) const;
    DevicePoint ToDevice(LogicalPoint point) const { return ToDevice(point.x, point.y); }

    // How many logical units a run of `pixels` device pixels covers in each axis (positive).
    std::int64_t PixelsToUnitsX(std::int64_t pixels) const;
    std::int64_t PixelsToUnitsY(std::int64_t pixels) const;

private:
    double pixelsPerUnitX_;
    double pixelsPerUnitY_;
};

// The on-screen distance between two logical points: their difference converted to device
// pixels, then the larger of the two components (Chebyshev distance). Hit tolerances are in
// these pixels, so they stay the same whatever the display's resolution.
std::int64_t PixelDistance(LogicalPoint a, LogicalPoint b, const ViewScale& scale);

}  // namespace kelno
