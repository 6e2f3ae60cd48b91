#!/usr/bin/env python3
"""Runs `kelno-cli analyze` on many randomly damaged copies of the example circuits and checks
that every run ends as a command-line tool should: exit status 0, or 1 with exactly one line
on stderr; never a signal; within the time and memory bounds.

usage: check_mutated_files.py KELNO_CLI [--count N] [--seed S] [--jobs J] [--keep FOLDER]
                              [--seconds T] [--megabytes M] [SOURCE.kel ...]

Without sources it damages the files of examples/ and fuzz/corpus/kel_file/. Ends with the
line "N passed, M failed" and exit status 1 when any run failed; --keep saves those inputs.
"""
import argparse
import concurrent.futures
import glob
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

INTERESTING_INTS = [0, 1, -1, 2, 7, 101, 102, 106, 107, 255, 65535, 65536, 2**31 - 1, -2**31,
                    2**30, -2**30, 1000000]
INTERESTING_DOUBLES = [float("nan"), float("inf"), float("-inf"), -1.0, -0.1, -5.0, 0.0, -0.0,
                       1e-300, 5e-324, 1e308, -1e308, 1e-7, 1e6, 1e12]


def mutate(data, sources, rng):
    """One to four random changes of the kinds a damaged or hand-made file shows."""
    data = bytearray(data)
    for _ in range(rng.randint(1, 4)):
        kind = rng.randrange(9)
        at = rng.randrange(len(data)) if data else 0
        if kind == 0 and data:  # a flipped bit
            data[at] ^= 1 << rng.randrange(8)
        elif kind == 1 and data:  # a random byte
            data[at] = rng.randrange(256)
        elif kind == 2 and len(data) >= 4:  # a 32-bit field, aligned as the format's are
            at = rng.randrange(len(data) // 4) * 4
            data[at:at + 4] = struct.pack("<i", rng.choice(INTERESTING_INTS))
        elif kind == 3 and len(data) >= 8:  # a double anywhere
            at = rng.randrange(len(data) - 7)
            data[at:at + 8] = struct.pack("<d", rng.choice(INTERESTING_DOUBLES))
        elif kind == 4:  # cut short
            del data[rng.randrange(len(data) + 1):]
        elif kind == 5 and data:  # a run of bytes removed
            del data[at:at + rng.randint(1, 40)]
        elif kind == 6:  # random bytes inserted
            data[at:at] = os.urandom(rng.randint(1, 40))
        elif kind == 7 and data:  # a piece repeated
            piece = data[at:at + rng.randint(1, 72)]
            data[at:at] = piece * rng.randint(1, 8)
        else:  # the tail of another file spliced on
            other = rng.choice(sources)
            data = data[:at] + other[rng.randrange(len(other) + 1):]
    return bytes(data)


def run_one(cli, path, seconds):
    """(exit status or -signal, stderr, wall seconds, peak memory in MB). The child is reaped
    here with wait4, which also gives its peak resident memory."""
    started = time.monotonic()
    process = subprocess.Popen([cli, "analyze", path], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)
    timer = threading.Timer(seconds + 3, process.kill)
    timer.start()
    stderr = process.stderr.read()
    process.stderr.close()
    _, status, usage = os.wait4(process.pid, 0)
    timer.cancel()
    elapsed = time.monotonic() - started
    code = -os.WTERMSIG(status) if os.WIFSIGNALED(status) else os.WEXITSTATUS(status)
    process.returncode = code  # reaped already: Popen must not wait for it again
    return code, stderr.decode("utf-8", "replace"), elapsed, usage.ru_maxrss / 1024


def judge(code, stderr, elapsed, peak, seconds, megabytes):
    """Why a run failed, or None."""
    if elapsed > seconds:
        return f"took {elapsed:.2f} s"
    if code < 0:
        return f"ended by signal {-code}"
    if code not in (0, 1):
        return f"exit status {code}"
    lines = stderr.splitlines()
    if code == 1 and (len(lines) != 1 or not lines[0].startswith("kelno-cli: ")):
        return f"exit status 1 with {len(lines)} lines on stderr: {stderr!r}"
    if code == 0 and stderr:
        return f"exit status 0 with a message: {stderr!r}"
    if peak > megabytes:
        return f"used {peak:.0f} MB"
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli")
    parser.add_argument("sources", nargs="*")
    parser.add_argument("--count", type=int, default=10000)
    parser.add_argument("--seed", type=int)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--seconds", type=float, default=2.0)
    parser.add_argument("--megabytes", type=float, default=200.0)
    parser.add_argument("--keep")
    args = parser.parse_args()

    seed = args.seed if args.seed is not None else random.randrange(2**32)
    print(f"seed {seed}")
    paths = args.sources or (sorted(glob.glob(os.path.join(ROOT, "examples", "*.kel"))) +
                             sorted(glob.glob(os.path.join(ROOT, "fuzz", "corpus", "kel_file",
                                                           "*.kel"))))
    sources = [open(p, "rb").read() for p in paths]
    rng = random.Random(seed)
    work = tempfile.mkdtemp(prefix="kelno-mutated-")
    inputs = []
    for i in range(args.count):
        path = os.path.join(work, f"{i:05d}.kel")
        with open(path, "wb") as f:
            f.write(mutate(rng.choice(sources), sources, rng))
        inputs.append(path)

    failed, exits, slowest, largest = [], {0: 0, 1: 0}, 0.0, 0.0
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        results = pool.map(lambda p: (p, run_one(args.cli, p, args.seconds)), inputs)
        for path, (code, stderr, elapsed, peak) in results:
            exits[code] = exits.get(code, 0) + 1
            slowest = max(slowest, elapsed)
            largest = max(largest, peak)
            reason = judge(code, stderr, elapsed, peak, args.seconds, args.megabytes)
            if reason:
                failed.append((path, reason))
                print(f"{os.path.basename(path)}: {reason}")
                if args.keep:
                    os.makedirs(args.keep, exist_ok=True)
                    shutil.copy(path, args.keep)
    shutil.rmtree(work)
    print(f"exit statuses: {exits}; slowest run {slowest:.2f} s; largest {largest:.0f} MB")
    print(f"{args.count - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
