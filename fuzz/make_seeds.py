#!/usr/bin/env python3
"""Writes the seed corpora of the PolyPoints and picture fuzz targets.

    fuzz/make_seeds.py FORM_TOOL JPEG_SEEDS

FORM_TOOL is the project's form tool (build/tools/vandora-form), which turns the text
outlines below into binary; JPEG_SEEDS is fuzz_jpeg_seeds from the normal build, which
encodes small JPEG pictures with the project's own encoder. Bitmaps are written here,
byte by byte, so that every header field is the one intended. The real map's outlines and
picture come from app/Unit2.form.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
UNIT2 = os.path.join(ROOT, "app", "Unit2.form")

# The wrapping of fuzz/PolyPointsForm.h: the fuzzer gets only what lies between.
PREFIX = b"TPF0\x08TMorvane\x08Morvane1\x08HotSpots\x0e\x01\x0aPolyPoints"
SUFFIX = b"\x00\x00\x00\x00"


def write(directory, name, data):
    os.makedirs(directory, exist_ok=True)
    with open(os.path.join(directory, name), "wb") as f:
        f.write(data)


def polypoints_value(tool, text_lines):
    """The binary value of a PolyPoints list given as text lines, through the form tool."""
    body = "\n".join("        " + line for line in text_lines)
    form = ("object Morvane1: TMorvane\n  HotSpots = <\n    item\n      PolyPoints = (\n" + body +
            ")\n    end>\nend\n")
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "outline.form")
        out = os.path.join(tmp, "outline.bin")
        with open(src, "w") as f:
            f.write(form)
        subprocess.run([tool, "to-binary", "-o", out, src], check=True, stderr=subprocess.DEVNULL)
        data = open(out, "rb").read()
    if not (data.startswith(PREFIX) and data.endswith(SUFFIX)):
        sys.exit("the form tool wrapped the outline differently from fuzz/PolyPointsForm.h")
    return data[len(PREFIX):-len(SUFFIX)]


def map_outlines():
    """The text of every PolyPoints list of the map form, as lists of lines."""
    outlines, current = [], None
    for line in open(UNIT2):
        line = line.strip()
        if line == "PolyPoints = (":
            current = []
        elif current is not None:
            current.append(line.rstrip(")"))
            if line.endswith(")"):
                outlines.append(current)
                current = None
    return outlines


def picture_data(class_name, file_bytes):
    name = class_name.encode()
    return bytes([len(name)]) + name + struct.pack("<I", len(file_bytes)) + file_bytes


def bmp(width, height, bits, palette, pixel_rows, compression=0, raw=None):
    """A bitmap file; pixel_rows bottom-up, each row a list of palette indices or (b, g, r)."""
    if raw is None:
        stride = (width * bits + 31) // 32 * 4
        data = b""
        for row in pixel_rows:
            if bits == 24:
                line = b"".join(bytes(p) for p in row)
            elif bits == 8:
                line = bytes(row)
            else:  # 4 bits: two pixels a byte, the first in the high half
                padded = list(row) + [0] * (len(row) % 2)
                line = bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
            data += line + b"\x00" * (stride - len(line))
    else:
        data = raw
    pal = b"".join(bytes((b, g, r, 0)) for (b, g, r) in palette)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data), 2834, 2834,
                       len(palette), 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + pal + data


def bmp_os2(width, height, rows):
    """A 24-bit bitmap with the 12-byte core header."""
    stride = (width * 24 + 31) // 32 * 4
    data = b"".join(b"".join(bytes(p) for p in row).ljust(stride, b"\x00") for row in rows)
    offset = 14 + 12
    return (b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) +
            struct.pack("<IHHHH", 12, width, height, 1, 24) + data)


def map_picture():
    text = open(UNIT2).read()
    # The control's picture: the last Picture.Data of the form.
    block = re.findall(r"Picture\.Data = \{([0-9A-Fa-f\s]*)\}", text)[-1]
    return bytes.fromhex("".join(block.split()))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    tool, jpeg_seeds = sys.argv[1], sys.argv[2]

    out = os.path.join(HERE, "corpus", "polypoints")
    outlines = map_outlines()
    # The first and the last outlines of the map, and one from its middle.
    chosen = {"map-first": outlines[0], "map-middle": outlines[len(outlines) // 2],
              "map-last": outlines[-1]}
    for name, lines in chosen.items():
        write(out, name + ".bin", polypoints_value(tool, lines))
    crafted = {
        "empty": ["0", "0"],
        "two-points": ["2", "0", "1.0", "2.0", "3.0", "4.0"],
        "turned-triangle": ["3", "30", "10.5", "0.5", "20.0", "-3.25", "1.5", "12.0"],
        "tagged-reals": ["4", "int16:7", "double:1.5", "2", "-0.0", "1e300", "0x7FFFC000000000000000",
                         "5.0", "double:0x0000000000000001", "-7.5"],
        "ellipse-knots": ["13", "0"] + ["%d.0" % v for v in (10, 0, 16, 0, 20, 4, 20, 10, 20, 16, 16, 20, 10, 20,
                                                             4, 20, 0, 16, 0, 10, 0, 4, 4, 0, 10, 0)],
    }
    for name, lines in crafted.items():
        write(out, name + ".bin", polypoints_value(tool, lines))

    out = os.path.join(HERE, "corpus", "picture")
    grey16 = [(i * 16, i * 16, 255 - i * 16) for i in range(16)]
    write(out, "bmp4.bin", picture_data("TBitmap", bmp(5, 3, 4, grey16, [[0, 1, 2, 3, 4], [5, 6, 7, 8, 9],
                                                                          [10, 11, 12, 13, 15]])))
    pal4 = [(0, 0, 0), (255, 255, 255), (0, 0, 255), (0, 255, 0)]
    write(out, "bmp8.bin", picture_data("TBitmap", bmp(3, 2, 8, pal4, [[0, 1, 2], [3, 2, 1]])))
    # Run-length coded: runs, an absolute run of 3, end of line, end of bitmap.
    rle = bytes([2, 1, 2, 2, 0, 0, 0, 3, 3, 0, 1, 0, 1, 2, 0, 0, 0, 1])
    write(out, "bmp8-rle.bin", picture_data("TBitmap", bmp(4, 2, 8, pal4, None, compression=1, raw=rle)))
    # A run, a jump 5 right and 3 up, a run, the end of the bitmap: most pixels are skipped.
    skip = bytes([10, 1, 0, 2, 5, 3, 4, 2, 0, 1])
    write(out, "bmp8-rle-skip.bin", picture_data("TBitmap", bmp(40, 30, 8, pal4, None, compression=1, raw=skip)))
    # 4-bit run-length: runs of two alternating colours, an absolute run of 4, end of line, end.
    rle4 = bytes([6, 0x12, 0, 4, 0x31, 0x23, 0, 0, 3, 0x30, 0, 0, 0, 1])
    write(out, "bmp4-rle.bin", picture_data("TBitmap", bmp(10, 2, 4, grey16, None, compression=2, raw=rle4)))
    write(out, "bmp24.bin", picture_data("TBitmap", bmp(3, 2, 24, [], [[(0, 0, 255), (0, 255, 0), (255, 0, 0)],
                                                                          [(9, 9, 9), (200, 100, 50), (1, 2, 3)]])))
    write(out, "bmp24-core.bin", picture_data("TBitmap", bmp_os2(2, 2, [[(1, 2, 3), (4, 5, 6)],
                                                                          [(7, 8, 9), (10, 11, 12)]])))
    write(out, "bitmap-empty.bin", picture_data("TBitmap", b""))
    write(out, "map.bin", map_picture())
    subprocess.run([jpeg_seeds, out], check=True)


if __name__ == "__main__":
    main()
