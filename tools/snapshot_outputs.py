#!/usr/bin/env python3
"""Writes every picture and conversion kelno-cli makes of the examples and of the classroom
test circuits, in eight sets of picture options and four picture formats, with a log of exit
statuses and messages, so that two builds can be compared file by file:

    python3 tools/snapshot_outputs.py OLD/kelno-cli /tmp/before
    python3 tools/snapshot_outputs.py build/default/src/cli/kelno-cli /tmp/after
    for f in $(ls /tmp/before); do cmp -s /tmp/before/$f /tmp/after/$f || echo DIFF $f; done

PDF creation dates are blanked; the log names its folder, so compare logs with it replaced.
"""
import os, subprocess, sys, re
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
sys.path.insert(0, os.path.join(ROOT, "tests", "cli"))
from kel_support import kel_bytes as kel
import classroom_render_test as c
cli, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
src = os.path.join(out, "src"); os.makedirs(src, exist_ok=True)
sources = {}
ex = os.path.join(ROOT, "examples")
for n in sorted(os.listdir(ex)):
    if n.endswith(".kel"): sources[n[:-4]] = os.path.join(ex, n)
for name, (points, elements, options) in c.CIRCUITS.items():
    p = os.path.join(src, name + ".kel"); open(p, "wb").write(kel(points, elements, options=options)); sources[name] = p
p = os.path.join(src, "ring.kel"); open(p, "wb").write(kel(*c.RING)); sources["ring"] = p
opts = [(), ("--grid",), ("--no-flow",), ("--explain",), ("--predict",), ("--potentials",), ("--predict","--potentials"), ("--size","400x300","--grid","--explain")]
log = open(os.path.join(out, "log.txt"), "w")
for name, path in sources.items():
    for i, o in enumerate(opts):
        for ext in ("png", "bmp", "svg", "pdf"):
            f = os.path.join(out, f"{name}-{i}.{ext}")
            r = subprocess.run([cli, "render", path, "-o", f, *o], capture_output=True, text=True)
            log.write(f"{name} {i} {ext} rc={r.returncode} err={r.stderr!r}\n")
    for ext in ("kel", "txt", "cir"):
        f = os.path.join(out, f"{name}-conv.{ext}")
        r = subprocess.run([cli, "convert", path, f], capture_output=True, text=True)
        log.write(f"{name} convert {ext} rc={r.returncode} err={r.stderr!r}\n")
    txt = os.path.join(out, f"{name}-conv.txt")
    if os.path.exists(txt):
        r = subprocess.run([cli, "convert", txt, os.path.join(out, f"{name}-back.kel")], capture_output=True, text=True)
        log.write(f"{name} back rc={r.returncode} err={r.stderr!r}\n")
# failures
for args in (["render", sources["ring"], "-o", "/nonexistent/a.png"], ["render", sources["ring"], "-o", "/nonexistent/a.bmp"],
             ["render", sources["ring"], "-o", "/nonexistent/a.svg"], ["render", sources["ring"], "-o", "/nonexistent/a.pdf"],
             ["render", sources["ring"], "-o", "a.gif"], ["convert", sources["ring"], "/nonexistent/a.cir"],
             ["convert", sources["ring"], "/nonexistent/a.kel"], ["convert", sources["ring"], "a.doc"], ["convert"], ["render"]):
    r = subprocess.run([cli, *args], capture_output=True, text=True)
    log.write(f"{args[0]} {args[-1]} rc={r.returncode} out={r.stdout!r} err={r.stderr!r}\n")
# strip pdf creation date
for n in os.listdir(out):
    if n.endswith(".pdf"):
        b = open(os.path.join(out, n), "rb").read()
        b = re.sub(rb"/CreationDate \([^)]*\)", b"/CreationDate ()", b)
        open(os.path.join(out, n), "wb").write(b)
