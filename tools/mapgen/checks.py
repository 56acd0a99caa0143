"""The generator's checks of its own output, run on the form text as written
(parsed back) before anything is saved.  Any failure stops the generator."""

import struct

import numpy as np
from scipy import ndimage

import bmp
import countries as C
import formtext
import overlap
import raster

CONTROL_PROPS = [
    ("Left", "8"), ("Top", "95"), ("Width", str(C.WIDTH)), ("Height", str(C.HEIGHT)), ("AutoSize", "True"),
    ("Color", "clBlack"), ("HotSpotCursor", "crDefault"), ("HotSpots", "<collection>"),
    ("Picture.Data", "<binary>"), ("Transparent", "False"), ("Stretch", "False"), ("Version", "'1.5.0.0'"),
    ("OnHotSpotClick", "Morvane1HotSpotClick"),
]
ITEM_PROPS = ["ShapeType", "Name", "ID", "X", "Y", "Width", "Height", "Clipped", "Down", "HoverColor",
              "ClickColor", "SelectedColor", "BlinkColor", "HoverImageIndex", "ClickImageIndex",
              "SelectedImageIndex", "BlinkImageIndex", "PolyPoints"]
SHARED = {"ShapeType": "stPolygon", "Clipped": "True", "Down": "False", "HoverColor": "clYellow",
          "ClickColor": "clGray", "SelectedColor": "clRed", "BlinkColor": "clWhite", "HoverImageIndex": "-1",
          "ClickImageIndex": "-1", "SelectedImageIndex": "-1", "BlinkImageIndex": "-1"}
BITMAP_SIZE = 81518
LAND_SHARE = (0.40, 0.50)  # silver pixels: a little under half
MIN_SILVER_SHARE = 0.7  # of the pixels inside each outline
VERTEX_RANGE = (1500, 2600)


class CheckFailed(Exception):
    pass


def expect(cond, what):
    if not cond:
        raise CheckFailed(what)


def parse_outline(values):
    n, angle = int(values[0]), int(values[1])
    expect(angle == 0, "angle is not 0")
    expect(len(values) == 2 + 2 * n, f"list holds {len(values) - 2} coordinates for {n} points")
    coords = [formtext.read_extended_then_double(v) for v in values[2:]]
    bad = [v for v, x in zip(values[2:], coords) if formtext.real_text(x) != v]
    expect(not bad, f"reals not in their shortest exact form: {bad[:3]}")
    return [(coords[2 * k], coords[2 * k + 1]) for k in range(n)]


def search(masks, x, y):
    """The control's hit search: last hotspot first."""
    for k in range(len(masks) - 1, -1, -1):
        if masks[k][y, x]:
            return k
    return None


def run(text, pixels, report):
    props, items, picture = formtext.read_block(text)
    expect(props == CONTROL_PROPS, f"control properties differ: {props}")

    # Hotspots: order, names, IDs, shared values, boxes, outlines.
    expect(len(items) == len(C.QUIZ), f"{len(items)} hotspots")
    outlines = []
    for item, (name, ident, x, y, w, h, _src) in zip(items, C.QUIZ):
        expect([k for k, _ in item] == ITEM_PROPS, f"{name}: property order {[k for k, _ in item]}")
        values = dict(item)
        expect(values["Name"] == formtext._string(name), f"name {values['Name']} for {name}")
        expect(values["ID"] == str(ident), f"{name}: ID {values['ID']}")
        for key, want in SHARED.items():
            expect(values[key] == want, f"{name}: {key} = {values[key]}")
        stored = tuple(int(values[k]) for k in ("X", "Y", "Width", "Height"))
        expect(stored == (x, y, w, h), f"{name}: stored box {stored}, table {(x, y, w, h)}")
        pts = parse_outline(values["PolyPoints"])
        expect(len(pts) >= 3, f"{name}: fewer than 3 points")
        expect(raster.update_bounds(np.array(pts)) == (x, y, w, h),
               f"{name}: outline box {raster.update_bounds(np.array(pts))}, table {(x, y, w, h)}")
        lo_x, lo_y, hi_x, hi_y = C.INNER
        expect(all(lo_x <= px <= hi_x and lo_y <= py <= hi_y for px, py in pts), f"{name}: a point outside the picture")
        expect(overlap.is_simple(pts), f"{name}: outline is not a simple ring")
        expect(overlap.is_simple([tuple(p) for p in pts]) and len(set(pts)) == len(pts), f"{name}: repeated point")
        outlines.append((name, pts))
    lux = dict(outlines)[C.LUXEMBOURG]
    expect(len(lux) == 5 and all(struct.pack("<dd", *p) == struct.pack("<dd", *q)
                                 for p, q in zip(lux, C.LUXEMBOURG_POINTS)), "Luxembourg's points are not the fixed ones")
    expect(outlines[-1][0] == C.LUXEMBOURG and items[-1][2] == ("ID", "21"), "Luxembourg is not last with ID 21")
    counts = {name: len(pts) for name, pts in outlines}
    total = sum(counts.values())
    expect(VERTEX_RANGE[0] <= total <= VERTEX_RANGE[1], f"{total} vertices in all")

    # Picture data: class name, count, bitmap file.
    expect(picture[:8] == b"\x07TBitmap", "picture data does not start with the class name")
    expect(int.from_bytes(picture[8:12], "little") == BITMAP_SIZE, "bitmap byte count")
    expect(len(picture) == 12 + BITMAP_SIZE == 81530, f"picture data is {len(picture)} bytes")
    fields, decoded = bmp.decode(picture[12:])
    want = dict(size=BITMAP_SIZE, reserved=(0, 0), offset=118, header=40, width=C.WIDTH, height=C.HEIGHT,
                planes=1, bits=4, compression=0, image_size=81400, ppm=(2834, 2834), used=16, important=16,
                palette=[(r, g, b, 0) for r, g, b in bmp.PALETTE])
    for key, value in want.items():
        expect(fields[key] == value, f"bitmap {key} = {fields[key]}, expected {value}")
    expect(np.array_equal(decoded, pixels), "bitmap pixels differ from the picture")
    used = set(np.unique(decoded).tolist())
    expect(used == {raster.SILVER, raster.WHITE}, f"palette entries used: {sorted(used)}")
    land_share = float((decoded == raster.SILVER).mean())
    expect(LAND_SHARE[0] < land_share < LAND_SHARE[1], f"land share {land_share:.3f}")

    # Outlines against the picture, through the control's own point test.
    masks = [raster.hotspot_mask(np.array(pts), C.WIDTH, C.HEIGHT) for _, pts in outlines]
    silver = decoded == raster.SILVER
    shares = {}
    for (name, _), mask in zip(outlines, masks):
        share = float(silver[mask].mean())
        shares[name] = share
        expect(share >= MIN_SILVER_SHARE, f"{name}: only {share:.2f} of its pixels are land")
    deep = {}
    for k, ((name, _), mask) in enumerate(zip(outlines, masks)):
        dist = ndimage.distance_transform_edt(np.pad(mask, 1))[1:-1, 1:-1]
        y, x = np.unravel_index(int(np.argmax(dist)), dist.shape)
        hit = search(masks, x, y)
        expect(hit == k, f"{name}: its deepest point ({x}, {y}) finds {outlines[hit][0] if hit is not None else None}")
        deep[name] = (int(x), int(y))
    # No gap: every pixel inside the quiz countries' land, on their shared
    # borders too, is found by some outline.
    interior = report["quiz_interior"]
    count = np.sum(masks, axis=0)
    gaps = interior & (count == 0)
    expect(not gaps.any(), f"{int(gaps.sum())} pixels inside the quiz countries found by no outline, "
                           f"e.g. {list(zip(*np.nonzero(gaps)[::-1]))[:5]}")
    # What the picture shows is what a click finds: within each patch of
    # silver (4-connected), the control's search finds one and the same
    # country, or nothing at all.
    names = [n for n, _ in outlines]
    lux_k = names.index(C.LUXEMBOURG)
    winner = np.full(silver.shape, -1)
    for k, mask in enumerate(masks):
        winner[mask] = k
    patches, n_patches = ndimage.label(silver)
    lo = ndimage.minimum(winner, patches, index=np.arange(1, n_patches + 1))
    hi = ndimage.maximum(winner, patches, index=np.arange(1, n_patches + 1))
    mixed = [(names[int(a)] if a >= 0 else None, names[int(b)] if b >= 0 else None)
             for a, b in zip(lo, hi) if a != b]
    expect(not mixed, f"silver patches that click as two countries: {mixed[:5]}")
    # Neighbours overlap; Luxembourg wins where it overlaps Belgium.
    bel_k = names.index("Belgium")
    both = masks[lux_k] & masks[bel_k]
    expect(both.any(), "no point lies in both Luxembourg and Belgium")
    ys, xs = np.nonzero(both)
    expect(all(search(masks, x, y) == lux_k for x, y in zip(xs, ys)), "a point of Luxembourg and Belgium finds Belgium")
    overlaps = {}
    for i in range(len(masks)):
        for j in range(i + 1, len(masks)):
            n = int((masks[i] & masks[j]).sum())
            if n:
                overlaps[(names[i], names[j])] = n
    missing = [p for p in report["neighbours"] if p not in overlaps]
    return {"missing_overlaps": missing, "counts": counts, "total": total, "shares": shares, "land_share": land_share, "deep": deep,
            "overlaps": overlaps, "lux_belgium": [(int(x), int(y)) for x, y in zip(xs, ys)]}


def print_report(figures, report, log):
    w = report["warp"]
    log(f"warp: over the {w['points']} source points in the picture largest displacement {w['max']:.2f} px, "
        f"mean {w['mean']:.2f} px; largest anywhere in the picture {w['field_max']:.2f} px; "
        f"smallest Jacobian {w['min_jacobian']:.3f} (no fold)")
    r = report["repairs"]
    log(f"repairs: {r['refined']} corners refined, {r['cut']} narrow inlets or spits cut, "
        f"{r['coarsened']} vertices dropped, {r['nudged']} rounded the other way")
    log(f"islands left out (in the way of a coast after rounding): {', '.join(r['islands'] + r['invalid']) or 'none'}")
    log(f"vertices: {figures['total']} in all")
    log(f"land share of the picture: {figures['land_share']:.4f}")
    log("country            vertices  silver inside  vertices pushed, not pushed")
    for name, n in figures["counts"].items():
        log(f"  {name:18s} {n:6d}   {figures['shares'][name]:8.3f}      {report['pushed'].get(name, ['', ''])[0]:>4} {report['pushed'].get(name, ['', ''])[1]:>4}")
    log("deepest point per country (found as that country): "
        + ", ".join(f"{n} {p}" for n, p in figures["deep"].items()))
    log(f"Luxembourg and Belgium share {len(figures['lux_belgium'])} pixels: {figures['lux_belgium']}")
    log(f"neighbour pairs overlapping: {len(figures['overlaps'])} of {len(report['neighbours'])} bordering pairs"
        f" (without: {figures['missing_overlaps']})")
    log("overlap pixels: " + ", ".join(f"{a}/{b} {n}" for (a, b), n in sorted(figures["overlaps"].items())))
    log(f"took {report['seconds']:.1f} s")
