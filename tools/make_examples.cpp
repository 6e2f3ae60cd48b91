// Writes the classroom example circuits into a folder, built and analysed by the core just
// as the editor would save them.
#include <cstdio>
#include <string>

#include "analysis/analyze.h"
#include "io/file_bytes.h"
#include "io/kel_file.h"
#include "model/circuit.h"

namespace {

using kelno::Circuit;
using kelno::CircuitPoint;
using kelno::ElementKind;

struct Component {
    CircuitPoint* end1;
    CircuitPoint* end2;
};

// A component as a tool places it: ends 400 units apart, horizontally, around (x, y);
// `reversed` puts end1 on the right.
Component Place(Circuit& circuit, ElementKind kind, int x, int y, bool reversed = false) {
    CircuitPoint* left = circuit.AddPoint(0, x - 200, y);
    CircuitPoint* right = circuit.AddPoint(0, x + 200, y);
    Component c = reversed ? Component{right, left} : Component{left, right};
    circuit.AddElement(kelno::DefaultRecord(kind), c.end1, c.end2);
    return c;
}

void Wire(Circuit& circuit, CircuitPoint* from, CircuitPoint* to) {
    circuit.AddElement(kelno::DefaultRecord(ElementKind::Wire), from, to);
}

bool Save(const std::string& folder, const char* name, Circuit& circuit, const char* comment) {
    kelno::Analyze(circuit);
    kelno::KelFileContents contents;
    contents.window = {100, 100, 1000, 800};
    contents.commentText = comment;
    std::string error;
    const std::string path = folder + "/" + name;
    if (!kelno::WriteFileAtomically(path, kelno::WriteKel(circuit, contents), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelno-make-examples FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    {
        Circuit c;
        Component battery = Place(c, ElementKind::Battery, 500, -300);
        Component bulb = Place(c, ElementKind::Bulb, 500, -800, true);
        Wire(c, battery.end2, bulb.end1);
        Wire(c, bulb.end2, battery.end1);
        ok &= Save(folder, "bulb-and-battery.kel", c, "");
    }
    {
        Circuit c;
        Component battery = Place(c, ElementKind::Battery, 800, -300);
        Component bulbA = Place(c, ElementKind::Bulb, 1100, -900, true);
        Component bulbB = Place(c, ElementKind::Bulb, 500, -900, true);
        CircuitPoint* topRight = c.AddPoint(0, 1300, -300);
        CircuitPoint* topLeft = c.AddPoint(0, 300, -300);
        Wire(c, battery.end2, topRight);
        Wire(c, topRight, bulbA.end1);
        Wire(c, bulbA.end2, bulbB.end1);
        Wire(c, bulbB.end2, topLeft);
        Wire(c, topLeft, battery.end1);
        ok &= Save(folder, "bulbs-in-series.kel", c, "");
    }
    {
        Circuit c;
        Component battery = Place(c, ElementKind::Battery, 700, -300);
        Component bulbA = Place(c, ElementKind::Bulb, 700, -700);
        Component bulbB = Place(c, ElementKind::Bulb, 700, -1100);
        Wire(c, battery.end1, bulbA.end1);
        Wire(c, bulbA.end1, bulbB.end1);
        Wire(c, battery.end2, bulbA.end2);
        Wire(c, bulbA.end2, bulbB.end2);
        ok &= Save(folder, "bulbs-in-parallel.kel", c, "");
    }
    {
        // The ammeter in series with the bulb, the voltmeter across it.
        Circuit c;
        Component battery = Place(c, ElementKind::Battery, 500, -300);
        Component ammeter = Place(c, ElementKind::Ammeter, 1100, -300);
        Component bulb = Place(c, ElementKind::Bulb, 1100, -800, true);
        Component voltmeter = Place(c, ElementKind::Voltmeter, 1100, -1200, true);
        CircuitPoint* bottomLeft = c.AddPoint(0, 300, -800);
        Wire(c, battery.end2, ammeter.end1);
        Wire(c, ammeter.end2, bulb.end1);
        Wire(c, bulb.end2, bottomLeft);
        Wire(c, bottomLeft, battery.end1);
        Wire(c, bulb.end1, voltmeter.end1);
        Wire(c, bulb.end2, voltmeter.end2);
        ok &= Save(folder, "meters.kel", c, "");
    }
    {
        Circuit c;
        Component battery = Place(c, ElementKind::Battery, 500, -300);
        Component sw = Place(c, ElementKind::Switch, 1100, -300);
        Component bulb = Place(c, ElementKind::Bulb, 800, -800, true);
        CircuitPoint* bottomRight = c.AddPoint(0, 1300, -800);
        CircuitPoint* bottomLeft = c.AddPoint(0, 300, -800);
        Wire(c, battery.end2, sw.end1);
        Wire(c, sw.end2, bottomRight);
        Wire(c, bottomRight, bulb.end1);
        Wire(c, bulb.end2, bottomLeft);
        Wire(c, bottomLeft, battery.end1);
        ok &= Save(folder, "switch.kel", c, "");
    }
    return ok ? 0 : 1;
}
