#!/usr/bin/env python3
"""The WebAssembly build of kelno-cli (under node) against the desktop's, byte for byte:
analyze --json and every convert on the examples and on generated circuits (grids in
natural and shuffled order, ladders, random classroom mixes, shorts), and draw-calls of
every example in every drawing mode.

    python3 tests/web/compare_with_desktop.py build/default/src/cli/kelno-cli \
        build/web/src/cli/kelno-cli.js examples
"""
import argparse
import os
import random
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "oracle"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))
import analysis_oracle  # noqa: E402  (random classroom circuits)
import make_grid_circuit  # noqa: E402  (grids and the .kel writer)

DRAW_MODES = [[], ["--grid"], ["--no-flow"], ["--explain"], ["--predict"], ["--potentials"],
              ["--grid", "--explain", "--potentials", "--size", "640x480"]]


def ladder(rungs, rng):
    points = [(200 + 300 * (i // 2), -200 - 400 * (i % 2)) for i in range(2 * rungs + 2)]
    elements = [(0, 1, 1, 0.1, 1.5)]
    for i in range(rungs):
        a, b = 2 * i, 2 * i + 1
        elements.append((a, a + 2, 2, rng.choice([1.0, 4.7, 10.0]), 0.0))
        elements.append((a + 2, b + 2, 5, 5.0, 0.0))
        elements.append((b, b + 2, 0, 0.0, 0.0))
    return points, elements


def shorted(rng):
    points = [(200, -200), (600, -200), (600, -600)]
    return points, [(0, 1, 1, 0.0, rng.uniform(0.5, 9.0)), (1, 2, 0, 0.0, 0.0),
                    (2, 0, -1, 0.0, 0.0)]


def generated_circuits(count):
    rng = random.Random(2026)
    circuits = []
    for size in range(2, 9):
        points = [(200 + 300 * c, -200 - 300 * r) for r in range(size) for c in range(size)]
        elements = make_grid_circuit.grid_elements(size)
        circuits.append((points, elements))
        circuits.append((points, make_grid_circuit.shuffled(elements, size)))
    for rungs in range(1, 12):
        circuits.append(ladder(rungs, rng))
    for _ in range(8):
        circuits.append(shorted(rng))
    categories = [analysis_oracle.CONDITIONED, analysis_oracle.CLASSROOM, analysis_oracle.WILD]
    while len(circuits) < count:
        points, elements = analysis_oracle.random_circuit(rng, rng.choice(categories))
        circuits.append((points, [(e.end1, e.end2, e.kind, e.resistance, e.emf)
                                  for e in elements]))
    return circuits


def run(command, outputs):
    result = subprocess.run(command, capture_output=True, timeout=120)
    files = []
    for path in outputs:
        with open(path, "rb") if os.path.exists(path) else open(os.devnull, "rb") as f:
            files.append(f.read())
        if os.path.exists(path):
            os.remove(path)
    return result.returncode, result.stdout, result.stderr, files


def compare(native, web, work, name, args, outputs=()):
    """Runs one command with both tools; returns a description of the difference, if any."""
    tag = f"{os.getpid()}-{abs(hash((name, tuple(args))))}"
    native_out = [os.path.join(work, f"n-{tag}-{o}") for o in outputs]
    web_out = [os.path.join(work, f"w-{tag}-{o}") for o in outputs]
    a = run([native] + args + native_out, native_out)
    b = run(["node", web] + args + web_out, web_out)
    # The error texts name the output files, which differ only by their prefix.
    b_err = b[2].replace(b"/w-", b"/n-")
    if (a[0], a[1], a[2], a[3]) != (b[0], b[1], b_err, b[3]):
        return (f"{name} {' '.join(args[:1])} {' '.join(args[2:])} {' '.join(outputs)}: "
                f"exit {a[0]}/{b[0]}, stderr {a[2][:200]!r} / {b_err[:200]!r}")
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("native")
    parser.add_argument("web")
    parser.add_argument("examples")
    parser.add_argument("--count", type=int, default=200)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:
        files = sorted(os.path.join(args.examples, f) for f in os.listdir(args.examples)
                       if f.endswith(".kel"))
        for i, (points, elements) in enumerate(generated_circuits(args.count)):
            path = os.path.join(work, f"generated-{i:03}.kel")
            with open(path, "wb") as f:
                f.write(make_grid_circuit.kel_bytes(points, elements))
            files.append(path)

        jobs = []
        for path in files:
            name = os.path.basename(path)
            jobs.append((name, ["analyze", path, "--json"], ()))
            jobs.append((name, ["convert", path], ("out.kel",)))
            jobs.append((name, ["convert", path], ("out.txt",)))
            jobs.append((name, ["convert", path], ("out.cir",)))
        for path in files[:len(os.listdir(args.examples))]:
            for mode in DRAW_MODES:
                jobs.append((os.path.basename(path), ["draw-calls", path] + mode, ()))

        with ThreadPoolExecutor(max_workers=2) as pool:
            differences = [d for d in pool.map(
                lambda job: compare(args.native, args.web, work, *job), jobs) if d]
    for difference in differences[:20]:
        print("differs:", difference)
    print(f"{len(jobs) - len(differences)} passed, {len(differences)} failed "
          f"({len(files)} circuits)")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
