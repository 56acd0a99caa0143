"""Neighbouring outlines overlap by about a pixel.

Outlines that share a border line exactly leave the pixels on it to neither
side where the line runs up or down (the control's crossing test takes a
pixel on a vertical edge as outside) and to one side elsewhere, so no point
would lie in both and a click on the border could find nothing.  Along a
border with a country earlier in the collection, the later country's outline
is pushed outward: two pixels across, one pixel up or down, which by that
test leaves a strip about one pixel wide inside both outlines.  The picture
draws the border line on that strip, and a click there finds the later
country, as the control searches last to first.  Luxembourg's outline is
fixed, so its neighbours reach into it instead."""

import numpy as np
from shapely.geometry import LinearRing, Polygon

import raster


STEP = (2.0, 1.0)  # push across, push up or down


def _push_step(n):
    """The push for outward direction n: the 8-way direction closest to it,
    scaled by STEP."""
    length = float(np.hypot(n[0], n[1]))
    if length == 0.0:
        return np.zeros(2)
    u = n / length
    return np.array([STEP[0] * np.sign(u[0]) if abs(u[0]) > 0.3827 else 0.0,
                     STEP[1] * np.sign(u[1]) if abs(u[1]) > 0.3827 else 0.0])


def _outward(p, q):
    """Outward normal of edge p -> q on a ring that runs clockwise on the
    screen (y down)."""
    d = np.asarray(q, dtype=float) - np.asarray(p, dtype=float)
    n = np.array([d[1], -d[0]])
    length = float(np.hypot(n[0], n[1]))
    return n / length if length else n


def mask_of(points, box):
    """The control's pixels of an outline, over the box's pixels."""
    x0, y0, w, h = box
    r = raster.round_half_even(points)
    return raster.crossing_parity(r, w + 1, h + 1, origin=(x0, y0))


def is_simple(points):
    r = raster.round_half_even(points)
    if len({tuple(p) for p in r}) != len(r) or len(r) < 3:
        return False
    ring = LinearRing(r)
    return ring.is_simple and Polygon(r).is_valid


def _flatten(groups):
    """Join the vertex groups into a ring with its edge neighbours, dropping
    repeated points."""
    pts, nbs = [], []
    for group in groups:
        for p, nb in group:
            if pts and p == pts[-1]:
                nbs[-1] = nb
                continue
            pts.append(p)
            nbs.append(nb)
    while len(pts) > 1 and pts[0] == pts[-1]:
        pts.pop()
        nbs.pop()
    return pts, nbs


def expand(points, edge_neighbour, expands_into, box, only_near=None):
    """points: the outline (clockwise on the screen); edge_neighbour[k]: the
    region across the edge from point k to point k + 1 (None on the coast);
    expands_into(region): whether to push out along that border.  Vertices
    are pushed one at a time, each push kept only if the outline stays a
    simple ring with the same box that still holds every pixel it held; a
    push that fails is tried again at one pixel.  only_near: if given, an
    array of pixels (x, y); only vertices within 3 pixels of one are pushed.
    Returns the new outline, its edge neighbours, the number of vertices
    pushed and the number of pushes that failed."""
    n = len(points)
    pts = [tuple(map(float, p)) for p in points]
    x0, y0, w, h = box
    base_mask = mask_of(pts, box)
    # What each vertex has become: [(point, neighbour across the edge from it)]
    out = [[(p, edge_neighbour[i])] for i, p in enumerate(pts)]

    def clamp(p):
        return (float(min(max(p[0], x0), x0 + w)), float(min(max(p[1], y0), y0 + h)))

    def step(normal, scale):
        s = _push_step(normal)
        return np.array([np.sign(s[0]) * min(abs(s[0]), scale[0]), np.sign(s[1]) * min(abs(s[1]), scale[1])])

    pushed = failed = 0
    for i in range(n):
        before, after = edge_neighbour[i - 1], edge_neighbour[i]
        push_before = before is not None and expands_into(before)
        push_after = after is not None and expands_into(after)
        if not (push_before or push_after):
            continue
        if only_near is not None:
            if not len(only_near) or np.min(np.hypot(only_near[:, 0] - pts[i][0], only_near[:, 1] - pts[i][1])) > 3.0:
                continue
        n_before = _outward(pts[i - 1], pts[i])
        n_after = _outward(pts[i], pts[(i + 1) % n])
        p = np.rint(np.asarray(pts[i]))
        candidates = []
        for scale in (STEP, (1.0, 1.0)):
            if push_before and push_after:
                candidates.append([(clamp(p + step(n_before + n_after, scale)), after)])
            elif push_before:
                # the last vertex of a run: a jog out just before it
                candidates.append([(clamp(p + step(n_before, scale)), before), (pts[i], after)])
            else:
                candidates.append([(pts[i], after), (clamp(p + step(n_after, scale)), after)])
        for cand in candidates:
            trial = out[:i] + [cand] + out[i + 1:]
            ring, _ = _flatten(trial)
            if len(ring) < 3 or not is_simple(ring) or raster.update_bounds(np.array(ring)) != box:
                continue
            if (base_mask & ~mask_of(ring, box)).any():
                continue  # it must still hold every pixel it held
            out = trial
            pushed += 1
            break
        else:
            failed += 1
    ring, nbs = _flatten(out)
    return ring, nbs, pushed, failed
