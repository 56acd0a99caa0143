#!/usr/bin/python3
"""Draws the program's 32 x 32 icon: a sea-blue disc with a silver landmass and one
country lit up in yellow, the quiz's hover colour. Run: /usr/bin/python3 make_icon.py OUT.png
It also writes OUT.rgba beside it: the same pixels raw (32 rows of 32 RGBA quadruplets), which
the program embeds so that its start needs no image decoder."""
import sys
from PIL import Image, ImageDraw

SIZE = 32
image = Image.new("RGBA", (SIZE, SIZE), (0, 0, 0, 0))
draw = ImageDraw.Draw(image)
draw.ellipse((0, 0, SIZE - 1, SIZE - 1), fill=(40, 90, 170, 255), outline=(20, 50, 110, 255))
land = [(7, 9), (13, 5), (20, 6), (25, 10), (26, 17), (22, 24), (16, 27), (10, 24), (6, 17)]
draw.polygon(land, fill=(192, 192, 192, 255), outline=(255, 255, 255, 255))
country = [(14, 12), (20, 11), (22, 16), (18, 20), (13, 18)]
draw.polygon(country, fill=(255, 255, 0, 255), outline=(255, 255, 255, 255))
out = sys.argv[1] if len(sys.argv) > 1 else "MAINICON.png"
image.save(out)
with open(out.rsplit(".", 1)[0] + ".rgba", "wb") as raw:
    raw.write(image.tobytes())
