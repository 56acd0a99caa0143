"""Reading the TopoJSON of world-atlas and regrouping its polygons while keeping
the shared borders shared.

A ring is a list of arc references: i for arc i as stored, ~i (= -i-1) for
arc i walked backwards.  Neighbours reference the same arc, so whatever is done
to an arc happens to both sides of the border."""

import json

import numpy as np


def arc_index(ref):
    return ref if ref >= 0 else ~ref


class Topology:
    def __init__(self, path):
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        (sx, sy), (tx, ty) = data["transform"]["scale"], data["transform"]["translate"]
        # Quantized, delta-encoded positions: the integer positions identify
        # junctions exactly; longitude and latitude follow from the transform.
        self.quantized = [np.cumsum(np.asarray(a, dtype=np.int64), axis=0) for a in data["arcs"]]
        self.lonlat = [q * np.array([sx, sy]) + np.array([tx, ty]) for q in self.quantized]
        self.countries = {}
        for geometry in data["objects"]["countries"]["geometries"]:
            name = geometry["properties"]["name"]
            if geometry["type"] == "Polygon":
                polygons = [geometry["arcs"]]
            elif geometry["type"] == "MultiPolygon":
                polygons = geometry["arcs"]
            else:
                continue
            if name in self.countries:
                raise ValueError(f"country name {name!r} appears twice")
            self.countries[name] = polygons

    def start_key(self, ref):
        q = self.quantized[arc_index(ref)]
        p = q[0] if ref >= 0 else q[-1]
        return (int(p[0]), int(p[1]))

    def end_key(self, ref):
        q = self.quantized[arc_index(ref)]
        p = q[-1] if ref >= 0 else q[0]
        return (int(p[0]), int(p[1]))

    def ring_lonlat(self, ring):
        return ring_points(ring, self.lonlat)


def ring_points(ring, arcs):
    """The closed ring's points, the closing point not repeated."""
    parts = []
    for k, ref in enumerate(ring):
        p = arcs[arc_index(ref)]
        if ref < 0:
            p = p[::-1]
        parts.append(p if k == 0 else p[1:])
    pts = np.concatenate(parts, axis=0)
    return pts[:-1]


def dissolve(topology, polygons):
    """Merge polygons into one area: arcs walked in both directions lie inside
    and go; the rest is chained back into rings (outer rings and holes)."""
    refs = [ref for polygon in polygons for ring in polygon for ref in ring]
    forward = {}
    for ref in refs:
        forward.setdefault(arc_index(ref), []).append(ref)
    remaining = []
    for ref in refs:
        uses = forward[arc_index(ref)]
        if any(r >= 0 for r in uses) and any(r < 0 for r in uses):
            continue
        remaining.append(ref)
    by_start = {}
    for ref in remaining:
        by_start.setdefault(topology.start_key(ref), []).append(ref)
    used = set()
    rings = []
    for ref in remaining:
        if ref in used:
            continue
        ring = [ref]
        used.add(ref)
        start, end = topology.start_key(ref), topology.end_key(ref)
        while end != start:
            nxt = [r for r in by_start.get(end, []) if r not in used]
            if not nxt:
                raise ValueError("dissolve: ring does not close")
            ring.append(nxt[0])
            used.add(nxt[0])
            end = topology.end_key(nxt[0])
        rings.append(ring)
    return rings


def signed_area(pts):
    """Shoelace area; with y growing downward a ring that runs clockwise on
    the screen has a positive area."""
    x, y = pts[:, 0], pts[:, 1]
    return 0.5 * float(np.sum(x * np.roll(y, -1) - np.roll(x, -1) * y))
