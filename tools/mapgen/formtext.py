"""The map control's block in the text form of the window description, and a
small reader of that block so the generator can check what it wrote."""

import math
import os
import re
from decimal import Decimal
from fractions import Fraction

INDENT = "  "
HEX_BYTES_PER_LINE = 32


# -- reals -------------------------------------------------------------------

def _extended_neighbourhood(x):
    """For a positive double x (exact as an 80-bit extended): the distance to
    the next extended value above and below, and whether x's 64-bit
    significand is even."""
    m, e = math.frexp(x)  # x = m * 2**e, 0.5 <= m < 1
    ulp = Fraction(2) ** (e - 1 - 63)
    significand = Fraction(x) / ulp
    assert significand.denominator == 1
    below = ulp / 2 if significand == 2**63 else ulp
    return ulp, below, significand.numerator % 2 == 0


def reads_back_as(text, x):
    """Does the decimal text, read as an 80-bit extended (round to nearest,
    ties to even), give exactly x?"""
    d = Fraction(Decimal(text))
    if x == 0:
        return d == 0
    if x < 0:
        return reads_back_as(text[1:] if text.startswith("-") else "-" + text, -x)
    ulp, below, even = _extended_neighbourhood(x)
    xf = Fraction(x)
    if xf - below / 2 < d < xf + ulp / 2:
        return True
    return even and (d == xf + ulp / 2 or d == xf - below / 2)


def real_text(x):
    """The shortest %g text that reads back as exactly x in 80 bits."""
    x = float(x)
    for p in range(1, 22):
        s = "%.*g" % (p, x)
        if reads_back_as(s, x):
            break
    else:
        raise ValueError(f"no decimal form for {x!r}")
    if not any(c in s for c in ".e") and not any(c.isalpha() for c in s):
        s += ".0"
    return s


def read_extended_then_double(text):
    """What a reader does with the text: round to an 80-bit extended, then
    narrow to a 64-bit double."""
    d = Fraction(Decimal(text))
    if d == 0:
        return 0.0
    sign = -1 if d < 0 else 1
    d = abs(d)
    e = d.numerator.bit_length() - d.denominator.bit_length()
    if Fraction(2) ** e > d:
        e -= 1
    ulp = Fraction(2) ** (e - 63)
    q = d / ulp
    n = q.numerator // q.denominator
    rem = q - n
    if rem > Fraction(1, 2) or (rem == Fraction(1, 2) and n % 2 == 1):
        n += 1
    ext = n * ulp
    return sign * float(ext)  # float() of a Fraction rounds to nearest even


# -- writing -----------------------------------------------------------------

def _string(s):
    return "'" + s.replace("'", "''") + "'"


def _hex_lines(data, indent):
    hexed = data.hex().upper()
    step = 2 * HEX_BYTES_PER_LINE
    return [indent + hexed[k : k + step] for k in range(0, len(hexed), step)]


def map_block(control, hotspots, picture_data, base):
    """The lines of the 'object Morvane1: TMorvane' block at indentation
    'base' (a string of spaces)."""
    p = base + INDENT
    lines = [f"{base}object {control['name']}: {control['class']}"]
    for key in ("Left", "Top", "Width", "Height"):
        lines.append(f"{p}{key} = {control[key]}")
    lines.append(f"{p}AutoSize = True")
    lines.append(f"{p}Color = clBlack")
    lines.append(f"{p}HotSpotCursor = crDefault")
    lines.append(f"{p}HotSpots = <")
    ip = p + INDENT
    vp = ip + INDENT
    for n, h in enumerate(hotspots):
        lines.append(f"{ip}item")
        lines.append(f"{vp}ShapeType = stPolygon")
        lines.append(f"{vp}Name = {_string(h['Name'])}")
        for key in ("ID", "X", "Y", "Width", "Height"):
            lines.append(f"{vp}{key} = {h[key]}")
        lines.append(f"{vp}Clipped = True")
        lines.append(f"{vp}Down = False")
        lines.append(f"{vp}HoverColor = clYellow")
        lines.append(f"{vp}ClickColor = clGray")
        lines.append(f"{vp}SelectedColor = clRed")
        lines.append(f"{vp}BlinkColor = clWhite")
        for key in ("HoverImageIndex", "ClickImageIndex", "SelectedImageIndex", "BlinkImageIndex"):
            lines.append(f"{vp}{key} = -1")
        lines.append(f"{vp}PolyPoints = (")
        values = [str(len(h["points"])), "0"]
        for x, y in h["points"]:
            values += [real_text(x), real_text(y)]
        lines += [vp + INDENT + v for v in values]
        lines[-1] += ")"
        lines.append(f"{ip}end")
    lines[-1] += ">"
    lines.append(f"{p}Picture.Data = {{")
    lines += _hex_lines(picture_data, p + INDENT)
    lines[-1] += "}"
    lines.append(f"{p}Transparent = False")
    lines.append(f"{p}Stretch = False")
    lines.append(f"{p}Version = '1.5.0.0'")
    lines.append(f"{p}OnHotSpotClick = {control['OnHotSpotClick']}")
    lines.append(f"{base}end")
    return lines


def splice(path, make_block, form_header):
    """The new text of the file at 'path': its Morvane1 block replaced in
    place (at the block's own indentation), or, without such a file, a form
    holding only the block."""
    if not os.path.exists(path):
        return "\n".join([form_header] + make_block(INDENT) + ["end"]) + "\n"
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    newline = "\r\n" if "\r\n" in text else "\n"
    lines = text.split(newline)
    start = None
    for k, line in enumerate(lines):
        m = re.fullmatch(r"( *)object Morvane1: TMorvane", line)
        if m:
            if start is not None:
                raise ValueError(f"{path}: two Morvane1 blocks")
            start, base = k, m.group(1)
    if start is None:
        raise ValueError(f"{path}: no 'object Morvane1: TMorvane' block to replace")
    end = next((k for k in range(start + 1, len(lines)) if lines[k] == base + "end"), None)
    if end is None:
        raise ValueError(f"{path}: the Morvane1 block has no matching end")
    lines[start : end + 1] = make_block(base)
    return newline.join(lines)


# -- reading back ------------------------------------------------------------

def read_block(text):
    """Parse the Morvane1 block out of a form text: the control's properties
    (in order), its hotspots and the picture bytes.  Strict about the layout
    the writer produces; raises ValueError on anything else."""
    lines = text.splitlines()
    k = next(i for i, line in enumerate(lines) if line.strip() == "object Morvane1: TMorvane")
    base = lines[k][: len(lines[k]) - len(lines[k].lstrip())]
    p = base + INDENT
    k += 1
    props = []
    hotspots = []
    picture = None

    def prop(line, indent):
        if not line.startswith(indent) or line[len(indent)] == " ":
            raise ValueError(f"bad indentation: {line!r}")
        name, sep, value = line[len(indent):].partition(" = ")
        if not sep:
            raise ValueError(f"not a property line: {line!r}")
        return name, value

    while lines[k] != base + "end":
        name, value = prop(lines[k], p)
        k += 1
        if value == "<":
            ip = p + INDENT
            vp = ip + INDENT
            while True:
                if lines[k] != ip + "item":
                    raise ValueError(f"expected item: {lines[k]!r}")
                k += 1
                item = []
                while not lines[k].startswith(ip + "end"):
                    n2, v2 = prop(lines[k], vp)
                    k += 1
                    if v2 == "(":
                        vals = []
                        while True:
                            line = lines[k]
                            k += 1
                            if not line.startswith(vp + INDENT) or line[len(vp) + 2] == " ":
                                raise ValueError(f"bad list line: {line!r}")
                            v = line[len(vp) + 2:]
                            last = v.endswith(")")
                            vals.append(v[:-1] if last else v)
                            if last:
                                break
                        item.append((n2, vals))
                    else:
                        item.append((n2, v2))
                tail = lines[k][len(ip):]
                k += 1
                hotspots.append(item)
                if tail == "end>":
                    break
                if tail != "end":
                    raise ValueError(f"bad item end: {tail!r}")
            props.append((name, "<collection>"))
        elif value == "{":
            chunks = []
            while True:
                line = lines[k]
                k += 1
                if not line.startswith(p + INDENT):
                    raise ValueError(f"bad binary line: {line!r}")
                v = line[len(p) + 2:]
                last = v.endswith("}")
                v = v[:-1] if last else v
                if not re.fullmatch(r"[0-9A-F]*", v) or len(v) % 2 or (not last and len(v) != 2 * HEX_BYTES_PER_LINE):
                    raise ValueError(f"bad hex line: {line!r}")
                chunks.append(v)
                if last:
                    break
            picture = bytes.fromhex("".join(chunks))
            props.append((name, "<binary>"))
        else:
            props.append((name, value))
    return props, hotspots, picture
