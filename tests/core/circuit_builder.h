#pragma once

#include <vector>

#include "model/circuit.h"

namespace kelno::testing {

// Builds circuits for tests from point numbers: points are created on demand, in the
// order of their numbers, so that point order (and with it link order) is explicit.
class CircuitBuilder {
public:
    explicit CircuitBuilder(Circuit& circuit) : circuit_(circuit) {}

    CircuitPoint* Point(int number) {
        while (static_cast<int>(points_.size()) <= number) {
            const int n = static_cast<int>(points_.size());
            points_.push_back(circuit_.AddPoint(n, n * 100, -100));
        }
        return points_[number];
    }

    CircuitElement* Add(ElementKind kind, int end1, int end2) {
        return circuit_.AddElement(DefaultRecord(kind), Point(end1), Point(end2)).element;
    }

    CircuitElement* Add(ElementKind kind, int end1, int end2, double resistance, double emf = 0.0) {
        ElementRecord record = DefaultRecord(kind);
        record.resistance = resistance;
        record.emf = emf;
        return circuit_.AddElement(record, Point(end1), Point(end2)).element;
    }

private:
    Circuit& circuit_;
    std::vector<CircuitPoint*> points_;
};

}  // namespace kelno::testing
