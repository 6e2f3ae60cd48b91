"""Reading the pictures that kelno-cli writes, without any imaging library."""
import shutil
import struct
import subprocess
import unittest
import zlib


def png_size(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    return struct.unpack(">II", data[16:24])


def png_pixels(data):
    """(width, height, rows of (r, g, b)) of an 8-bit RGB or RGBA PNG without interlacing."""
    width, height = png_size(data)
    depth, colour = data[24], data[25]
    assert depth == 8 and colour in (2, 6), (depth, colour)
    channels = 3 if colour == 2 else 4
    idat, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            idat += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append([tuple(row[x * channels:x * channels + 3]) for x in range(width)])
        previous = row
    return width, height, rows


def bmp_pixel(data, x, y):
    """(r, g, b) of the pixel at x, y counted from the top of a 24-bit bottom-up BMP."""
    width, height = struct.unpack("<ii", data[18:26])
    row = (3 * width + 3) // 4 * 4
    at = 54 + (height - 1 - y) * row + 3 * x
    b, g, r = data[at:at + 3]
    return r, g, b


def page_pixels(pdf_path, dpi):
    """(width, height, RGB bytes) of the first page of a PDF file, rasterised by poppler."""
    if shutil.which("pdftoppm") is None:
        raise unittest.SkipTest("pdftoppm (Debian's poppler-utils) is not installed")
    ppm = subprocess.run(["pdftoppm", "-r", str(dpi), "-f", "1", "-l", "1", pdf_path],
                         capture_output=True, check=True, timeout=120).stdout
    magic, width, height, depth = ppm.split(maxsplit=4)[:4]
    assert magic == b"P6" and depth == b"255", (magic, depth)
    width, height = int(width), int(height)
    return width, height, ppm[len(ppm) - 3 * width * height:]


BATTERY_GREEN = bytes((192, 255, 192))


def find_pixel(data, colour, start=0, end=None, last=False):
    """The number of the first (or last) pixel of exactly this colour, or -1."""
    end = len(data) if end is None else end
    at = data.rfind(colour, start, end) if last else data.find(colour, start, end)
    while at >= 0 and at % 3:
        at = data.rfind(colour, start, at) if last else data.find(colour, at + 1, end)
    return at // 3 if at >= 0 else -1


def stroke_centres(pixel, inside):
    """The centres of the dark strokes on either side of the light run through `inside`,
    along a line of pixels given by `pixel(i)`."""
    def dark(i):
        return sum(pixel(i)) < 300

    ends = []
    for step in (-1, 1):
        near = inside
        while not dark(near):
            near += step
        far = near
        while dark(far + step):
            far += step
        ends.append((near + far) / 2)
    return ends
