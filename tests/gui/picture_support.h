#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

#include "model/circuit.h"
#include "view/view_scale.h"

namespace kelno::testing {

// The device pixel of a logical position at `scale`.
inline QPoint PixelOf(const ViewScale& scale, std::int32_t x, std::int32_t y) {
    const DevicePoint p = scale.ToDevice(LogicalPoint{x, y});
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

inline QColor ColorAt(const QImage& image, QPoint pixel) {
    return image.pixelColor(pixel);
}

// A circuit of one element between (x1, y) and (x2, y).
inline CircuitElement* AddElement(Circuit& circuit, ElementKind kind, std::int32_t x1,
                                  std::int32_t x2, std::int32_t y, double resistance, double emf,
                                  double current) {
    ElementRecord record = DefaultRecord(kind);
    record.resistance = resistance;
    record.emf = emf;
    record.current = current;
    return circuit.AddElement(record, circuit.AddPoint(0, x1, y), circuit.AddPoint(1, x2, y))
        .element;
}

}  // namespace kelno::testing
