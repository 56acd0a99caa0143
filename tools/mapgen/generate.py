#!/usr/bin/python3
"""Generates the quiz map: the 34 country outlines and the outline map
picture of the map control Morvane1, written into the quiz window's form
text (app/Unit2.form), plus a preview (docs/map.png).  Run by hand; see
README.md beside this file."""

import os

# One thread for the linear algebra, so that every run adds up in the same
# order and gives the same bytes.
os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")

import argparse  # noqa: E402
import sys  # noqa: E402
import time  # noqa: E402

import numpy as np  # noqa: E402
from shapely.geometry import Polygon  # noqa: E402

import bmp  # noqa: E402
import boxes  # noqa: E402
import checks  # noqa: E402
import countries as C  # noqa: E402
import formtext  # noqa: E402
import model as M  # noqa: E402
import overlap  # noqa: E402
import preview  # noqa: E402
import raster  # noqa: E402
import simplify as S  # noqa: E402
from topo import Topology, arc_index, signed_area  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
SOURCE = os.path.join(HERE, "node_modules", "world-atlas", "countries-50m.json")

# Simplification tolerance in pixels for arcs in the picture, and for arcs
# that only pass by outside it (they just close rings).
TOLERANCE = 0.8
FAR_TOLERANCE = 3.0
# Segments reaching into this frame must not cross or touch wrongly.
CHECK_FRAME = (-3.0, -3.0, C.WIDTH + 3.0, C.HEIGHT + 3.0)
# An island smaller than this (square pixels) that gets in the way of a
# coastline after rounding is left out rather than the coast bent round it.
DROP_ISLAND_AREA = 40.0

CONTROL = {"name": "Morvane1", "class": "TMorvane", "Left": 8, "Top": 95,
           "Width": C.WIDTH, "Height": C.HEIGHT, "OnHotSpotClick": "Morvane1HotSpotClick"}


def log(msg):
    print(msg, file=sys.stderr)


def ring_sources(model, refs):
    """Per ring point: (arc, index into the arc's source points)."""
    out = []
    for k, ref in enumerate(refs):
        a = arc_index(ref)
        n = len(model.arcs[a])
        idx = range(n) if ref >= 0 else range(n - 1, -1, -1)
        out += [(a, i) for i in (list(idx) if k == 0 else list(idx)[1:])]
    return out[:-1]


def keep_points(model, lux):
    """The source points that set each quiz country's box: simplification
    must keep them."""
    keep = {a: {} for a in model.used_arcs()}
    for region in model.quiz_regions():
        if region is lux:
            continue
        pts = model.ring(region.rings[0])
        src = ring_sources(model, region.rings[0])
        for axis in (0, 1):
            for k in (np.argmin(pts[:, axis]), np.argmax(pts[:, axis])):
                a, i = src[int(k)]
                keep[a].setdefault(i, set()).add(axis)
    return keep


def in_frame(points, frame):
    return not (points[:, 0].max() < frame[0] or points[:, 0].min() > frame[2]
                or points[:, 1].max() < frame[1] or points[:, 1].min() > frame[3])


def owners(model):
    out = {}
    for region in model.regions:
        for ring in region.rings:
            for ref in ring:
                out.setdefault(arc_index(ref), []).append(region)
    return out


def is_loose_island(model, region):
    """An island outside the quiz's outlines, with no land border."""
    return region.quiz is None and len(region.rings) == 1 and len(region.rings[0]) == 1


def settle(model, simp, closed):
    """Repair until no two segments meet wrongly: first add back source points
    where simplification cut a corner; where rounding is to blame, cut out a
    fjord or spit too narrow for whole pixels, leave out a small island in
    the way, or drop a vertex for good."""
    stats = {"refined": 0, "cut": 0, "islands": [], "coarsened": 0, "nudged": 0}
    for round_ in range(200):
        own = owners(model)
        arcs = [a for a in sorted(own) if in_frame(model.arcs[a], CHECK_FRAME)]
        defects = S.find_defects(simp.final, arcs, closed, CHECK_FRAME)
        if not defects:
            return stats
        dropped = []
        for (a, ka), (b, kb), point in defects:
            if simp.refine(a, ka) | simp.refine(b, kb):
                stats["refined"] += 1
                continue
            if a == b:
                k1, k2 = sorted((ka, kb))
                if simp.cut(a, k1, k2):
                    stats["cut"] += 1
                    continue
            islands = [r for r in own.get(a, []) + own.get(b, [])
                       if is_loose_island(model, r) and r not in dropped
                       and abs(signed_area(model.ring(r.rings[0]))) < DROP_ISLAND_AREA]
            if islands:
                dropped.append(min(islands, key=lambda r: (abs(signed_area(model.ring(r.rings[0]))), r.name)))
                continue
            if simp.coarsen(a, ka, point) or simp.coarsen(b, kb, point):
                stats["coarsened"] += 1
                continue
            seg_a = (simp.final[a][ka], simp.final[a][ka + 1])
            seg_b = (simp.final[b][kb], simp.final[b][kb + 1])
            if simp.nudge(a, ka, seg_b) or simp.nudge(b, kb, seg_a):
                stats["nudged"] += 1
                continue
            raise RuntimeError(f"cannot repair arcs {a} and {b} meeting at {point}: "
                               f"{simp.final[a][max(ka - 2, 0):ka + 3]} / {simp.final[b][max(kb - 2, 0):kb + 3]}")
        for r in dropped:
            model.regions.remove(r)
            stats["islands"].append(r.name)
        simp.realize()
    raise RuntimeError("simplification did not settle")


def final_ring(simp, refs, neighbour=None):
    """The ring's points from the final arcs, and per point the neighbour
    across the edge that starts there (when neighbour(arc) is given)."""
    pts, nbs = [], []
    for ref in refs:
        a = arc_index(ref)
        p = list(simp.final[a])
        if ref < 0:
            p.reverse()
        nb = neighbour(a) if neighbour else None
        if pts:
            if pts[-1] != p[0]:
                raise RuntimeError(f"ring is not continuous at arc {a}: {pts[-1]} then {p[0]}")
            nbs[-1] = nb
            p = p[1:]
        else:
            pts.append(p[0])
            nbs.append(nb)
            p = p[1:]
        for q in p:
            pts.append(q)
            nbs.append(nb)  # the last one is the next arc's to set
    if pts[-1] != pts[0]:
        raise RuntimeError("ring does not close")
    pts.pop()
    nbs.pop()
    return pts, nbs


def check_regions(model, simp):
    """A loose island may claim no pixel that another region claims (it would
    lie on or in it after rounding): such an island is left out, the smallest
    first.  Regions with land borders cannot overlap once no arcs cross.
    Whatever has no pixel in the picture is dropped too.  Returns the names
    of the islands left out."""
    left_out = []
    while True:
        masks = {}
        for region in list(model.regions):
            rings = [raster.round_half_even(final_ring(simp, refs)[0]) for refs in region.rings]
            mask = raster.region_mask(rings, C.WIDTH, C.HEIGHT)
            if not mask.any():
                if region.quiz is not None:
                    raise RuntimeError(f"{region.name} has vanished")
                model.regions.remove(region)
                continue
            masks[region] = mask
        claims = np.sum(list(masks.values()), axis=0)
        islands = [r for r, m in masks.items() if is_loose_island(model, r) and (m & (claims >= 2)).any()]
        if not islands:
            return left_out
        worst = min(islands, key=lambda r: (int(masks[r].sum()), r.name))
        model.regions.remove(worst)
        left_out.append(worst.name)


def quiz_interior(model, simp):
    """Pixels strictly inside the quiz countries' land taken together (their
    shared borders included): no such pixel may be missed by every outline."""
    from shapely import vectorized
    from shapely.ops import unary_union

    union = unary_union([Polygon(raster.round_half_even(final_ring(simp, r.rings[0])[0]))
                         for r in model.quiz_regions()])
    gx, gy = np.meshgrid(np.arange(C.WIDTH, dtype=float), np.arange(C.HEIGHT, dtype=float))
    return vectorized.contains(union, gx, gy)


def start_at_top(points):
    k = min(range(len(points)), key=lambda i: (points[i][1], points[i][0]))
    return points[k:] + points[:k]


def shape_geometry(report):
    """Source data to final arcs: regions, warp onto the boxes, Luxembourg
    snapped in, every border simplified and rounded, defects repaired."""
    topology = Topology(SOURCE)
    model = M.build(topology)
    lux, plan = boxes.luxembourg_plan(model)
    warp = boxes.fit_warp(model, log)

    # How far the warp moves things, and that it folds nowhere.
    gx, gy = np.meshgrid(np.arange(C.WIDTH, dtype=float), np.arange(C.HEIGHT, dtype=float))
    grid = np.column_stack([gx.ravel(), gy.ravel()])
    det = warp.jacobian_det(grid)
    if det.min() <= 0.0:
        raise RuntimeError("the warp folds the picture")
    field = warp.displacement(grid)
    verts = np.concatenate([model.arcs[a] for a in model.used_arcs()])
    verts = verts[(verts[:, 0] >= 0) & (verts[:, 0] < C.WIDTH) & (verts[:, 1] >= 0) & (verts[:, 1] < C.HEIGHT)]
    d = warp.displacement(verts)
    moved = np.hypot(d[:, 0], d[:, 1])
    report["warp"] = {"max": float(moved.max()), "mean": float(moved.mean()), "points": len(verts),
                      "field_max": float(np.hypot(field[:, 0], field[:, 1]).max()),
                      "min_jacobian": float(det.min())}

    boxes.apply_warp(model, warp)
    boxes.snap_luxembourg(model, lux, plan)

    arcs = model.used_arcs()
    keep = keep_points(model, lux)
    closed = {a: model.ends[a][0] == model.ends[a][1] for a in arcs}
    simp = S.Simplifier({a: model.arcs[a] for a in arcs}, {a: model.fixed[a] for a in arcs}, keep,
                        lambda a: TOLERANCE if in_frame(model.arcs[a], CHECK_FRAME) else FAR_TOLERANCE)
    report["repairs"] = settle(model, simp, closed)
    report["repairs"]["invalid"] = check_regions(model, simp)
    return model, simp, lux


def make_outlines(model, simp, lux, report):
    """The 34 outlines: each quiz country's ring from the final arcs, pushed
    out along borders so that neighbours overlap and no border pixel is
    left to nobody."""
    own = owners(model)
    quiz = model.quiz_regions()

    def expands(region):
        def into(other):
            if other is None or other.quiz is None or region is lux:
                return False
            return other is lux or other.quiz < region.quiz
        return into

    neighbours = set()
    for a, regions in own.items():
        qs = sorted(r.quiz for r in regions if r.quiz is not None)
        if len(qs) == 2 and len(simp.final[a]) > 1:
            neighbours.add((C.QUIZ[qs[0]][0], C.QUIZ[qs[1]][0]))
    report["neighbours"] = sorted(neighbours)
    interior = quiz_interior(model, simp)
    report["quiz_interior"] = interior

    shapes = []  # per quiz country: outline points, edge neighbours
    pushes = {}
    for qi, region in enumerate(quiz):
        def neighbour(a, region=region):
            others = [r for r in own[a] if r is not region]
            return others[0] if others else None

        name, _ident, x, y, w, h, _src = C.QUIZ[qi]
        if region is lux:
            shapes.append(([tuple(p) for p in C.LUXEMBOURG_POINTS], [None] * len(C.LUXEMBOURG_POINTS)))
            continue
        pts, nbs = final_ring(simp, region.rings[0], neighbour)
        pts, nbs, n_pushed, n_failed = overlap.expand(pts, nbs, expands(region), (x, y, w, h))
        pushes[name] = [n_pushed, n_failed]
        shapes.append((pts, nbs))
    # Where a push could not be made, the pixels on the border may still be
    # nobody's: let either neighbour reach over there.
    for _round in range(4):
        masks = [raster.hotspot_mask(np.array(p), C.WIDTH, C.HEIGHT) for p, _ in shapes]
        gaps = interior & (np.sum(masks, axis=0) == 0)
        if not gaps.any():
            break
        gap_pixels = np.column_stack(np.nonzero(gaps)[::-1]).astype(float)
        for qi, region in enumerate(quiz):
            if region is lux:
                continue
            name, _ident, x, y, w, h, _src = C.QUIZ[qi]
            pts, nbs = shapes[qi]
            pts, nbs, n_pushed, _failed = overlap.expand(
                pts, nbs, lambda r: r is not None and r.quiz is not None, (x, y, w, h), only_near=gap_pixels)
            pushes[name][0] += n_pushed
            shapes[qi] = (pts, nbs)
    report["pushed"] = pushes

    outlines = []
    for qi, (pts, _nbs) in enumerate(shapes):
        name, ident, x, y, w, h, _src = C.QUIZ[qi]
        if quiz[qi] is not lux:
            pts = start_at_top(pts)
        outlines.append({"Name": name, "ID": ident, "X": x, "Y": y, "Width": w, "Height": h, "points": pts})
    return outlines


def make_picture(model, simp, outlines):
    """The picture's palette indices.  Quiz pixels go to the country the
    control's search finds through the final outlines, so that the picture
    and the clicks agree; the strips where outlines overlap carry the border
    lines.  The rest of the land is filled from its own rings."""
    masks = [raster.hotspot_mask(np.array(o["points"]), C.WIDTH, C.HEIGHT) for o in outlines]
    hits = np.sum(masks, axis=0)
    found = np.full((C.HEIGHT, C.WIDTH), -1, dtype=np.int64)
    for qi, mask in enumerate(masks):
        found[mask] = qi
    # Ranks: where two regions touch, the lower one draws the border line.
    # Quiz countries rank by collection order above everything else, the
    # rest by size.
    order = sorted(range(len(model.regions)), key=lambda k: (
        model.regions[k].quiz is not None,
        model.regions[k].quiz if model.regions[k].quiz is not None else 0,
        abs(signed_area(np.array(final_ring(simp, model.regions[k].rings[0])[0], dtype=float))),
        model.regions[k].name))
    priority = np.zeros(len(model.regions), dtype=np.int64)
    for rank, k in enumerate(order):
        priority[k] = rank
    labels = np.full((C.HEIGHT, C.WIDTH), -1, dtype=np.int64)
    for k in order:
        region = model.regions[k]
        if region.quiz is None:
            rings = [raster.round_half_even(final_ring(simp, refs)[0]) for refs in region.rings]
            labels[raster.region_mask(rings, C.WIDTH, C.HEIGHT) & (found < 0)] = k
    region_of = {r.quiz: k for k, r in enumerate(model.regions) if r.quiz is not None}
    for qi in range(len(outlines)):
        labels[found == qi] = region_of[qi]
    lux_qi = next(qi for qi, o in enumerate(outlines) if o["Name"] == C.LUXEMBOURG)
    # The border line runs where outlines overlap, on the strip's side that
    # faces the other country.  Luxembourg's fixed outline is too small to
    # give up a strip: it keeps its pixels and its neighbours draw the line
    # on their side.
    strip = (hits >= 2) & (found != lux_qi)
    labels[strip & raster.next_to_other(labels)] = raster.BORDER
    return raster.paint(labels, priority)


def generate():
    t0 = time.time()
    report = {}
    model, simp, lux = shape_geometry(report)
    outlines = make_outlines(model, simp, lux, report)
    pixels = make_picture(model, simp, outlines)
    bitmap = bmp.encode(pixels)
    picture_data = bytes([len(b"TBitmap")]) + b"TBitmap" + len(bitmap).to_bytes(4, "little") + bitmap
    report["seconds"] = time.time() - t0
    return outlines, picture_data, pixels, report


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--form", default=os.path.join(REPO, "app", "Unit2.form"),
                    help="form text to update (default: app/Unit2.form)")
    ap.add_argument("--png", default=os.path.join(REPO, "docs", "map.png"), help="preview to write")
    ap.add_argument("--check", action="store_true",
                    help="write nothing; fail unless the files already hold exactly what would be written")
    args = ap.parse_args()

    outlines, picture_data, pixels, report = generate()
    text = formtext.splice(args.form, lambda base: formtext.map_block(CONTROL, outlines, picture_data, base),
                           "object Form2: TForm2")
    figures = checks.run(text, pixels, report)
    png = preview.render(pixels, outlines)

    if args.check:
        same = True
        for path, data in ((args.form, text.encode("utf-8")), (args.png, png)):
            try:
                with open(path, "rb") as f:
                    old = f.read()
            except FileNotFoundError:
                old = None
            if old != data:
                log(f"{path}: differs from what the generator makes")
                same = False
        checks.print_report(figures, report, log)
        return 0 if same else 1
    with open(args.form, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    with open(args.png, "wb") as f:
        f.write(png)
    checks.print_report(figures, report, log)
    log(f"wrote {os.path.relpath(args.form, REPO)} and {os.path.relpath(args.png, REPO)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
