#!/usr/bin/env python3
"""Kills `kelno-cli convert` in the middle of saves that must overwrite their target in
place (a folder the user may not write in) and counts the targets that cannot be recovered:
neither the old nor the new content whole, and no copy of the old content kept.

Run as root: the saves run as the unprivileged user nobody.

usage: measure_in_place_kills.py KELNO_CLI [--count N] [--points P] [--after F]

Each kill comes at a random moment between F (0 to 1) of the time a whole save takes and its
end; the writing comes last, after reading, analysing and keeping the copy.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "support"))
from kel_support import kel_bytes  # noqa: E402

NOBODY = 65534
HEADER = b"Kelno in-place copy\n"


def as_nobody():
    os.setgroups([])
    os.setgid(NOBODY)
    os.setuid(NOBODY)


def kept_copy(state):
    folder = os.path.join(state, "Kelno")
    if not os.path.isdir(folder):
        return None
    for name in os.listdir(folder):
        if name.endswith(".kel-copy"):
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            if data.startswith(HEADER):
                return data[data.index(b"\n", len(HEADER)) + 1:]
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--points", type=int, default=400000)
    parser.add_argument("--after", type=float, default=0.0)
    args = parser.parse_args()
    if os.geteuid() != 0:
        print("run as root")
        return 2
    rng = random.Random(19)
    work = tempfile.mkdtemp(prefix="kelno-kills-")
    os.chmod(work, 0o755)
    old = kel_bytes([(i, -i) for i in range(args.points)], [])
    new = kel_bytes([(2 * i, -3 * i) for i in range(args.points)], [])
    source = os.path.join(work, "new.kel")
    with open(source, "wb") as f:
        f.write(new)
    folder = os.path.join(work, "readonly")
    state = os.path.join(work, "state")
    env = dict(os.environ, XDG_STATE_HOME=state)

    def reset():
        shutil.rmtree(state, ignore_errors=True)
        os.makedirs(state)
        os.chown(state, NOBODY, NOBODY)
        if os.path.isdir(folder):
            os.chmod(folder, 0o755)
            shutil.rmtree(folder)
        os.makedirs(folder)
        target = os.path.join(folder, "homework.kel")
        with open(target, "wb") as f:
            f.write(old)
        os.chown(target, NOBODY, NOBODY)
        os.chown(folder, NOBODY, NOBODY)
        os.chmod(folder, 0o555)  # no new file can be made beside the target
        return target

    target = reset()
    start = time.monotonic()
    subprocess.run([args.cli, "convert", source, target], preexec_fn=as_nobody, env=env,
                   check=True)
    full = time.monotonic() - start
    with open(target, "rb") as f:
        assert f.read() == new, "the uninterrupted save did not write the new content"

    outcomes = {"old": 0, "new": 0, "torn, copy kept": 0, "unrecoverable": 0}
    for _ in range(args.count):
        target = reset()
        process = subprocess.Popen([args.cli, "convert", source, target], preexec_fn=as_nobody,
                                   env=env, stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(args.after * full, full))
        process.kill()
        process.wait()
        with open(target, "rb") as f:
            now = f.read()
        if now == old:
            outcomes["old"] += 1
        elif now == new and kept_copy(state) in (None, old):
            outcomes["new"] += 1
        elif kept_copy(state) == old:
            outcomes["torn, copy kept"] += 1
        else:
            outcomes["unrecoverable"] += 1
    os.chmod(folder, 0o755)
    shutil.rmtree(work)
    print(f"{args.count} kills during in-place saves of {len(new)} bytes "
          f"(a whole save takes {full:.2f} s): {outcomes}")
    return 1 if outcomes["unrecoverable"] else 0


if __name__ == "__main__":
    sys.exit(main())
