#!/usr/bin/env python3
"""Writes a large test circuit: a SIZE x SIZE grid of points, neighbours joined by
10-ohm resistors, and a default battery (1.5 V, 0.1 ohm) across opposite corners. The
elements follow the grid row by row, the battery last; --shuffle puts them in a random
order with random orientations. For measuring the analysis:

    python3 tools/make_grid_circuit.py 71 /tmp/grid71.kel
    time build/default/src/cli/kelno-cli analyze /tmp/grid71.kel

With --parallel, SIZE 10-ohm resistors between the same two points instead, fed by the
battery: python3 tools/make_grid_circuit.py 100000 /tmp/parallel.kel --parallel
"""
import argparse
import random
import struct

RESISTOR, BATTERY = 2, 1


def grid_elements(size):
    """(end1, end2, kind, resistance, emf) in natural order, the battery last."""
    elements = []
    for row in range(size):
        for col in range(size):
            here = row * size + col
            if col + 1 < size:
                elements.append((here, here + 1, RESISTOR, 10.0, 0.0))
            if row + 1 < size:
                elements.append((here, here + size, RESISTOR, 10.0, 0.0))
    elements.append((0, size * size - 1, BATTERY, 0.1, 1.5))
    return elements


def shuffled(elements, seed):
    rng = random.Random(seed)
    elements = [(b, a, *rest) if rng.random() < 0.5 else (a, b, *rest)
                for a, b, *rest in elements]
    rng.shuffle(elements)
    return elements


def kel_bytes(points, elements):
    out = bytearray(struct.pack("<i4i", 106, 0, 0, 1024, 768))
    out += struct.pack("<i", len(points))
    for x, y in points:
        out += struct.pack("<ii", x, y)
    out += struct.pack("<i", len(elements))
    for end1, end2, kind, resistance, emf in elements:
        out += struct.pack("<iiiddd", end1, end2, kind, resistance, 0.0, emf)
    out += bytes([0]) + struct.pack("<iBBBi", 0, 0, 0, 1, 10)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("size", type=int)
    parser.add_argument("out")
    parser.add_argument("--shuffle", type=int, metavar="SEED",
                        help="random element order and orientations from this seed")
    parser.add_argument("--parallel", action="store_true",
                        help="SIZE resistors in parallel across the battery instead of a grid")
    args = parser.parse_args()
    size = args.size
    if args.parallel:
        points = [(200, -200), (800, -200)]
        elements = [(0, 1, RESISTOR, 10.0, 0.0)] * size + [(1, 0, BATTERY, 0.1, 1.5)]
    else:
        points = [(200 + 300 * col, -200 - 300 * row)
                  for row in range(size) for col in range(size)]
        elements = grid_elements(size)
    if args.shuffle is not None:
        elements = shuffled(elements, args.shuffle)
    with open(args.out, "wb") as f:
        f.write(kel_bytes(points, elements))
    print(f"{args.out}: {len(points)} points, {len(elements)} elements")
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
