#include "view/view_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>  // std::abs for 64-bit integers
#include <limits>

namespace kelno {

namespace {

constexpr double kUnitsPerInch = 254.0;  // a unit is 0.1 mm
constexpr double kScreenDpi = 96.0;

bool UsableScale(double pixelsPerUnit) {
    return std::isfinite(pixelsPerUnit) && pixelsPerUnit > 0.0;
}

std::int32_t RoundToInt32(double value) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::round(value), kLow, kHigh));
}

// Pixel values beyond 2^62 do not occur on any device; the clamp only keeps the conversion
// defined for absurd logical coordinates on a very fine device.
std::int64_t RoundToInt64(double value) {
    constexpr double kLimit = 4.0e18;
    return static_cast<std::int64_t>(std::clamp(std::round(value), -kLimit, kLimit));
}

}  // namespace

ViewScale::ViewScale(double pixelsPerUnitX, double pixelsPerUnitY)
    : pixelsPerUnitX_(UsableScale(pixelsPerUnitX) ? pixelsPerUnitX : kScreenDpi / kUnitsPerInch),
      pixelsPerUnitY_(UsableScale(pixelsPerUnitY) ? pixelsPerUnitY : kScreenDpi / kUnitsPerInch) {}

ViewScale ViewScale::FromDpi(double dpiX, double dpiY) {
    return ViewScale(dpiX / kUnitsPerInch, dpiY / kUnitsPerInch);
}

LogicalPoint ViewScale::ToLogical(DevicePoint pixel) const {
    return {RoundToInt32(static_cast<double>(pixel.x) / pixelsPerUnitX_),
            RoundToInt32(-static_cast<double>(pixel.y) / pixelsPerUnitY_)};
}

DevicePoint ViewScale::ToDevice(std::int64_t x, std::int64_t y) const {
    return {RoundToInt64(static_cast<double>(x) * pixelsPerUnitX_),
            RoundToInt64(-static_cast<double>(y) * pixelsPerUnitY_)};
}

std::int64_t ViewScale::PixelsToUnitsX(std::int64_t pixels) const {
    return std::abs(RoundToInt64(static_cast<double>(pixels) / pixelsPerUnitX_));
}

std::int64_t ViewScale::PixelsToUnitsY(std::int64_t pixels) const {
    return std::abs(RoundToInt64(static_cast<double>(pixels) / pixelsPerUnitY_));
}

std::int64_t PixelDistance(LogicalPoint a, LogicalPoint b, const ViewScale& scale) {
    const DevicePoint d = scale.ToDevice(std::int64_t{b.x} - std::int64_t{a.x},
                                         std::int64_t{b.y} - std::int64_t{a.y});
    return std::max(std::abs(d.x), std::abs(d.y));
}

}  // namespace kelno
