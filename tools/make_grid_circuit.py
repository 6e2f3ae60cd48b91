#!/usr/bin/env python3
"""Writes a large test circuit: a SIZE x SIZE grid of points, neighbours joined by bulbs,
with a battery in place of the first bulb. For measuring the analysis:

    python3 tools/make_grid_circuit.py 30 /tmp/grid30.kel
    time build/default/src/cli/kelno-cli analyze /tmp/grid30.kel
"""
import struct
import sys


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    size, path = int(sys.argv[1]), sys.argv[2]
    points = [(200 + 300 * col, -200 - 300 * row) for row in range(size) for col in range(size)]
    elements = []  # (end1, end2, kind, resistance, emf)
    for row in range(size):
        for col in range(size):
            here = row * size + col
            if col + 1 < size:
                elements.append((here, here + 1, 5, 5.0, 0.0))
            if row + 1 < size:
                elements.append((here, here + size, 5, 5.0, 0.0))
    elements[0] = (elements[0][0], elements[0][1], 1, 0.1, 1.5)
    out = bytearray(struct.pack("<i4i", 106, 0, 0, 1024, 768))
    out += struct.pack("<i", len(points))
    for x, y in points:
        out += struct.pack("<ii", x, y)
    out += struct.pack("<i", len(elements))
    for end1, end2, kind, resistance, emf in elements:
        out += struct.pack("<iiiddd", end1, end2, kind, resistance, 0.0, emf)
    out += bytes([0]) + struct.pack("<iBBBi", 0, 0, 0, 1, 10)
    with open(path, "wb") as f:
        f.write(out)
    print(f"{path}: {len(points)} points, {len(elements)} elements")
    return 0


if __name__ == "__main__":
    sys.exit(main())
