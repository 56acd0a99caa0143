"""Border-by-border simplification on whole pixels.

Each arc is simplified once, so both countries along a border get the same
vertices, and then rounded to whole pixels (the control compares rounded
points anyway).  A global check then looks for arcs that cross, touch or
double back after rounding; the caller repairs those and runs it again."""

import numpy as np

from topo import arc_index


def douglas_peucker(pts, tol, keep):
    """Indices of the points kept: every index in 'keep', plus what is needed
    for no dropped point to lie farther than tol from the simplified line."""
    n = len(pts)
    marks = np.zeros(n, dtype=bool)
    marks[sorted(keep)] = True
    anchors = np.nonzero(marks)[0]
    stack = [(int(a), int(b)) for a, b in zip(anchors[:-1], anchors[1:])]
    while stack:
        i, j = stack.pop()
        if j - i < 2:
            continue
        a, b = pts[i], pts[j]
        seg = pts[i + 1 : j]
        d = b - a
        ll = float(d @ d)
        if ll == 0.0:
            dist = np.hypot(seg[:, 0] - a[0], seg[:, 1] - a[1])
        else:
            t = np.clip(((seg - a) @ d) / ll, 0.0, 1.0)
            proj = a + t[:, None] * d
            dist = np.hypot(seg[:, 0] - proj[:, 0], seg[:, 1] - proj[:, 1])
        k = int(np.argmax(dist))
        if dist[k] > tol:
            m = i + 1 + k
            marks[m] = True
            stack.append((i, m))
            stack.append((m, j))
    return np.nonzero(marks)[0]


def clean(points, origin, keep):
    """Drop repeated points and spikes (a, b, a) left by rounding.  The arc's
    end values stay, and so does a spike whose tip is marked to keep.  Returns
    the points and, per point, the index of the source point it came from."""
    pts = [tuple(p) for p in points]
    org = list(origin)
    kp = list(keep)
    changed = True
    while changed:
        changed = False
        out, oo, ok = [pts[0]], [org[0]], [kp[0]]
        for p, o, k in zip(pts[1:], org[1:], kp[1:]):
            if p == out[-1]:
                if k and not ok[-1]:
                    oo[-1] = o
                ok[-1] = ok[-1] or k
                changed = True
                continue
            out.append(p)
            oo.append(o)
            ok.append(k)
        k = 1
        while k + 1 < len(out):
            if out[k - 1] == out[k + 1] and not ok[k] and len(out) > 3:
                # a -> b -> a: an excursion without width.
                ok[k - 1] = ok[k - 1] or ok[k + 1]
                del out[k : k + 2]
                del oo[k : k + 2]
                del ok[k : k + 2]
                changed = True
                continue
            k += 1
        pts, org, kp = out, oo, ok
    return pts, org


def _orient(ax, ay, bx, by, cx, cy):
    return np.sign((bx - ax) * (cy - ay) - (by - ay) * (cx - ax))


def _on_segment(ax, ay, bx, by, cx, cy):
    return (np.minimum(ax, bx) <= cx) & (cx <= np.maximum(ax, bx)) & (np.minimum(ay, by) <= cy) & (cy <= np.maximum(ay, by))


def find_defects(final, arcs, closed, frame, cell=6.0):
    """Pairs of segments that meet where they must not.  Coordinates are
    compared as the control compares them: rounded to whole pixels.

    Allowed: neighbouring segments of one arc sharing their vertex (also the
    first and last segment of a closed arc), and segments of two arcs that
    share an arc end without overlapping.  Only segments that reach into the
    frame are looked at.  Returns [((arc, segment), (arc, segment), (x, y))]."""
    rounded = {a: [(float(np.rint(x)), float(np.rint(y))) for x, y in final[a]] for a in arcs}
    seg = []
    for a in arcs:
        p = rounded[a]
        for k in range(len(p) - 1):
            (ax, ay), (bx, by) = p[k], p[k + 1]
            if max(ax, bx) < frame[0] or min(ax, bx) > frame[2] or max(ay, by) < frame[1] or min(ay, by) > frame[3]:
                continue
            seg.append((ax, ay, bx, by, a, k, len(p) - 1))
    if not seg:
        return []
    s = np.array(seg, dtype=np.float64)
    # Bucket the segments on a coarse grid to find the pairs worth testing.
    x0 = np.floor(np.minimum(s[:, 0], s[:, 2]) / cell).astype(np.int64)
    x1 = np.floor(np.maximum(s[:, 0], s[:, 2]) / cell).astype(np.int64)
    y0 = np.floor(np.minimum(s[:, 1], s[:, 3]) / cell).astype(np.int64)
    y1 = np.floor(np.maximum(s[:, 1], s[:, 3]) / cell).astype(np.int64)
    buckets = {}
    for i in range(len(s)):
        for cx in range(x0[i], x1[i] + 1):
            for cy in range(y0[i], y1[i] + 1):
                buckets.setdefault((cx, cy), []).append(i)
    pairs = set()
    for members in buckets.values():
        m = len(members)
        for u in range(m):
            for v in range(u + 1, m):
                pairs.add((members[u], members[v]))
    if not pairs:
        return []
    pr = np.array(sorted(pairs), dtype=np.int64)
    p, q = s[pr[:, 0]], s[pr[:, 1]]
    d1 = _orient(q[:, 0], q[:, 1], q[:, 2], q[:, 3], p[:, 0], p[:, 1])
    d2 = _orient(q[:, 0], q[:, 1], q[:, 2], q[:, 3], p[:, 2], p[:, 3])
    d3 = _orient(p[:, 0], p[:, 1], p[:, 2], p[:, 3], q[:, 0], q[:, 1])
    d4 = _orient(p[:, 0], p[:, 1], p[:, 2], p[:, 3], q[:, 2], q[:, 3])
    meet = ((d1 * d2 < 0) & (d3 * d4 < 0))
    meet |= (d1 == 0) & _on_segment(q[:, 0], q[:, 1], q[:, 2], q[:, 3], p[:, 0], p[:, 1])
    meet |= (d2 == 0) & _on_segment(q[:, 0], q[:, 1], q[:, 2], q[:, 3], p[:, 2], p[:, 3])
    meet |= (d3 == 0) & _on_segment(p[:, 0], p[:, 1], p[:, 2], p[:, 3], q[:, 0], q[:, 1])
    meet |= (d4 == 0) & _on_segment(p[:, 0], p[:, 1], p[:, 2], p[:, 3], q[:, 2], q[:, 3])
    defects = []
    for i in np.nonzero(meet)[0]:
        a = s[pr[i, 0]]
        b = s[pr[i, 1]]
        if _allowed(a, b, rounded, closed):
            continue
        defects.append(((int(a[4]), int(a[5])), (int(b[4]), int(b[5])), _meeting_point(a, b)))
    return defects


def _meeting_point(a, b):
    for pa in ((a[0], a[1]), (a[2], a[3])):
        for pb in ((b[0], b[1]), (b[2], b[3])):
            if pa == pb:
                return pa
    return ((a[0] + a[2] + b[0] + b[2]) / 4, (a[1] + a[3] + b[1] + b[3]) / 4)


def _shared_end(a, b):
    """The single endpoint the two segments share, with both other ends."""
    ends_a = [((a[0], a[1]), (a[2], a[3])), ((a[2], a[3]), (a[0], a[1]))]
    ends_b = [((b[0], b[1]), (b[2], b[3])), ((b[2], b[3]), (b[0], b[1]))]
    for pa, oa in ends_a:
        for pb, ob in ends_b:
            if pa == pb:
                return pa, oa, ob
    return None


def _allowed(a, b, rounded, closed):
    shared = _shared_end(a, b)
    if shared is None:
        return False
    p, oa, ob = shared
    ux, uy = oa[0] - p[0], oa[1] - p[1]
    vx, vy = ob[0] - p[0], ob[1] - p[1]
    if ux * vy - uy * vx == 0 and ux * vx + uy * vy > 0:
        return False  # they run on top of each other
    # Segments that meet at one point only: fine where they are neighbours on
    # one arc or where both arcs end there (a junction).
    arc_a, k_a, n_a = int(a[4]), int(a[5]), int(a[6])
    arc_b, k_b, n_b = int(b[4]), int(b[5]), int(b[6])
    if arc_a == arc_b:
        if abs(k_a - k_b) == 1:
            return True
        if closed.get(arc_a) and {k_a, k_b} == {0, n_a - 1}:
            return True
        return False
    ra, rb = rounded[arc_a], rounded[arc_b]
    return p in (ra[0], ra[-1]) and p in (rb[0], rb[-1])


class Simplifier:
    """Kept source points per arc, refined where the rounded result breaks."""

    def __init__(self, arcs, fixed, keep, tolerance):
        self.arcs = arcs  # arc -> source points (float array)
        self.fixed = fixed  # arc -> bool
        # arc -> {source index: axes (0 for x, 1 for y) whose value must stay}
        self.keep_axes = keep
        self.keep = {a: set(k) for a, k in keep.items()}  # arc -> source indices that must stay
        # (arc, source index) -> whole-pixel position other than the nearest
        self.moved = {}
        # Ends shared with a fixed arc keep the fixed arc's exact value.
        self.exact = {tuple(map(float, pts[e])) for a, pts in arcs.items() if fixed[a] for e in (0, -1)}
        self.cuts = {a: [] for a in arcs}  # arc -> [(i, j)]: no point between i and j
        self.marks = {}
        for a, pts in arcs.items():
            n = len(pts)
            if fixed[a]:
                self.marks[a] = np.ones(n, dtype=bool)
                continue
            m = np.zeros(n, dtype=bool)
            m[douglas_peucker(pts, tolerance(a), self.keep[a] | {0, n - 1})] = True
            self.marks[a] = m
        self.realize()

    def realize(self):
        self.final = {}
        self.origin = {}
        for a, pts in self.arcs.items():
            idx = np.nonzero(self.marks[a])[0]
            if self.fixed[a]:
                self.final[a] = [tuple(map(float, p)) for p in pts]
                self.origin[a] = list(idx)
                continue
            r = np.rint(pts[idx])
            for k, i in enumerate(idx):
                if (a, int(i)) in self.moved:
                    r[k] = self.moved[(a, int(i))]
            for k in (0, -1):
                if tuple(map(float, pts[idx[k]])) in self.exact:
                    r[k] = pts[idx[k]]
            self.final[a], self.origin[a] = clean(r, idx, [int(i) in self.keep[a] for i in idx])
        return self.final

    def span(self, a, k):
        return self.origin[a][k], self.origin[a][k + 1]

    def refine(self, a, k):
        """Add the source point farthest from final segment k of arc a.  False
        when the segment has no source point left to add."""
        if self.fixed[a]:
            return False
        i, j = self.span(a, k)
        if j - i < 2:
            return False
        inner = np.arange(i + 1, j)
        inner = inner[~self.marks[a][inner]]
        for ci, cj in self.cuts[a]:
            inner = inner[(inner <= ci) | (inner >= cj)]
        if len(inner) == 0:
            return False
        pts = self.arcs[a]
        p0, p1 = pts[i], pts[j]
        d = p1 - p0
        q = pts[inner]
        ll = float(d @ d)
        if ll == 0.0:
            dist = np.hypot(q[:, 0] - p0[0], q[:, 1] - p0[1])
        else:
            t = np.clip(((q - p0) @ d) / ll, 0.0, 1.0)
            dist = np.hypot(q[:, 0] - p0[0] - t * d[0], q[:, 1] - p0[1] - t * d[1])
        self.marks[a][inner[int(np.argmax(dist))]] = True
        return True

    def cut(self, a, k1, k2):
        """Cut out the part of arc a between final segments k1 < k2 (a fjord or
        a spit too narrow for whole pixels): the arc then runs straight from
        the start of k1 to the end of k2.  False if a point to keep lies in it."""
        i, j = self.origin[a][k1], self.origin[a][k2 + 1]
        inside = [p for p in self.keep[a] if i < p < j]
        if inside or self.fixed[a]:
            return False
        self.marks[a][i + 1 : j] = False
        self.cuts[a].append((i, j))
        return True

    def coarsen(self, a, k, point):
        """Drop an inner vertex of final segment k of arc a, preferring the one
        at 'point', for good: it will not be added back.  False if both ends
        of the segment are arc ends or points to keep."""
        if self.fixed[a]:
            return False
        n = len(self.final[a])
        cands = [j for j in (k, k + 1) if 0 < j < n - 1 and self.origin[a][j] not in self.keep[a]]
        if not cands:
            return False
        at = [j for j in cands if self.final[a][j] == point]
        j = (at or cands)[0]
        i = self.origin[a][j]
        self.marks[a][i] = False
        self.cuts[a].append((i - 1, i + 1))
        return True

    def nudge(self, a, k, other):
        """Round an inner vertex of final segment k of arc a the other way
        (to another corner of its pixel square), to whichever corner lies
        farthest from the segment 'other' ((x1, y1), (x2, y2)) it runs into.
        A coordinate that sets a box stays.  False if nothing can move."""
        if self.fixed[a]:
            return False
        n = len(self.final[a])
        best = None
        for j in (k, k + 1):
            if not 0 < j < n - 1:
                continue
            i = int(self.origin[a][j])
            if (a, i) in self.moved:
                continue
            src = self.arcs[a][i]
            fixed_axes = self.keep_axes[a].get(i, set())
            now = self.final[a][j]
            for fx in {np.floor(src[0]), np.ceil(src[0])}:
                for fy in {np.floor(src[1]), np.ceil(src[1])}:
                    cand = (float(fx), float(fy))
                    if cand == now or (0 in fixed_axes and cand[0] != now[0]) or (1 in fixed_axes and cand[1] != now[1]):
                        continue
                    d = _point_segment_distance(cand, other)
                    if best is None or d > best[0]:
                        best = (d, i, cand)
        if best is None or best[0] == 0.0:
            return False
        self.moved[(a, best[1])] = best[2]
        return True


def _point_segment_distance(p, seg):
    (x1, y1), (x2, y2) = seg
    dx, dy = x2 - x1, y2 - y1
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else min(max(((p[0] - x1) * dx + (p[1] - y1) * dy) / ll, 0.0), 1.0)
    return float(np.hypot(p[0] - x1 - t * dx, p[1] - y1 - t * dy))
