"""docs/map.png: the map picture at twice its size with every outline drawn
over it, to see at a glance that outlines and picture agree."""

import io

import numpy as np
from PIL import Image, ImageDraw

import bmp

SCALE = 2
COLOURS = [(200, 0, 0), (0, 0, 200), (0, 140, 0), (170, 0, 170), (0, 130, 150), (190, 110, 0)]


def render(pixels, outlines):
    palette = np.array([c for c in bmp.PALETTE], dtype=np.uint8)
    rgb = palette[pixels]
    img = Image.fromarray(rgb, "RGB").resize((pixels.shape[1] * SCALE, pixels.shape[0] * SCALE), Image.NEAREST)
    draw = ImageDraw.Draw(img)
    for k, outline in enumerate(outlines):
        pts = [(int(np.rint(x)) * SCALE, int(np.rint(y)) * SCALE) for x, y in outline["points"]]
        draw.line(pts + [pts[0]], fill=COLOURS[k % len(COLOURS)], width=1)
    out = io.BytesIO()
    img.save(out, format="PNG", optimize=False)
    return out.getvalue()
