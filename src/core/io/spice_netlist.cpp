#include "io/spice_netlist.h"

#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <vector>

#include "text/number_text.h"

namespace kelno {

namespace {

// Joins points into groups; finds the group of a point in nearly constant time.
struct PointGroups {
    std::vector<std::int32_t> parent;

    explicit PointGroups(std::size_t count) : parent(count) {
        std::iota(parent.begin(), parent.end(), 0);
    }
    std::int32_t Find(std::int32_t point) {
        while (parent[point] != point) {
            parent[point] = parent[parent[point]];
            point = parent[point];
        }
        return point;
    }
    // Returns false when the two were in one group already.
    bool Join(std::int32_t a, std::int32_t b) {
        a = Find(a);
        b = Find(b);
        if (a == b) {
            return false;
        }
        parent[std::max(a, b)] = std::min(a, b);
        return true;
    }
};

std::string Node(std::int32_t point) {
    return "n" + std::to_string(point);
}

std::string Value(double value) {
    return ShortestRoundTrip(value);
}

// Elements by their list position with their end points' list positions.
struct Branch {
    const CircuitElement* element;
    std::int32_t end1;
    std::int32_t end2;
};

std::vector<Branch> Branches(const Circuit& circuit) {
    std::unordered_map<const CircuitPoint*, std::int32_t> numberOf;
    std::int32_t number = 0;
    for (const CircuitPoint& point : circuit.points()) {
        numberOf.emplace(&point, number++);
    }
    std::vector<Branch> branches;
    for (const CircuitElement& element : circuit.elements()) {
        branches.push_back({&element, numberOf.at(element.end1()), numberOf.at(element.end2())});
    }
    return branches;
}

// A 0 V branch whose ends are joined by 0 V branches already would make a loop of voltage
// sources, which a SPICE engine cannot solve: its current is not determined. The first
// such branches in list order are kept.
std::vector<bool> ClosesLoopOfZeroVoltSources(const std::vector<Branch>& branches,
                                              std::size_t pointCount) {
    PointGroups groups(pointCount);
    std::vector<bool> closes(branches.size(), false);
    for (std::size_t k = 0; k < branches.size(); ++k) {
        const CircuitElement& e = *branches[k].element;
        if (!e.IsOpenSwitch() && e.resistance == 0.0 && e.emf == 0.0) {
            closes[k] = !groups.Join(branches[k].end1, branches[k].end2);
        }
    }
    return closes;
}

void WriteHeader(std::string& out) {
    out += "* Kelno circuit: DC operating point\n";
    out += "* Node n<i> is point i. The current of element k from its end1 to its end2 is\n";
    out += "* minus the current of V<k> where there is one, else the current through R<k>.\n";
}

}  // namespace

bool WriteSpiceNetlist(const Circuit& circuit, std::string& out, std::string& error) {
    const std::vector<Branch> branches = Branches(circuit);
    for (std::size_t k = 0; k < branches.size(); ++k) {
        const CircuitElement& e = *branches[k].element;
        if (!e.IsOpenSwitch() && (!std::isfinite(e.resistance) || !std::isfinite(e.emf))) {
            error =
                "素子 " + std::to_string(k) + " の値が有限の数ではないため、ﾈｯﾄﾘｽﾄにできません。";
            return false;
        }
    }
    const std::vector<bool> closesLoop =
        ClosesLoopOfZeroVoltSources(branches, circuit.PointCount());
    PointGroups pieces(circuit.PointCount());
    std::vector<bool> used(circuit.PointCount(), false);

    out.clear();
    WriteHeader(out);
    for (std::size_t k = 0; k < branches.size(); ++k) {
        const auto& [element, end1, end2] = branches[k];
        const std::string id = std::to_string(k);
        if (element->IsOpenSwitch()) {
            out += "* element " + id + ": open switch, left out\n";
            continue;
        }
        const bool sourceAlone = element->resistance == 0.0;
        if (closesLoop[k] || (sourceAlone && end1 == end2)) {
            out += "* element " + id + ": " + Node(end1) + " and " + Node(end2) +
                   " are joined without resistance already, left out\n";
            continue;
        }
        if (sourceAlone) {
            out += "V" + id + " " + Node(end2) + " " + Node(end1) + " DC " + Value(element->emf) +
                   "\n";
        } else if (element->emf != 0.0) {
            out += "V" + id + " " + Node(end2) + " m" + id + " DC " + Value(element->emf) + "\n";
            out +=
                "R" + id + " m" + id + " " + Node(end1) + " " + Value(element->resistance) + "\n";
        } else {
            out += "R" + id + " " + Node(end1) + " " + Node(end2) + " " +
                   Value(element->resistance) + "\n";
        }
        pieces.Join(end1, end2);
        used[end1] = used[end2] = true;
    }
    for (std::size_t point = 0; point < used.size(); ++point) {
        const auto p = static_cast<std::int32_t>(point);
        if (used[point] && pieces.Find(p) == p) {
            out += "RG" + std::to_string(point) + " " + Node(p) + " 0 1\n";
        }
    }
    out += ".op\n.end\n";
    return true;
}

}  // namespace kelno
