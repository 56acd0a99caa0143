"""The map picture as a 16-colour bitmap file, written byte by byte so that
every header field is the one the form promises."""

import struct

import numpy as np

# The standard 16-colour palette in its usual order, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PIXELS_PER_METRE = 2834
HEADER_SIZE = 14 + 40 + 4 * 16


def row_bytes(width):
    return (width * 4 + 31) // 32 * 4


def encode(pixels):
    """pixels: (height, width) palette indices 0..15, top row first."""
    height, width = pixels.shape
    stride = row_bytes(width)
    data = bytearray()
    for y in range(height - 1, -1, -1):  # bottom row first
        row = pixels[y].astype(np.uint8)
        if width % 2:
            row = np.append(row, 0)
        packed = (row[0::2] << 4) | row[1::2]
        data += packed.tobytes()
        data += bytes(stride - len(packed))
    size = HEADER_SIZE + len(data)
    out = bytearray(b"BM")
    out += struct.pack("<IHHI", size, 0, 0, HEADER_SIZE)
    out += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, 16, 16)
    for r, g, b in PALETTE:
        out += bytes((b, g, r, 0))
    out += data
    return bytes(out)


def decode(data):
    """Parse a file written by encode(): (header fields, pixels)."""
    if data[:2] != b"BM":
        raise ValueError("not a bitmap file")
    size, r1, r2, offset = struct.unpack_from("<IHHI", data, 2)
    (hsize, width, height, planes, bits, compression, image_size,
     xppm, yppm, used, important) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    palette = [tuple(data[54 + 4 * k: 54 + 4 * k + 4]) for k in range(16)]
    fields = dict(size=size, reserved=(r1, r2), offset=offset, header=hsize, width=width, height=height,
                  planes=planes, bits=bits, compression=compression, image_size=image_size,
                  ppm=(xppm, yppm), used=used, important=important,
                  palette=[(r, g, b, z) for b, g, r, z in palette])
    stride = row_bytes(width)
    pixels = np.zeros((height, width), dtype=np.uint8)
    for k in range(height):
        row = np.frombuffer(data, dtype=np.uint8, count=stride, offset=offset + k * stride)
        unpacked = np.empty(len(row) * 2, dtype=np.uint8)
        unpacked[0::2] = row >> 4
        unpacked[1::2] = row & 15
        pixels[height - 1 - k] = unpacked[:width]
    return fields, pixels
