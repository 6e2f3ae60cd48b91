#!/usr/bin/env python3
"""kelno-cli render with the classroom's options: vector pictures, predict mode, potentials
and the highlight of a short; and every picture without them exactly as it was before.

usage: classroom_render_test.py KELNO_CLI EXAMPLES_FOLDER
"""
import os
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from kel_support import TempFolderTestCase, kel_bytes as kel  # noqa: E402
from picture_support import bmp_pixel, png_pixels  # noqa: E402

CLI = None
EXAMPLES = None
PICTURES = os.path.join(HERE, "pictures")
SVG = "{http://www.w3.org/2000/svg}"

BATTERY, BULB, WIRE, WIRE_VERTICAL_FIRST, VOLTMETER = 1, 5, 0, -1, 4
SQUARE = [(200, -200), (600, -200), (600, -600), (200, -600)]
# Circuits besides the examples whose pictures are kept: a battery of 0 ohms shorted by
# wires, batteries driven backwards with a voltmeter across a bulb, and a battery of 1e-7
# ohm shorted by wires drawn without diagonals.
CIRCUITS = {
    "short": (SQUARE, [(0, 1, BATTERY, 0.0, 1.5), (1, 2, WIRE, 0, 0), (2, 3, WIRE, 0, 0),
                       (3, 0, WIRE, 0, 0)], (0, 0, 1, 10)),
    "danger": (SQUARE + [(1000, -200), (1000, -600)],
               [(0, 1, BATTERY, 0.1, 1.5), (1, 2, BULB, 5, 0), (2, 3, WIRE, 0, 0),
                (3, 0, BATTERY, 0.1, -3.0), (1, 4, WIRE, 0, 0), (4, 5, VOLTMETER, 100000, 0),
                (5, 2, WIRE, 0, 0)], (1, 0, 1, 10)),
    "limit": (SQUARE, [(0, 1, BATTERY, 1e-7, 1.5), (1, 2, WIRE, 0, 0),
                       (2, 3, WIRE_VERTICAL_FIRST, 0, 0), (3, 0, WIRE, 0, 0)], (1, 0, 1, 10)),
}
# The bulb ring: a default battery and a 5 ohm bulb; the battery's positive end at (700, -300).
RING = ([(300, -300), (700, -300), (700, -700), (300, -700)],
        [(0, 1, BATTERY, 0.1, 1.5), (2, 3, BULB, 5.0, 0.0), (1, 2, WIRE, 0, 0),
         (3, 0, WIRE, 0, 0)])


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=120)


def svg_texts(data):
    root = ElementTree.fromstring(data)
    return root, ["".join(t.itertext()).strip() for t in root.iter(SVG + "text")]


class ClassroomRenderTest(TempFolderTestCase):
    def render(self, source, out, *options):
        result = run("render", source, "-o", self.path(out), *options)
        self.assertEqual(result.returncode, 0, result.stderr)
        return self.read(out)

    def sources(self):
        """(name, .kel path) of every example and every circuit above."""
        found = [(name[:-4], os.path.join(EXAMPLES, name))
                 for name in sorted(os.listdir(EXAMPLES)) if name.endswith(".kel")]
        return found + [(name, self.circuit_file(name)) for name in CIRCUITS]

    def circuit_file(self, name):
        points, elements, options = CIRCUITS[name]
        return self.write(name + ".kel", kel(points, elements, options=options))

    def test_pictures_without_the_new_options_are_unchanged(self):
        checked = 0
        for name, source in self.sources():
            for options in [(), ("--grid",), ("--no-flow",)]:
                kept = os.path.join(PICTURES, name + "".join(options) + ".png")
                if not os.path.exists(kept):
                    continue
                with self.subTest(picture=os.path.basename(kept)):
                    data = self.render(source, "now.png", *options)
                    with open(kept, "rb") as f:
                        before = f.read()
                    if data != before:
                        _, _, now_rows = png_pixels(data)
                        _, _, old_rows = png_pixels(before)
                        changed = sum(a != b for now, old in zip(now_rows, old_rows)
                                      for a, b in zip(now, old))
                        self.assertEqual(changed, 0, "pixels that changed")
                    checked += 1
        self.assertEqual(checked, len(os.listdir(PICTURES)))

    def test_svg_is_the_view_at_screen_scale_with_its_labels_as_text(self):
        for name, source in self.sources():
            with self.subTest(example=name):
                root, texts = svg_texts(self.render(source, "a.svg"))
                self.assertEqual(root.tag, SVG + "svg")
                # The stored window is 900 x 700 pixels; at 96 dpi that is 238.125 mm wide.
                self.assertEqual(root.get("viewBox"), "0 0 900 700")
                self.assertTrue(root.get("width").startswith("238.1"), root.get("width"))
                self.assertIn("1.5 V", texts)
        _, texts = svg_texts(self.render(os.path.join(EXAMPLES, "meters.kel"), "m.svg"))
        self.assertIn("294.1 mA", texts)
        self.assertIn("432.4 mW", texts)

    def test_predict_hides_every_reading(self):
        source = self.write("ring.kel", kel(*RING))
        _, shown = svg_texts(self.render(source, "shown.svg"))
        _, hidden = svg_texts(self.render(source, "hidden.svg", "--predict"))
        self.assertIn("432.5 mW", shown)
        self.assertEqual(hidden, ["1.5 V"])
        lit = self.render(source, "lit.bmp", "--size", "400x400")
        dark = self.render(source, "dark.bmp", "--size", "400x400", "--predict")
        # Inside the glass of the bulb centred on (500, -700): lit at level 1, then white.
        self.assertEqual(bmp_pixel(lit, 200, 231), (255, 255, 170))
        self.assertEqual(bmp_pixel(dark, 200, 231), (255, 255, 255))
        # Potentials are readings too.
        _, texts = svg_texts(self.render(source, "both.svg", "--predict", "--potentials"))
        self.assertEqual(texts, ["1.5 V"])

    def test_potentials_are_written_beside_the_points(self):
        source = self.write("ring.kel", kel(*RING))
        _, texts = svg_texts(self.render(source, "ring.svg", "--potentials"))
        # 1.5 V less 0.1 ohm x 1.5 / 5.1 A at the battery's positive end and the bulb's
        # end joined to it; 0 V on the other side.
        self.assertEqual(sorted(t for t in texts if t.endswith(" V") and t != "1.5 V"),
                         ["0.00 V", "0.00 V", "1.47 V", "1.47 V"])
        # A short has no potentials: the picture is the one without the option.
        short = self.circuit_file("short")
        self.assertEqual(self.render(short, "a.png", "--potentials"), self.render(short, "b.png"))

    def test_explain_paints_the_loop_of_a_short_red(self):
        short = self.circuit_file("short")
        plain = self.render(short, "plain.bmp", "--size", "400x300")
        result = run("render", short, "-o", self.path("red.bmp"), "--size", "400x300",
                     "--explain")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("電池が導線だけで自分自身につながっている", result.stderr)
        red = self.read("red.bmp")
        light_red = (255, 140, 140)
        # Beside the wire from (600, -200) down to (600, -600), and left of the battery's body.
        for x, y in [(230, 150), (110, 50)]:
            self.assertEqual(bmp_pixel(red, x, y), light_red, (x, y))
            self.assertEqual(bmp_pixel(plain, x, y), (255, 255, 255), (x, y))
        # Nothing changes away from the loop, which lies within (60, 30) to (240, 240).
        changed = [(x, y) for y in range(300) for x in range(400)
                   if bmp_pixel(red, x, y) != bmp_pixel(plain, x, y)]
        self.assertGreater(len(changed), 5000)
        self.assertEqual([(x, y) for x, y in changed if not (60 <= x <= 240 and 30 <= y <= 240)],
                         [])
        # A circuit that analyses has nothing to explain: the same picture.
        ring = self.write("ring.kel", kel(*RING))
        self.assertEqual(self.render(ring, "a.png", "--explain"), self.render(ring, "b.png"))

    def test_svg_output_failures(self):
        source = self.write("ring.kel", kel(*RING))
        result = run("render", source, "-o", self.path("no-folder/a.svg"))
        self.assertEqual(result.returncode, 1)
        self.assertIn("ﾌｧｲﾙに書き込めませんでした。", result.stderr)
        self.assertFalse(os.path.exists(self.path("no-folder")))


if __name__ == "__main__":
    CLI = os.path.abspath(sys.argv[1])
    EXAMPLES = os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
