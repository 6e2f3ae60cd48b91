#!/usr/bin/env python3
"""Runs kelno-cli render the way a user or a script would: pictures, pages, messages, files.

usage: render_test.py KELNO_CLI EXAMPLES_FOLDER
"""
import os
import struct
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from kel_support import TempFolderTestCase, kel_bytes as kel  # noqa: E402
from picture_support import (BATTERY_GREEN, bmp_pixel, find_pixel, page_pixels,  # noqa: E402
                             png_pixels, png_size, stroke_centres)

CLI = None
EXAMPLES = None

BATTERY, BULB, WIRE = 1, 5, 0


def run(*args, env=None):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=120, env=env)


# A battery driving a bulb of 5 ohms: 1.5 V / 5.1 ohms, about 0.29 A.
RING_POINTS = [(300, -300), (700, -300), (700, -700), (300, -700)]
RING = [(0, 1, BATTERY, 0.1, 1.5), (2, 3, BULB, 5.0, 0.0), (1, 2, WIRE, 0, 0), (3, 0, WIRE, 0, 0)]


class RenderTest(TempFolderTestCase):
    def render(self, source, out, *options, env=None):
        result = run("render", source, "-o", self.path(out), *options, env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        return self.read(out)

    def test_examples_as_png_bmp_and_pdf(self):
        for name in sorted(os.listdir(EXAMPLES)):
            if not name.endswith(".kel"):
                continue
            with self.subTest(example=name):
                source = os.path.join(EXAMPLES, name)
                # The examples keep a window of 900 x 700 pixels.
                self.assertEqual(png_size(self.render(source, "a.png")), (900, 700))
                bmp = self.render(source, "a.bmp")
                self.assertEqual(len(bmp), 2700 * 700 + 54)
                pdf = self.render(source, "a.pdf")
                self.assertTrue(pdf.startswith(b"%PDF-"))
                self.assertEqual(pdf.count(b"/Type /Page\n") + pdf.count(b"/Type /Page\r"), 1)

    def test_bmp_header_follows_the_format(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        for width, height in [(401, 20), (400, 3), (1, 1)]:
            with self.subTest(size=(width, height)):
                data = self.render(source, "ring.bmp", "--size", f"{width}x{height}")
                row = (3 * width + 3) // 4 * 4
                size = row * height + 54
                self.assertEqual(len(data), size)
                header = struct.unpack("<2sIHHIIiiHHIIiiII", data[:54])
                self.assertEqual(header, (b"BM", size, 0, 0, 54, 40, width, height, 1, 24, 0,
                                          row * height, 0, 0, 0, 0))
        self.assertEqual((3 * 401 + 3) // 4 * 4, 1204)

    def test_picture_shows_the_circuit_on_white(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        bmp = self.render(source, "ring.bmp", "--size", "400x400")
        png = self.render(source, "ring.png", "--size", "400x400")
        width, height, rows = png_pixels(png)
        self.assertEqual((width, height), (400, 400))
        for x, y in [(0, 0), (399, 0), (0, 399), (399, 399), (60, 200)]:
            self.assertEqual(bmp_pixel(bmp, x, y), (255, 255, 255), (x, y))
            self.assertEqual(rows[y][x], (255, 255, 255), (x, y))
        # The battery's light green body: centre (500, -300) is pixel (189, 113) at 96 dpi;
        # (170, 108) lies in the body, above the lead line.
        self.assertEqual(bmp_pixel(bmp, 170, 108), (192, 255, 192))
        self.assertEqual(rows[108][170], (192, 255, 192))
        # The bulb centred on (500, -700) is lit at level 1 (0.43 W); pixel (200, 231) is
        # (529, -611), inside its glass and clear of the filament.
        self.assertEqual(rows[231][200], (255, 255, 170))

    def test_grid_and_flow_options(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        plain = self.render(source, "plain.bmp", "--size", "300x300")
        grid = self.render(source, "grid.bmp", "--size", "300x300", "--grid")
        no_flow = self.render(source, "noflow.bmp", "--size", "300x300", "--no-flow")
        # A grid line every 5 mm: x = 50 units is pixel 19.
        self.assertEqual(bmp_pixel(grid, 19, 290), (180, 180, 180))
        self.assertEqual(bmp_pixel(plain, 19, 290), (255, 255, 255))
        # Arrow heads only with the flow shown: the head at the bulb's end (300, -700).
        black = lambda data: sum(1 for y in range(300) for x in range(300)
                                 if bmp_pixel(data, x, y) == (0, 0, 0))
        self.assertGreater(black(plain), black(no_flow) + 40)

    def test_true_size_page(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        pdf = self.render(source, "ring.pdf")
        self.assertTrue(pdf.startswith(b"%PDF-"))
        self.assertIn(b"/Count 1", pdf)
        self.assertIn(b"/MediaBox [0 0 595", pdf)  # A4
        # The page as a printer puts it on paper, at 254 dots per inch: one pixel is 0.1 mm,
        # one unit of the drawing. The battery lies from (300, -300) to (700, -300); its body
        # is a box 16 mm long and 9.6 mm high, outlined in black and filled light green.
        width, height, data = page_pixels(self.path("ring.pdf"), 254)
        self.assertAlmostEqual(width, 2100, delta=1)  # A4, 210 mm x 297 mm
        self.assertAlmostEqual(height, 2970, delta=1)
        top = find_pixel(data, BATTERY_GREEN) // width
        bottom = find_pixel(data, BATTERY_GREEN, last=True) // width
        self.assertGreater(top, 0, "no battery body on the page")
        # A row clear of the wire and the terminal, which meet the box half way up.
        row = (3 * top + bottom) // 4
        begin, end = 3 * row * width, 3 * (row + 1) * width
        inside = find_pixel(data, BATTERY_GREEN, begin, end) - row * width

        def pixel(x, y):
            return tuple(data[3 * (y * width + x):3 * (y * width + x) + 3])

        left, right = stroke_centres(lambda x: pixel(x, row), inside)
        self.assertAlmostEqual(right - left, 160, delta=2)
        column = round((left + right) / 2)
        upper, lower = stroke_centres(lambda y: pixel(column, y), row)
        self.assertAlmostEqual(lower - upper, 96, delta=2)

    def test_short_circuit_is_reported_and_drawn(self):
        short = self.write("short.kel", kel([(100, -100), (500, -100)],
                                            [(0, 1, BATTERY, 0.0, 1.5), (1, 0, WIRE, 0, 0)]))
        result = run("render", short, "-o", self.path("short.png"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Short", result.stderr)
        self.assertEqual(png_size(self.read("short.png")), (900, 700))

    def test_unusable_stored_window_falls_back(self):
        for window in [(0, 0, 0, 0), (500, 500, 100, 100), (0, 0, 100000, 100), (0, 0, -2**31, 5)]:
            with self.subTest(window=window):
                source = self.write("odd.kel", kel(RING_POINTS, RING, window=window))
                result = run("render", source, "-o", self.path("odd.png"))
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertIn("窓の大きさ", result.stderr)
                self.assertEqual(png_size(self.read("odd.png")), (900, 700))

    def test_usage_errors_exit_with_2(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        cases = [("render",), ("render", source), ("render", source, "-o"),
                 ("render", source, "-o", self.path("a.gif")),
                 ("render", source, "-o", self.path("noextension")),
                 ("render", source, source, "-o", self.path("a.png"))]
        for size in ["0x10", "10x0", "10", "x", "-5x10", "10x-5", "8193x10", "10x8193",
                     "10x10x10", "1e3x10", " 10x10", "10 x10", "99999999999999999999x1"]:
            cases.append(("render", source, "-o", self.path("a.png"), "--size", size))
        for args in cases:
            with self.subTest(args=args[1:]):
                result = run(*args)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertTrue(result.stderr.startswith("kelno-cli: "))
                self.assertFalse(os.path.exists(self.path("a.png")))

    def test_unusable_input_or_output_exits_with_1(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        broken = self.write("broken.kel", kel(RING_POINTS, RING)[:-20])
        cases = [
            (self.path("missing.kel"), self.path("a.png"), "ﾌｧｲﾙが見つかりません。"),
            (broken, self.path("a.png"), "予期しないﾌｧｲﾙ形式です。"),
            (source, self.path("no-folder/a.png"), "ﾌｧｲﾙに書き込めませんでした。"),
            (source, self.path("no-folder/a.bmp"), "ﾌｧｲﾙに書き込めませんでした。"),
            (source, self.path("no-folder/a.pdf"), "ﾌｧｲﾙに書き込めませんでした。"),
        ]
        for source_path, out, message in cases:
            with self.subTest(out=out, source=source_path):
                result = run("render", source_path, "-o", out)
                self.assertEqual(result.returncode, 1)
                self.assertIn(message, result.stderr)
                self.assertFalse(os.path.exists(out))

    def test_output_is_replaced_whole_and_nothing_else_is_left(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        for name in ["out.png", "out.bmp", "out.pdf"]:
            with self.subTest(name=name):
                self.write(name, b"old contents " * 100000)
                data = self.render(source, name, "--size", "50x40")
                self.assertNotIn(b"old contents", data)
        self.assertEqual(sorted(os.listdir(self.folder.name)),
                         ["out.bmp", "out.pdf", "out.png", "ring.kel"])

    def test_needs_no_display(self):
        source = self.write("ring.kel", kel(RING_POINTS, RING))
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env["QT_QPA_PLATFORM"] = "xcb"  # a platform that needs a display is not used
        data = self.render(source, "a.png", "--size", "64x48", env=env)
        self.assertEqual(png_size(data), (64, 48))


if __name__ == "__main__":
    CLI = os.path.abspath(sys.argv[1])
    EXAMPLES = os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
