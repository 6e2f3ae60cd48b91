#include "render/element_frame.h"

#include <cmath>

#include "numeric/portable_math.h"

namespace kelno {

int ElementQuadrant(DrawPoint end1, DrawPoint end2) {
    // Degrees from radians with 180 / 3.14159, truncated: the boundaries between the sides
    // fall exactly where the program has always put them.
    constexpr double kDegreesPerRadian = 57.29582790879778;
    const double radians =
        PortableAtan2(static_cast<double>(end1.x - end2.x), static_cast<double>(end1.y - end2.y));
    const auto degrees = static_cast<int>(radians * kDegreesPerRadian);
    return ((degrees + 225) % 360) / 90;
}

ElementFrame MakeElementFrame(DrawPoint end1, DrawPoint end2) {
    ElementFrame frame;
    frame.cx = (end1.x + end2.x) / 2;
    frame.cy = (end1.y + end2.y) / 2;
    frame.quadrant = ElementQuadrant(end1, end2);
    frame.hw = frame.horizontal() ? 80 : 48;
    frame.hh = frame.horizontal() ? 48 : 80;
    return frame;
}

DrawPoint RightAngleCorner(ElementKind kind, DrawPoint end1, DrawPoint end2) {
    return kind == ElementKind::WireVerticalFirst ? DrawPoint{end1.x, end2.y}
                                                  : DrawPoint{end2.x, end1.y};
}

}  // namespace kelno
