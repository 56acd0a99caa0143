"""Pixels: which picture pixels an outline holds, exactly as the control's
point test decides it, and the map picture made from the regions."""

import numpy as np

RAY_END = 1000  # the control's test segment ends at this x

SILVER = 7
WHITE = 15
BORDER = -2  # label of a pixel that is land but drawn as a border line


def round_half_even(v):
    return np.rint(np.asarray(v, dtype=float))


def update_bounds(points):
    """The control's box of an outline: min and max of the rounded points."""
    r = round_half_even(points)
    x0, y0 = int(r[:, 0].min()), int(r[:, 1].min())
    return x0, y0, int(r[:, 0].max()) - x0, int(r[:, 1].max()) - y0


def crossing_parity(verts, width, height, ray_end=RAY_END, origin=(0, 0)):
    """Per pixel (x, y) of a width x height grid starting at origin: odd
    number of outline edges crossed by the segment from (x, y) to
    (ray_end, y), with the control's orientation rule (collinear counts as
    -1).  Vertices are used as given (round them first to copy the control)."""
    v = np.asarray(verts, dtype=float)
    c = v
    d = np.roll(v, -1, axis=0)
    ys = np.arange(origin[1], origin[1] + height, dtype=float)
    xs = np.arange(origin[0], origin[0] + width, dtype=float)[None, :]
    parity = np.zeros((height, width), dtype=bool)
    for (cx, cy), (dx, dy) in zip(c, d):
        lo, hi = min(cy, dy), max(cy, dy)
        # Orientation(A, B, C) and (A, B, D) differ exactly when the row lies
        # in [lo, hi): only those rows can count the edge.
        r0 = int(np.searchsorted(ys, lo, "left"))
        r1 = int(np.searchsorted(ys, hi, "left"))
        if r1 <= r0:
            continue
        y = ys[r0:r1][:, None]
        o3 = (dx - cx) * (y - cy) > (dy - cy) * (xs - cx)
        o4 = (dx - cx) * (y - cy) > (dy - cy) * (ray_end - cx)
        parity[r0:r1] ^= o3 != o4
    return parity


def hotspot_mask(points, width, height):
    """The pixels for which the control's polygon test answers 'inside'."""
    if len(points) < 3:
        return np.zeros((height, width), dtype=bool)
    r = round_half_even(points)
    x0, y0, w, h = update_bounds(points)
    mask = crossing_parity(r, width, height)
    box = np.zeros_like(mask)
    box[max(y0, 0) : max(y0 + h + 1, 0), max(x0, 0) : max(x0 + w + 1, 0)] = True
    return mask & box


def clip_ring(verts, box):
    """Sutherland-Hodgman clip of a closed ring to an axis-aligned box.  The
    even-odd parity of every point inside the box is kept, even for rings
    that are not simple out beyond it."""
    x0, y0, x1, y1 = box
    pts = [tuple(p) for p in verts]
    for axis, bound, keep_less in ((0, x0, False), (0, x1, True), (1, y0, False), (1, y1, True)):
        if not pts:
            break

        def inside(p):
            return p[axis] <= bound if keep_less else p[axis] >= bound

        def cross(p, q):
            t = (bound - p[axis]) / (q[axis] - p[axis])
            r = [p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])]
            r[axis] = bound
            return tuple(r)

        out = []
        for k in range(len(pts)):
            cur, prev = pts[k], pts[k - 1]
            if inside(cur):
                if not inside(prev):
                    out.append(cross(prev, cur))
                out.append(cur)
            elif inside(prev):
                out.append(cross(prev, cur))
        pts = out
    return pts


def region_mask(rings, width, height):
    """Even-odd fill of a region's rings (outer ring and holes)."""
    clip = (-2.5, -2.5, width + 1.5, height + 1.5)
    mask = np.zeros((height, width), dtype=bool)
    for ring in rings:
        c = clip_ring(ring, clip)
        if len(c) >= 3:
            mask ^= crossing_parity(np.array(c), width, height)
    return mask


def _neighbours(a, fill):
    """The eight shifted copies of a 2-D array (what each pixel's neighbour
    holds), padded with fill."""
    height, width = a.shape
    padded = np.pad(a, 1, constant_values=fill)
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            if dx or dy:
                yield padded[1 + dy : 1 + dy + height, 1 + dx : 1 + dx + width]


def next_to_other(labels):
    """Pixels with a neighbour (8 ways) that belongs to another region."""
    out = np.zeros(labels.shape, dtype=bool)
    for nl in _neighbours(labels, -1):
        out |= (labels >= 0) & (nl >= 0) & (nl != labels)
    return out


def paint(labels, priority):
    """Silver land and white sea and border lines.  labels: region index per
    pixel, -1 for sea, BORDER for a border line.  Where two regions still
    touch, a land pixel next to (8 ways) a pixel of another region that ranks
    higher turns white, which draws a one-pixel line on the lower-ranking
    side of the border."""
    land = labels >= 0
    rank = np.full(labels.shape, -1, dtype=np.int64)
    rank[land] = np.asarray(priority)[labels[land]]
    white = np.zeros_like(land)
    for nl, nr in zip(_neighbours(labels, -1), _neighbours(rank, -1)):
        white |= land & (nl >= 0) & (nl != labels) & (nr > rank)
    pixels = np.full(labels.shape, WHITE, dtype=np.uint8)
    pixels[land & ~white] = SILVER
    return pixels
