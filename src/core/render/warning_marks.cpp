#include "render/warning_marks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "render/element_frame.h"
#include "render/surface_scope.h"
#include "view/hit_test.h"

namespace kelno {

namespace {

// The tolerance within which a release joins a dragged point or a wire to a point (pixels).
constexpr std::int64_t kJoinTolerance = 20;
constexpr Color kSignOutline{200, 0, 0};
constexpr Color kSignFill{255, 230, 0};
constexpr Color kSignMark{0, 0, 0};
// The sign in logical units: 6 mm wide, so that it reads on paper and on a projector alike.
constexpr std::int64_t kSignWidth = 60;
constexpr std::int64_t kSignHeight = 52;
// From a point to the sign's corner: above and to the right of the point's circle.
constexpr DrawPoint kBesidePoint{10, 14};

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

}  // namespace

bool CarriesLargeCurrent(const CircuitElement& element) {
    return element.kind == ElementKind::Battery &&
           std::fabs(element.current) > kLargeBatteryCurrent;
}

std::string LargeCurrentSentence(const Circuit& circuit) {
    for (const CircuitElement& element : circuit.elements()) {
        if (CarriesLargeCurrent(element)) {
            return "電池に 3 A をこえる大きな電流が流れています (本物の乾電池は熱くなります)。";
        }
    }
    return {};
}

// Only a point that ends one element can be marked, so only those look around them, and
// only in the cells of a grid next to their own: a file of a million points, or a circuit
// whose points line up in x, costs no more than its points and their close neighbours.
std::set<std::size_t> UnjoinedEnds(const Circuit& circuit, const ViewScale& scale) {
    // Elements that end at a point, counted by the elements themselves: two elements between
    // the same two points share one link.
    std::unordered_map<const CircuitPoint*, int> endCount;
    for (const CircuitElement& element : circuit.elements()) {
        ++endCount[element.end1()];
        ++endCount[element.end2()];
    }
    const auto endsOne = [&endCount](const CircuitPoint* point) {
        const auto found = endCount.find(point);
        return found != endCount.end() && found->second == 1;
    };
    std::set<std::size_t> ends;
    if (std::none_of(endCount.begin(), endCount.end(),
                     [](const auto& entry) { return entry.second == 1; })) {
        return ends;
    }
    // Cells at least as large as the reach, so that every point within it lies in the cell
    // of the end or in one next to it.
    const std::int64_t reachX = scale.PixelsToUnitsX(kJoinTolerance) + 1;
    const std::int64_t cellY = scale.PixelsToUnitsY(kJoinTolerance + 1) + 1;
    const auto cellOf = [&](const CircuitPoint& point) {
        return std::pair<std::int64_t, std::int64_t>{FloorDivide(point.x, reachX),
                                                     FloorDivide(point.y, cellY)};
    };
    struct CellHash {
        std::size_t operator()(const std::pair<std::int64_t, std::int64_t>& cell) const {
            return std::hash<std::int64_t>()(cell.first * 1000003 ^ cell.second);
        }
    };
    std::unordered_map<std::pair<std::int64_t, std::int64_t>, std::vector<const CircuitPoint*>,
                       CellHash>
        cells;
    for (const CircuitPoint& point : circuit.points()) {
        cells[cellOf(point)].push_back(&point);
    }
    std::size_t number = 0;
    for (const CircuitPoint& point : circuit.points()) {
        const std::size_t index = number++;
        if (!endsOne(&point)) {
            continue;
        }
        const auto [cx, cy] = cellOf(point);
        bool near = false;
        for (std::int64_t x = cx - 1; x <= cx + 1 && !near; ++x) {
            for (std::int64_t y = cy - 1; y <= cy + 1 && !near; ++y) {
                const auto found = cells.find({x, y});
                if (found == cells.end()) {
                    continue;
                }
                for (const CircuitPoint* other : found->second) {
                    if (other != &point &&
                        std::abs(std::int64_t{other->x} - point.x) <= reachX &&
                        FindLink(&point, other) == nullptr &&
                        PixelDistance({point.x, point.y}, {other->x, other->y}, scale) <=
                            kJoinTolerance) {
                        near = true;
                        break;
                    }
                }
            }
        }
        if (near) {
            ends.insert(index);
        }
    }
    return ends;
}

void DrawWarningSign(DrawSurface& surface, DrawPoint corner) {
    const std::array<DrawPoint, 4> triangle{
        corner, DrawPoint{corner.x + kSignWidth, corner.y},
        DrawPoint{corner.x + kSignWidth / 2, corner.y + kSignHeight}, corner};
    {
        BrushScope fill(surface, Brush{kSignFill});
        surface.FillPolygon(std::span<const DrawPoint>(triangle.data(), 3));
    }
    {
        PenScope outline(surface, Pen{kSignOutline, 4});
        surface.DrawPolyline(triangle);
    }
    PenScope mark(surface, Pen{kSignMark, 5});
    const std::int64_t x = corner.x + kSignWidth / 2;
    surface.DrawLine({x, corner.y + kSignHeight - 16}, {x, corner.y + 20});
    surface.DrawLine({x, corner.y + 11}, {x, corner.y + 7});
}

void DrawUnjoinedEndMarks(const Circuit& circuit, DrawSurface& surface,
                          const std::set<std::size_t>& points) {
    std::size_t number = 0;
    for (const CircuitPoint& point : circuit.points()) {
        if (points.contains(number++)) {
            DrawWarningSign(surface, {point.x + kBesidePoint.x, point.y + kBesidePoint.y});
        }
    }
}

void DrawLargeCurrentMarks(const Circuit& circuit, DrawSurface& surface) {
    for (const CircuitElement& element : circuit.elements()) {
        if (CarriesLargeCurrent(element)) {
            const ElementFrame frame = MakeElementFrame({element.end1()->x, element.end1()->y},
                                                        {element.end2()->x, element.end2()->y});
            // On the body's upper right corner, clear of the label below it.
            DrawWarningSign(surface, {frame.cx + frame.hw - kSignWidth / 2, frame.cy + frame.hh});
        }
    }
}

}  // namespace kelno
