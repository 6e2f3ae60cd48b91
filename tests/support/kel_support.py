"""What the Python tests of kelno-cli share: writing .kel files and a temporary folder."""
import os
import struct
import tempfile
import unittest


def kel_bytes(points, elements, window=(100, 100, 1000, 800), options=(0, 0, 1, 10),
              version=106):
    """A .kel file. points: (x, y); elements: (end1, end2, kind, resistance, emf);
    options: (noDiagonalWires, smoothDisplay, showCurrentFlow, undoBufferSize)."""
    out = bytearray(struct.pack("<i4i", version, *window))
    out += struct.pack("<i", len(points))
    for x, y in points:
        out += struct.pack("<ii", x, y)
    out += struct.pack("<i", len(elements))
    for end1, end2, kind, resistance, emf in elements:
        out += struct.pack("<iiiddd", end1, end2, kind, resistance, 0.0, emf)
    out += bytes([0])  # empty comment
    no_diagonal, smooth, flow, undo = options
    out += struct.pack("<iBBBi", 0, no_diagonal, smooth, flow, undo)
    return bytes(out)


class TempFolderTestCase(unittest.TestCase):
    """A test case with a fresh folder for the files it writes."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name):
        return os.path.join(self.folder.name, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()
