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

std::set<std::size_t> UnjoinedEnds(const Circuit& circuit, const ViewScale& scale) {
    // Points sorted by x, so that each one is compared only with those near it in x.
    std::vector<std::pair<const CircuitPoint*, std::size_t>> byX;
    std::size_t number = 0;
    for (const CircuitPoint& point : circuit.points()) {
        byX.emplace_back(&point, number++);
    }
    std::sort(byX.begin(), byX.end(),
              [](const auto& a, const auto& b) { return a.first->x < b.first->x; });
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
    const std::int64_t reachX = scale.PixelsToUnitsX(kJoinTolerance) + 1;
    std::set<std::size_t> ends;
    for (std::size_t i = 0; i < byX.size(); ++i) {
        for (std::size_t j = i + 1;
             j < byX.size() && std::int64_t{byX[j].first->x} - byX[i].first->x <= reachX; ++j) {
            const CircuitPoint* a = byX[i].first;
            const CircuitPoint* b = byX[j].first;
            if (FindLink(a, b) != nullptr ||
                PixelDistance({a->x, a->y}, {b->x, b->y}, scale) > kJoinTolerance) {
                continue;
            }
            if (endsOne(a)) {
                ends.insert(byX[i].second);
            }
            if (endsOne(b)) {
                ends.insert(byX[j].second);
            }
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
