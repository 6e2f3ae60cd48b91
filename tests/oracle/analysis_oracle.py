#!/usr/bin/env python3
"""Checks `kelno-cli analyze --json` on random circuits that nobody has looked at.

Two independent checks per circuit:
  1. A second, literal implementation of the loop analysis in Python (below) must give
     exactly the same doubles, bit for bit, and the same success flag.
  2. ngspice, on the netlist that `kelno-cli convert` writes for physical circuits (no negative resistance, no ideal source) that the
     analysis solves, for the current of every element that has resistance. On
     well-conditioned circuits (every resistance between 1 and 100 ohms) the two must
     agree to within a micro-ampere. On classroom circuits (0.001-ohm ammeters,
     100000-ohm voltmeters, 0.1-ohm batteries) the differences are reported only: the
     sweeps stop once no update exceeds 1e-8 A, and a voltmeter's 100000 ohms shared with
     a 0.1-ohm loop turn such a step into a residual of 1e-3 V there.

usage: analysis_oracle.py KELNO_CLI [--count N] [--seed S] [--keep DIR] [--no-spice]
                           [--require-spice]
"""
import argparse
import json
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from kel_support import kel_bytes  # noqa: E402

WIRE, BATTERY, RESISTOR, AMMETER, VOLTMETER, BULB, SWITCH = 0, 1, 2, 3, 4, 5, 6
DEFAULTS = {BATTERY: (0.1, 1.5), RESISTOR: (100.0, 0.0), AMMETER: (0.001, 0.0),
            VOLTMETER: (100000.0, 0.0), BULB: (5.0, 0.0), SWITCH: (0.0, 0.0)}
CURRENT_LIMIT = 1000000.0
CONVERGENCE = 1e-8
MAX_SWEEPS = 1000000
WEIGHT_FACTOR = 1e-10


class Element:
    def __init__(self, kind, end1, end2, resistance, emf):
        self.kind, self.end1, self.end2 = kind, end1, end2
        self.resistance, self.emf = resistance, emf

    def is_open_switch(self):
        return self.kind == SWITCH and self.resistance != 0.0


# ---------------------------------------------------------------- the reference analysis

class SweepBudgetExceeded(Exception):
    pass


def reference_analysis(point_count, elements, sweep_budget):
    """Returns (ok, currents) exactly as the program's loop analysis defines them."""
    m = len(elements)
    links = [dict() for _ in range(point_count)]  # neighbour -> element, ordered by neighbour
    linked = []
    for k, e in enumerate(elements):
        if e.end1 in links[e.end2]:
            linked.append(False)
        else:
            links[e.end2][e.end1] = k
            links[e.end1][e.end2] = k
            linked.append(True)

    for e in elements:
        if not e.is_open_switch() and not (math.isfinite(e.resistance) and math.isfinite(e.emf)):
            return False, [0.0] * m

    step = [None] * m
    for k, e in enumerate(elements):
        if linked[k] and not e.is_open_switch():
            step[k] = k
    for k, e in enumerate(elements):
        if linked[k] or e.is_open_switch() or e.end1 == e.end2:
            continue
        holder = links[e.end1].get(e.end2)
        if holder is not None and elements[holder].is_open_switch() and step[holder] is None:
            step[holder] = k

    weight = [e.resistance for e in elements]

    def find_loop(k):
        e = elements[k]
        if e.is_open_switch():
            return None
        start, target = e.end1, e.end2
        distance = [-1.0] * point_count
        reached = [False] * point_count
        predecessor = [None] * point_count
        distance[start] = 0.0
        reached[start] = True
        while not reached[target]:
            best = None
            for p in range(point_count):
                if not reached[p]:
                    continue
                for q in sorted(links[p]):
                    g = step[links[p][q]]
                    if g is None or g == k or reached[q]:
                        continue
                    length = distance[p] + weight[g]
                    if best is None or length < best[0]:
                        best = (length, p, q)
            if best is None:
                return None
            length, p, q = best
            distance[q] = length
            reached[q] = True
            predecessor[q] = p
        path = [(k, True)]
        here = target
        while here != start:
            p = predecessor[here]
            g = step[links[here][p]]
            path.append((g, elements[g].end1 == here))
            here = p
        return path

    covered = [False] * m
    loops = []
    for k in range(m):
        if covered[k]:
            continue
        path = find_loop(k)
        if path is None:
            continue
        for f, _ in path:
            covered[f] = True
            weight[f] *= WEIGHT_FACTOR
        loops.append(path)

    n = len(loops)
    refs = [[] for _ in range(m)]
    self_r = [0.0] * n
    drive = [0.0] * n
    for u, path in enumerate(loops):
        for f, forward in path:
            sign = 1.0 if forward else -1.0
            if elements[f].resistance != 0.0:
                refs[f].append((u, sign))
            self_r[u] += elements[f].resistance
            drive[u] += sign * elements[f].emf
    mutual = [[0.0] * n for _ in range(n)]
    for f in range(m):
        r = elements[f].resistance
        for i in range(len(refs[f])):
            for j in range(i + 1, len(refs[f])):
                a, sa = refs[f][i]
                b, sb = refs[f][j]
                t = -(sa * sb * r)
                mutual[a][b] += t
                mutual[b][a] += t

    loop_current = [0.0] * n
    sweeps = 0
    changed = True
    while changed:
        if sweeps == MAX_SWEEPS:
            return False, [0.0] * m
        if sweeps == sweep_budget:
            raise SweepBudgetExceeded()
        sweeps += 1
        changed = False
        for u in range(n):
            if self_r[u] == 0.0:
                if drive[u] == 0.0:
                    continue
                return False, [0.0] * m
            x = drive[u] / self_r[u]
            if not abs(x) <= CURRENT_LIMIT:
                return False, [0.0] * m
            delta = x - loop_current[u]
            if abs(delta) < CONVERGENCE:
                continue
            loop_current[u] = x
            changed = True
            row = mutual[u]
            for t in range(n):
                if t != u:
                    drive[t] += delta * row[t]

    currents = [0.0] * m
    for u, path in enumerate(loops):
        for f, forward in path:
            if forward:
                currents[f] += loop_current[u]
            else:
                currents[f] -= loop_current[u]
    return True, currents


# ---------------------------------------------------------------- random circuits

def random_value(rng, low, high):
    """Log-uniform, with a rough number of digits so values are not all round."""
    return math.exp(rng.uniform(math.log(low), math.log(high)))


# Kinds of circuits: "conditioned" ones are checked against ngspice strictly, "classroom"
# ones (with ammeters) are compared and reported, "wild" ones (negative and zero
# resistances) only against the reference.
CONDITIONED, CLASSROOM, WILD = "conditioned", "classroom", "wild"


def random_circuit(rng, category):
    point_count = rng.randint(2, 12)
    element_count = rng.randint(1, 22)
    kinds = [WIRE, WIRE, WIRE, -1, BATTERY, BATTERY, RESISTOR, AMMETER, VOLTMETER, BULB, BULB,
             SWITCH]
    if category == CONDITIONED:
        kinds.remove(AMMETER)
        kinds.remove(VOLTMETER)
    elements = []
    for _ in range(element_count):
        kind = rng.choice(kinds)
        end1 = rng.randrange(point_count)
        end2 = rng.randrange(point_count) if rng.random() > 0.05 else end1
        if kind <= 0:
            resistance, emf = 0.0, 0.0
        else:
            resistance, emf = DEFAULTS[kind]
            roll = rng.random()
            if kind == SWITCH:
                resistance = 1.0 if roll < 0.3 else 0.0
            elif kind == BATTERY and category == CONDITIONED:
                resistance, emf = random_value(rng, 1.0, 5.0), rng.uniform(-9.0, 9.0)
            elif kind == BATTERY and roll < 0.5:
                resistance, emf = random_value(rng, 0.05, 5.0), rng.uniform(-9.0, 9.0)
            elif kind in (RESISTOR, BULB) and category == CONDITIONED:
                resistance = random_value(rng, 1.0, 100.0)
            elif kind in (RESISTOR, BULB) and roll < 0.6:
                resistance = random_value(rng, 0.5, 2000.0)
            if category == WILD and rng.random() < 0.08:
                resistance = rng.choice([0.0, -resistance - 1.0, rng.uniform(-50, 50)])
        elements.append(Element(kind, end1, end2, resistance, emf))
    points = [(rng.randrange(0, 3000), -rng.randrange(0, 2000)) for _ in range(point_count)]
    return points, elements


# ---------------------------------------------------------------- ngspice

def spice_currents(cli, kel_path, workdir):
    """Element currents (end1 -> end2) from ngspice on the netlist that `kelno-cli convert`
    writes, or None if ngspice found no solution.

    The current of element k is minus the current of V<k> where the netlist has one, and
    otherwise the current through R<k>."""
    netlist_path = os.path.join(workdir, "circuit.cir")
    convert = subprocess.run([cli, "convert", kel_path, netlist_path], capture_output=True,
                             text=True, timeout=60)
    if convert.returncode != 0:
        return None
    with open(netlist_path) as f:
        lines = [line for line in f.read().splitlines() if line not in (".op", ".end")]
    sources = {int(m.group(1)) for m in (re.match(r"V(\d+) ", line) for line in lines) if m}
    resistors = {int(m.group(1)) for m in (re.match(r"R(\d+) ", line) for line in lines) if m}
    probes = {k: f"i(v{k})" for k in sources}
    probes.update({k: f"@r{k}[i]" for k in resistors - sources})
    if not probes:
        return {}
    lines += [".control", "set numdgt=16", "op"] + [f"print {probe}" for probe in probes.values()]
    lines += [".endc", ".end"]
    with open(netlist_path, "w") as f:
        f.write("\n".join(lines) + "\n")
    run = subprocess.run(["ngspice", "-b", netlist_path], capture_output=True, text=True,
                         timeout=60)
    printed = {}
    for match in re.finditer(r"^(\S+) = ([-+0-9.eE]+)$", run.stdout, re.MULTILINE):
        printed[match.group(1).lower()] = float(match.group(2))
    found = {}
    for k, probe in probes.items():
        if probe not in printed:
            return None
        found[k] = -printed[probe] if k in sources else printed[probe]
    return found


# ---------------------------------------------------------------- fixed circuits

def check_parallel_resistors(cli, workdir, use_spice, count=300):
    """`count` equal 10-ohm resistors between two points, then a default battery across
    them: too many loops sharing one resistor for the sweeps to settle, so the program
    solves the equations directly. Returns a problem, or None."""
    path = os.path.join(workdir, "parallel.kel")
    points = [(0, 0), (400, 0)]
    elements = [(0, 1, RESISTOR, 10.0, 0.0)] * count + [(0, 1, BATTERY, 0.1, 1.5)]
    with open(path, "wb") as f:
        f.write(kel_bytes(points, elements))
    run = subprocess.run([cli, "analyze", path, "--json"], capture_output=True, text=True,
                         timeout=120)
    if run.returncode != 0:
        return f"parallel resistors: kelno-cli exit {run.returncode}: {run.stderr.strip()}"
    result = json.loads(run.stdout)
    if not result["ok"] or not result["solvedDirectly"]:
        return f"parallel resistors: ok={result['ok']}, short={result['short']}"
    got = [e["current"] for e in result["elements"]]
    expected = 1.5 / (0.1 + 10.0 / count)
    if abs(got[-1] - expected) > 1e-9 * expected:
        return f"parallel resistors: battery {got[-1]!r}, Ohm's law {expected!r}"
    if use_spice:
        spice = spice_currents(cli, path, workdir)
        if spice is None:
            return "parallel resistors: ngspice found no solution"
        for k, current in spice.items():
            if abs(current - got[k]) > 1e-6:
                return f"parallel resistors: element {k}: kelno-cli {got[k]!r}, ngspice {current!r}"
    return None


# ---------------------------------------------------------------- the run

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--count", type=int, default=400)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--keep", help="keep the circuits that fail in this folder")
    parser.add_argument("--no-spice", action="store_true")
    parser.add_argument("--require-spice", action="store_true",
                        help="fail when ngspice is not installed")
    args = parser.parse_args()
    if args.require_spice and shutil.which("ngspice") is None:
        print("ngspice is not installed (scripts/setup.sh --tests installs it)")
        return 1
    seed = args.seed if args.seed is not None else random.SystemRandom().randrange(1 << 30)
    rng = random.Random(seed)
    use_spice = not args.no_spice and shutil.which("ngspice") is not None
    print(f"seed {seed}; ngspice {'used' if use_spice else 'not used'}")

    failures = 0
    exact = skipped = shorts = 0
    spice_checked = {CONDITIONED: 0, CLASSROOM: 0}
    worst = {CONDITIONED: 0.0, CLASSROOM: 0.0}
    beyond = 0  # classroom currents more than a micro-ampere from ngspice
    with tempfile.TemporaryDirectory() as workdir:
        problem = check_parallel_resistors(args.cli, workdir, use_spice)
        if problem:
            failures += 1
            print(problem)
        path = os.path.join(workdir, "circuit.kel")
        for index in range(args.count):
            category = (CONDITIONED, CLASSROOM, WILD)[index % 3]
            points, elements = random_circuit(rng, category)
            with open(path, "wb") as f:
                f.write(kel_bytes(points, [(e.end1, e.end2, e.kind, e.resistance, e.emf)
                                          for e in elements]))
            run = subprocess.run([args.cli, "analyze", path, "--json"], capture_output=True,
                                 text=True, timeout=120)
            problem = None
            if run.returncode != 0:
                problem = f"kelno-cli exit {run.returncode}: {run.stderr.strip()}"
            else:
                result = json.loads(run.stdout)
                got = [e["current"] for e in result["elements"]]
                try:
                    ok, expected = reference_analysis(len(points), elements, 20000)
                except SweepBudgetExceeded:
                    skipped += 1
                    continue
                if ok != result["ok"] or any(
                        g is None or float(g).hex() != e.hex() for g, e in zip(got, expected)):
                    problem = f"reference gives ok={ok} {expected}, kelno-cli ok={result['ok']} {got}"
                else:
                    exact += 1
                    shorts += 0 if ok else 1
                    if use_spice and category != WILD and ok:
                        spice = spice_currents(args.cli, path, workdir)
                        if spice is None:
                            problem = "ngspice found no solution"
                        else:
                            spice_checked[category] += 1
                            for k, current in spice.items():
                                if elements[k].resistance <= 0.0:
                                    continue
                                difference = abs(current - got[k])
                                worst[category] = max(worst[category], difference)
                                if difference <= 1e-6:
                                    continue
                                if category == CLASSROOM:
                                    beyond += 1
                                else:
                                    problem = (f"element {k}: kelno-cli {got[k]!r}, "
                                               f"ngspice {current!r}")
            if problem:
                failures += 1
                print(f"circuit {index}: {problem}")
                if args.keep:
                    os.makedirs(args.keep, exist_ok=True)
                    shutil.copy(path, os.path.join(args.keep, f"seed{seed}-circuit{index}.kel"))

    print(f"{args.count} circuits: {exact} bit-exact against the reference ({shorts} shorts), "
          f"{skipped} skipped there (slow sweeps); against ngspice "
          f"{spice_checked[CONDITIONED]} well-conditioned (largest difference "
          f"{worst[CONDITIONED]:.3g} A) and {spice_checked[CLASSROOM]} with ammeters (largest "
          f"difference {worst[CLASSROOM]:.3g} A, {beyond} currents beyond 1e-6 A); "
          f"{failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
