"""Moving the geometry onto the quiz's boxes: one smooth warp fitted to the
box edges and to Luxembourg's fixed corners, then Luxembourg's borders
replaced by its fixed outline in every country that touches it."""

import numpy as np

import countries as C
import warp as W
from topo import arc_index

GRID_SPACING = 12.0
# Vertices may end this far beyond their box edge and still round onto it.
SLACK = 0.4


def box_of(entry):
    _name, _id, x, y, w, h, _src = entry
    return x, y, x + w, y + h


def neighbour_runs(model, region):
    """The region's single ring cut into runs of consecutive arcs by the
    region on the other side: [(neighbour region, [refs])]."""
    owner = {}
    for other in model.regions:
        if other is region:
            continue
        for ring in other.rings:
            for ref in ring:
                owner[arc_index(ref)] = other
    ring = region.rings[0]
    runs = []
    for ref in ring:
        nb = owner.get(arc_index(ref))
        if runs and runs[-1][0] is nb:
            runs[-1][1].append(ref)
        else:
            runs.append((nb, [ref]))
    if len(runs) > 1 and runs[0][0] is runs[-1][0]:
        nb, refs = runs.pop()
        runs[0] = (nb, refs + runs[0][1])
    return runs


def luxembourg_plan(model):
    """Per border of Luxembourg: the neighbour, its arcs (walking Luxembourg
    clockwise) and the indices of the fixed outline that replace them."""
    lux = next(r for r in model.quiz_regions() if r.name == C.LUXEMBOURG)
    runs = neighbour_runs(model, lux)
    by_name = {nb.name if nb else None: refs for nb, refs in runs}
    plan = []
    for name, idx in C.LUXEMBOURG_BORDERS:
        if name not in by_name:
            raise ValueError(f"Luxembourg has no border with {name}")
        nb = next(r for r in model.regions if r.name == name)
        plan.append((nb, by_name[name], idx))
    if len(runs) != len(plan):
        raise ValueError("Luxembourg has borders with unexpected neighbours: "
                         + ", ".join(str(nb) for nb, _ in runs))
    # The runs must follow each other clockwise in the order given.
    order = [nb.name for nb, _ in runs]
    k = order.index(plan[0][0].name)
    if order[k:] + order[:k] != [p[0].name for p in plan]:
        raise ValueError(f"Luxembourg's borders run {order}, expected the order of the fixed outline")
    return lux, plan


def _first_point(model, ref):
    a = model.arcs[arc_index(ref)]
    return a[0] if ref >= 0 else a[-1]


def fit_warp(model, log):
    lux, plan = luxembourg_plan(model)
    constraints = []
    # Luxembourg's tripoints go onto the fixed outline's corners.
    for _nb, refs, idx in plan:
        p = _first_point(model, refs[0])
        target = C.LUXEMBOURG_POINTS[idx[0]]
        constraints.append((tuple(p), 0, target[0]))
        constraints.append((tuple(p), 1, target[1]))
    rings = []
    for qi, region in enumerate(model.quiz_regions()):
        if region is lux:
            continue
        pts = model.ring(region.rings[0])
        lo_x, lo_y, hi_x, hi_y = box_of(C.QUIZ[qi])
        rings.append((region.name, pts, (lo_x, lo_y, hi_x, hi_y)))
        constraints.append((tuple(pts[np.argmin(pts[:, 0])]), 0, lo_x))
        constraints.append((tuple(pts[np.argmax(pts[:, 0])]), 0, hi_x))
        constraints.append((tuple(pts[np.argmin(pts[:, 1])]), 1, lo_y))
        constraints.append((tuple(pts[np.argmax(pts[:, 1])]), 1, hi_y))

    grid = W.Grid(GRID_SPACING, (-4 * GRID_SPACING, 400 + 4 * GRID_SPACING),
                  (-4 * GRID_SPACING, 407 + 4 * GRID_SPACING))
    for round_ in range(30):
        warp = W.fit(grid, constraints)
        added = 0
        for name, pts, (lo_x, lo_y, hi_x, hi_y) in rings:
            wp = warp.apply(pts)
            for axis, lo, hi in ((0, lo_x, hi_x), (1, lo_y, hi_y)):
                v = wp[:, axis]
                k = int(np.argmin(v))
                if v[k] < lo - SLACK:
                    constraints.append((tuple(pts[k]), axis, lo))
                    added += 1
                k = int(np.argmax(v))
                if v[k] > hi + SLACK:
                    constraints.append((tuple(pts[k]), axis, hi))
                    added += 1
        log(f"warp round {round_}: {len(constraints)} constraints, {added} added")
        if not added:
            return warp
    raise RuntimeError("the warp did not settle onto the boxes")


def apply_warp(model, warp):
    for i in model.used_arcs():
        model.arcs[i] = warp.apply(model.arcs[i])


def _replace_run(ring, run, new_ref):
    """Replace the consecutive refs 'run' (possibly wrapping round the ring's
    start) by the single new_ref."""
    n = len(ring)
    for s in range(n):
        if all(ring[(s + k) % n] == run[k] for k in range(len(run))):
            rotated = ring[s:] + ring[:s]
            ring[:] = [new_ref] + rotated[len(run):]
            return
    raise ValueError("run not found in ring")


def snap_luxembourg(model, lux, plan):
    """Replace Luxembourg's borders by the fixed outline, in Luxembourg and in
    the neighbour alike, and pull every other border ending at one of its
    tripoints onto the fixed corner."""
    from model import end_key, start_key

    fixed = C.LUXEMBOURG_POINTS
    for _nb, refs, idx in plan:
        key = start_key(model, refs[0])
        corner = np.array(fixed[idx[0]])
        for i in model.used_arcs():
            s, e = model.ends[i]
            if s == key:
                model.arcs[i][0] = corner
            if e == key:
                model.arcs[i][-1] = corner
    for nb, refs, idx in plan:
        new = model.add_arc([fixed[i] for i in idx], start_key(model, refs[0]), end_key(model, refs[-1]), True)
        _replace_run(lux.rings[0], refs, new)
        _replace_run(nb.rings[0], [~r for r in reversed(refs)], ~new)
