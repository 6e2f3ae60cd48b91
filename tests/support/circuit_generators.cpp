#include "circuit_generators.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace kelno::testing {

namespace {

// splitmix64: small, and the same numbers on every platform and standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < bound.
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    // 0.0 <= result < 1.0.
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    bool Chance(double p) { return Unit() < p; }
    // Log-uniform between low and high.
    double Spread(double low, double high) {
        return std::exp(std::log(low) + Unit() * (std::log(high) - std::log(low)));
    }

    template <class T>
    void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i) {
            std::swap(items[i - 1], items[static_cast<std::size_t>(Below(static_cast<int>(i)))]);
        }
    }

private:
    std::uint64_t state_;
};

struct Branch {
    int end1;
    int end2;
    ElementRecord record;
};

ElementRecord Record(ElementKind kind, double resistance, double emf = 0.0) {
    ElementRecord record = DefaultRecord(kind);
    record.resistance = resistance;
    record.emf = emf;
    return record;
}

// Adds the points in `pointOrder` (grid numbers in creation order) and then the branches.
Circuit Assemble(int cols, const std::vector<int>& pointOrder,
                 const std::vector<Branch>& branches) {
    Circuit circuit;
    std::vector<CircuitPoint*> points(pointOrder.size());
    std::int32_t serial = 0;
    for (const int number : pointOrder) {
        points[number] =
            circuit.AddPoint(serial++, 200 + 300 * (number % cols), -200 - 300 * (number / cols));
    }
    for (const Branch& branch : branches) {
        circuit.AddElement(branch.record, points[branch.end1], points[branch.end2]);
    }
    return circuit;
}

std::vector<int> Identity(int count) {
    std::vector<int> numbers(count);
    for (int i = 0; i < count; ++i) {
        numbers[i] = i;
    }
    return numbers;
}

// The grid's branches row by row, each made by `record` from its position in that order,
// and a default battery across opposite corners.
template <class MakeRecord>
std::vector<Branch> GridBranches(int rows, int cols, MakeRecord record) {
    std::vector<Branch> branches;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const int here = row * cols + col;
            if (col + 1 < cols) {
                branches.push_back({here, here + 1, record(branches.size())});
            }
            if (row + 1 < rows) {
                branches.push_back({here, here + cols, record(branches.size())});
            }
        }
    }
    branches.push_back({0, rows * cols - 1, DefaultRecord(ElementKind::Battery)});
    return branches;
}

}  // namespace

Circuit ResistorGrid(int rows, int cols, GridOrder order, std::uint64_t seed) {
    std::vector<Branch> branches =
        GridBranches(rows, cols, [](std::size_t) { return Record(ElementKind::Resistor, 10.0); });
    std::vector<int> pointOrder = Identity(rows * cols);
    if (order == GridOrder::Shuffled) {
        Random random(seed);
        random.Shuffle(pointOrder);
        random.Shuffle(branches);
        for (Branch& branch : branches) {
            if (random.Chance(0.5)) {
                std::swap(branch.end1, branch.end2);
            }
        }
    }
    return Assemble(cols, pointOrder, branches);
}

Circuit ClassroomGrid(int rows, int cols) {
    static constexpr std::array<ElementKind, 7> kKinds{
        ElementKind::Resistor, ElementKind::Bulb,   ElementKind::Wire,   ElementKind::Ammeter,
        ElementKind::Bulb,     ElementKind::Switch, ElementKind::Battery};
    const std::vector<Branch> branches = GridBranches(rows, cols, [](std::size_t position) {
        return DefaultRecord(kKinds[position % kKinds.size()]);
    });
    return Assemble(cols, Identity(rows * cols), branches);
}

Circuit Ladder(int rungs) {
    // Points: top rail 0 .. rungs, bottom rail rungs + 1 .. 2 rungs + 1.
    const int bottom = rungs + 1;
    std::vector<Branch> branches{{bottom, 0, DefaultRecord(ElementKind::Battery)}};
    for (int i = 0; i < rungs; ++i) {
        branches.push_back({i, i + 1, Record(ElementKind::Resistor, 1.0)});
        branches.push_back({bottom + i, bottom + i + 1, Record(ElementKind::Resistor, 1.0)});
        branches.push_back({i + 1, bottom + i + 1, DefaultRecord(ElementKind::Bulb)});
    }
    return Assemble(bottom, Identity(2 * bottom), branches);
}

namespace {

double RandomResistance(Random& random, ElementKind kind, const RandomCircuitOptions& options) {
    if (kind == ElementKind::Switch) {
        // Closed, or open with some flag: 1, a negative number, anything not zero.
        static constexpr std::array<double, 4> kFlags{0.0, 0.0, 1.0, -2.5};
        return kFlags[random.Below(4)];
    }
    if (IsWire(kind)) {
        return options.zeroResistances && random.Chance(0.05) ? random.Spread(0.01, 10.0) : 0.0;
    }
    double resistance = DefaultRecord(kind).resistance;
    if (random.Chance(0.5)) {
        resistance = random.Spread(0.05, 2000.0);
    }
    if (options.zeroResistances && random.Chance(0.06)) {
        resistance = random.Chance(0.5) ? 0.0 : -0.0;
    } else if (options.negativeResistances && random.Chance(0.08)) {
        resistance = -random.Spread(0.1, 100.0);
    }
    return resistance;
}

double RandomEmf(Random& random, ElementKind kind) {
    if (kind == ElementKind::Battery) {
        return random.Chance(0.5) ? 1.5 : (random.Unit() * 18.0 - 9.0);
    }
    // Any element may carry an electromotive force; a few do, some of them as -0.0.
    if (random.Chance(0.03)) {
        return random.Chance(0.5) ? -0.0 : random.Unit() * 4.0 - 2.0;
    }
    return 0.0;
}

}  // namespace

Circuit RandomCircuit(std::uint64_t seed, const RandomCircuitOptions& options) {
    Random random(seed);
    const int pointCount = 2 + random.Below(std::max(1, options.maxPoints - 1));
    const int elementCount = 1 + random.Below(std::max(1, options.maxElements));
    static constexpr std::array<ElementKind, 12> kKinds{
        ElementKind::Wire,    ElementKind::Wire,      ElementKind::WireVerticalFirst,
        ElementKind::Battery, ElementKind::Battery,   ElementKind::Resistor,
        ElementKind::Ammeter, ElementKind::Voltmeter, ElementKind::Bulb,
        ElementKind::Bulb,    ElementKind::Switch,    ElementKind::Switch};
    std::vector<Branch> branches;
    for (int i = 0; i < elementCount; ++i) {
        const ElementKind kind = kKinds[random.Below(static_cast<int>(kKinds.size()))];
        Branch branch{
            random.Below(pointCount), random.Below(pointCount),
            Record(kind, RandomResistance(random, kind, options), RandomEmf(random, kind))};
        if (!branches.empty() && random.Chance(0.15)) {
            // Beside an earlier element, either way round: it stands without a link.
            const Branch& twin = branches[random.Below(static_cast<int>(branches.size()))];
            branch.end1 = random.Chance(0.5) ? twin.end1 : twin.end2;
            branch.end2 = branch.end1 == twin.end1 ? twin.end2 : twin.end1;
        } else if (random.Chance(0.04)) {
            branch.end2 = branch.end1;
        }
        branches.push_back(branch);
    }
    std::vector<int> pointOrder = Identity(pointCount);
    random.Shuffle(pointOrder);
    return Assemble(pointCount, pointOrder, branches);
}

}  // namespace kelno::testing
