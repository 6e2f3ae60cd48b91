#!/usr/bin/env python3
"""Runs kelno-cli the way a user or a script would: exit statuses, messages, JSON, files.

usage: cli_test.py KELNO_CLI EXAMPLES_FOLDER
"""
import json
import math
import os
import stat
import struct
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from kel_support import TempFolderTestCase, kel_bytes  # noqa: E402

CLI = None
EXAMPLES = None


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=60)


class CliTest(TempFolderTestCase):
    def test_help_version_and_usage_errors(self):
        help_run = run("--help")
        self.assertEqual(help_run.returncode, 0)
        self.assertIn("analyze", help_run.stdout)
        self.assertIn("convert", help_run.stdout)
        version = run("--version")
        self.assertEqual((version.returncode, version.stdout), (0, "kelno-cli 1.06\n"))
        for args in [(), ("frobnicate",), ("analyze",), ("analyze", "a.kel", "b.kel"),
                     ("analyze", "a.kel", "--colour"), ("convert", "a.kel")]:
            with self.subTest(args=args):
                result = run(*args)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, "")
                self.assertTrue(result.stderr.strip())

    def test_unusable_input_exits_with_1_and_a_japanese_message(self):
        truncated = kel_bytes([(0, 0), (400, 0)], [(0, 1, 1, 0.1, 1.5)])[:-3]
        bad_end = kel_bytes([(0, 0)], [(0, 5, 1, 0.1, 1.5)])
        cases = [
            (self.path("missing.kel"), "ﾌｧｲﾙが見つかりません。"),
            (self.write("empty.kel", b""), "予期しないﾌｧｲﾙ形式です。"),
            (self.write("short.kel", truncated), "予期しないﾌｧｲﾙ形式です。"),
            (self.write("bad.kel", bad_end), "予期しないﾌｧｲﾙ形式です。"),
            (self.write("huge.kel", struct.pack("<5ii", 106, 0, 0, 1, 1, 2000000000)),
             "予期しないﾌｧｲﾙ形式です。"),
        ]
        for path, message in cases:
            with self.subTest(path=os.path.basename(path)):
                result = run("analyze", path)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stdout, "")
                self.assertIn(message, result.stderr)
                self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)

    def test_newer_file_opens_only_when_asked(self):
        data = bytearray(kel_bytes([(0, 0), (400, 0)], [(0, 1, 5, 5.0, 0.0)]))
        data[0:4] = struct.pack("<i", 107)
        path = self.write("newer.kel", bytes(data))
        refused = run("analyze", path, "--json")
        self.assertEqual(refused.returncode, 1)
        self.assertIn("1.07", refused.stderr)
        self.assertIn("--open-newer", refused.stderr)
        opened = run("analyze", path, "--json", "--open-newer")
        self.assertEqual(opened.returncode, 0, opened.stderr)
        self.assertEqual(json.loads(opened.stdout)["version"], 107)
        out = self.path("out.kel")
        self.assertEqual(run("convert", path, out).returncode, 1)
        self.assertFalse(os.path.exists(out))
        self.assertEqual(run("convert", path, out, "--open-newer").returncode, 0)
        with open(out, "rb") as f:
            self.assertEqual(struct.unpack("<i", f.read(4))[0], 106)

    def test_json_of_the_bulb_ring(self):
        result = run("analyze", os.path.join(EXAMPLES, "bulb-and-battery.kel"), "--json")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn('"current": 0.29411764705882354', result.stdout)
        data = json.loads(result.stdout)
        self.assertEqual(list(data), ["ok", "version", "points", "elements", "potentials", "short",
                                      "solvedDirectly"])
        self.assertIs(data["ok"], True)
        self.assertIsNone(data["short"])
        self.assertIs(data["solvedDirectly"], False)
        self.assertEqual(data["potentials"][0], 0)
        self.assertEqual(data["version"], 106)
        self.assertEqual(len(data["points"]), 4)
        battery = data["elements"][0]
        self.assertEqual(list(battery), ["kind", "end1", "end2", "resistance", "emf", "current"])
        self.assertEqual((battery["kind"], battery["resistance"], battery["emf"]), (1, 0.1, 1.5))

    def test_json_reports_a_short_and_values_that_are_not_numbers(self):
        path = self.write("odd.kel", kel_bytes(
            [(0, 0), (400, 0), (800, 0)],
            [(0, 1, 1, 0.0, 1.5), (1, 0, 0, 0.0, 0.0), (1, 2, 2, math.inf, 0.0)]))
        data = json.loads(run("analyze", path, "--json").stdout)
        self.assertIs(data["ok"], False)
        # The resistor of infinite resistance is what the analysis cannot use.
        self.assertEqual(data["short"], {"reason": "non-finite-value", "elements": [2]})
        self.assertEqual(data["potentials"], [None, None, None])
        self.assertIsNone(data["elements"][2]["resistance"])
        self.assertEqual([e["current"] for e in data["elements"]], [0, 0, 0])
        table = run("analyze", path)
        self.assertEqual(table.returncode, 0)
        self.assertIn("Short", table.stdout)
        self.assertIn("閉路の素子: 2\n", table.stdout)
        self.assertIn("抵抗に有限の数でない値があります。", table.stdout)

    def test_json_names_the_loop_of_a_short(self):
        # A battery of 0 ohms (element 1) shorted by two wires, beside a healthy bulb.
        path = self.write("short.kel", kel_bytes(
            [(0, 0), (400, 0), (400, -400), (800, 0)],
            [(0, 3, 5, 5.0, 0.0), (0, 1, 1, 0.0, 1.5), (1, 2, 0, 0.0, 0.0),
             (2, 0, 0, 0.0, 0.0)]))
        data = json.loads(run("analyze", path, "--json").stdout)
        self.assertEqual(data["short"], {"reason": "zero-resistance-loop", "elements": [1, 2, 3]})
        table = run("analyze", path).stdout
        self.assertIn("閉路の素子: 1, 2, 3\n", table)
        self.assertIn("電池が導線だけで自分自身につながっているため", table)

    def test_convert_reproduces_files_that_the_program_wrote(self):
        for name in sorted(os.listdir(EXAMPLES)):
            if not name.endswith(".kel"):
                continue
            with self.subTest(example=name):
                source = os.path.join(EXAMPLES, name)
                out = self.path(name)
                result = run("convert", source, out)
                self.assertEqual(result.returncode, 0, result.stderr)
                with open(source, "rb") as a, open(out, "rb") as b:
                    self.assertEqual(a.read(), b.read())

    def test_convert_to_a_spice_netlist(self):
        ring = self.write("ring.kel", kel_bytes([(0, 0), (400, 0), (400, -400)],
                                                [(0, 1, 1, 0.1, 1.5), (1, 2, 0, 0.0, 0.0),
                                                 (2, 0, 5, 5.0, 0.0)]))
        out = self.path("ring.cir")
        result = run("convert", ring, out)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        with open(out) as f:
            cards = [line for line in f.read().splitlines() if not line.startswith("*")]
        self.assertEqual(cards, ["V0 n1 m0 DC 1.5", "R0 m0 n0 0.1", "V1 n2 n1 DC 0",
                                 "R2 n2 n0 5", "RG0 n0 0 1", ".op", ".end"])
        infinite = self.write("inf.kel", kel_bytes([(0, 0), (400, 0)],
                                                   [(0, 1, 5, math.inf, 0.0)]))
        result = run("convert", infinite, self.path("inf.cir"))
        self.assertEqual(result.returncode, 1)
        self.assertIn("有限の数ではない", result.stderr)
        self.assertFalse(os.path.exists(self.path("inf.cir")))

    def test_convert_into_a_missing_folder_fails_cleanly(self):
        source = os.path.join(EXAMPLES, "switch.kel")
        out = self.path("no/such/folder/out.kel")
        result = run("convert", source, out)
        self.assertEqual(result.returncode, 1)
        # What failed, the file and the reason, on one line for a script to read.
        self.assertEqual(result.stderr.splitlines(),
                         [f"kelno-cli: ﾌｧｲﾙに書き込めませんでした。 {out} "
                          "(ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。)"])

    def test_a_pipe_is_refused_at_once_as_input_and_as_output(self):
        pipe = self.path("pipe.kel")
        os.mkfifo(pipe)
        source = os.path.join(EXAMPLES, "switch.kel")
        for args in [("analyze", pipe), ("render", pipe, "-o", self.path("out.png")),
                     ("convert", source, pipe), ("convert", pipe, self.path("out.kel"))]:
            with self.subTest(args=args):
                result = run(*args)  # a wait on the pipe would end in the timeout
                self.assertEqual(result.returncode, 1)
                self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
                self.assertIn(pipe, result.stderr)
                self.assertIn("通常のﾌｧｲﾙではない", result.stderr)
        self.assertTrue(stat.S_ISFIFO(os.stat(pipe).st_mode))

    def test_the_largest_file_read_stays_under_400_mb_and_a_larger_one_is_refused(self):
        # Lone points cost the most memory for their bytes in a file.
        limit = 16 << 20
        count = (limit - len(kel_bytes([], []))) // 8
        data = kel_bytes([(i % 5000, -(i // 5000)) for i in range(count)], [])
        self.assertLessEqual(len(data), limit)
        largest = self.write("largest.kel", data)
        process = subprocess.Popen([CLI, "analyze", largest], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        with process.stderr:
            self.assertEqual(process.returncode, 0, process.stderr.read())
        if os.environ.get("KELNO_SANITIZED") != "1":
            self.assertLess(usage.ru_maxrss, 400 * 1024)  # kilobytes
        larger = self.write("larger.kel", data + bytes(limit + 1 - len(data)))
        result = run("analyze", larger)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
        self.assertIn("16 MB まで", result.stderr)


if __name__ == "__main__":
    CLI, EXAMPLES = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=1)
