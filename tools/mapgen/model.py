"""The map's areas (regions) over a shared set of arcs in picture pixels.

A region is one area of one colour on the picture: a quiz country's mainland
(the part its hotspot outlines), an island, or a polygon of a country outside
the quiz.  Each holds rings of arc references; ring 0 is the outer ring."""

import numpy as np

import countries as C
from project import project
from topo import arc_index, dissolve, ring_points, signed_area

# Everything that can reach into the picture: polygons whose box meets this
# frame are kept, the rest of the world is dropped.
FRAME = (-10.0, -10.0, C.WIDTH + 10.0, C.HEIGHT + 10.0)
# Islands smaller than this many square pixels would be a pixel or two of
# noise along the coasts.
MIN_ISLAND_AREA = 1.5


class Region:
    def __init__(self, name, country, rings, quiz=None):
        self.name = name
        self.country = country
        self.rings = rings
        self.quiz = quiz  # index into countries.QUIZ for a quiz mainland

    def __repr__(self):
        return f"Region({self.name})"


class Model:
    def __init__(self, topology):
        self.topology = topology
        # Pixel positions per arc (filled for the arcs in use), the junction
        # identity of both ends, and whether the arc is fixed (never simplified
        # or rounded: Luxembourg's borders).
        self.arcs = [None] * len(topology.quantized)
        self.ends = [(topology.start_key(i), topology.end_key(i)) for i in range(len(topology.quantized))]
        self.fixed = [False] * len(topology.quantized)
        self.regions = []

    def ring(self, refs):
        return ring_points(refs, self.arcs)

    def used_arcs(self):
        return sorted({arc_index(r) for region in self.regions for ring in region.rings for r in ring})

    def quiz_regions(self):
        out = [None] * len(C.QUIZ)
        for region in self.regions:
            if region.quiz is not None:
                out[region.quiz] = region
        return out

    def add_arc(self, pts, start_key, end_key, fixed):
        self.arcs.append(np.asarray(pts, dtype=float))
        self.ends.append((start_key, end_key))
        self.fixed.append(fixed)
        return len(self.arcs) - 1


def _box_meets_frame(pts):
    return not (
        pts[:, 0].max() < FRAME[0] or pts[:, 0].min() > FRAME[2] or pts[:, 1].max() < FRAME[1] or pts[:, 1].min() > FRAME[3]
    )


def _find_part(topology, part):
    country = part.split(":")[0]
    (lon_lo, lon_hi), (lat_lo, lat_hi) = C.PARTS[part]
    hits = []
    for k, polygon in enumerate(topology.countries[country]):
        ll = topology.ring_lonlat(polygon[0])
        cx = (ll[:, 0].min() + ll[:, 0].max()) / 2
        cy = (ll[:, 1].min() + ll[:, 1].max()) / 2
        if lon_lo <= cx <= lon_hi and lat_lo <= cy <= lat_hi:
            hits.append(k)
    if len(hits) != 1:
        raise ValueError(f"part {part!r} matches {len(hits)} polygons")
    return country, hits[0]


def build(topology):
    model = Model(topology)
    projected = {}

    def px(ref_ring):
        for ref in ref_ring:
            i = arc_index(ref)
            if model.arcs[i] is None:
                if i not in projected:
                    projected[i] = project(topology.lonlat[i])
                model.arcs[i] = projected[i]
        return model.ring(ref_ring)

    taken = {}
    for part in C.PARTS:
        taken[_find_part(topology, part)] = part

    def polygons_of(source):
        if ":" in source:
            country, k = next(key for key, part in taken.items() if part == source)
            return [topology.countries[country][k]]
        return [p for k, p in enumerate(topology.countries[source]) if (source, k) not in taken]

    grouped = set()
    regions = []
    for qi, (name, _id, *_box, sources) in enumerate(C.QUIZ):
        polygons = []
        for source in sources:
            polygons += polygons_of(source)
            if ":" not in source:
                grouped.add(source)
        rings = dissolve(topology, polygons)
        pts = [px(r) for r in rings]
        areas = [signed_area(p) for p in pts]
        # Outer rings and holes run opposite ways; the largest ring is outer.
        outer_sign = np.sign(areas[int(np.argmax(np.abs(areas)))])
        outers = [k for k in range(len(rings)) if np.sign(areas[k]) == outer_sign]
        holes = [k for k in range(len(rings)) if np.sign(areas[k]) != outer_sign]
        if holes:
            raise ValueError(f"{name}: holes are not expected here")
        outers.sort(key=lambda k: -abs(areas[k]))
        regions.append(Region(name, name, [rings[outers[0]]], quiz=qi))
        for n, k in enumerate(outers[1:]):
            if abs(areas[k]) >= MIN_ISLAND_AREA and _box_meets_frame(pts[k]):
                regions.append(Region(f"{name} island {n}", name, [rings[k]]))

    for country in sorted(topology.countries):
        if country in grouped:
            continue
        for k, polygon in enumerate(topology.countries[country]):
            if (country, k) in taken:
                continue
            outer = px(polygon[0]) if _box_meets_frame(project(topology.ring_lonlat(polygon[0]))) else None
            if outer is None:
                continue
            if abs(signed_area(outer)) < MIN_ISLAND_AREA:
                continue
            for hole in polygon[1:]:
                px(hole)
            regions.append(Region(f"{country} {k}", country, list(polygon)))

    # Arcs that only polygons outside the frame used are not needed.
    model.regions = regions
    used = set(model.used_arcs())
    for i in range(len(model.arcs)):
        if i not in used:
            model.arcs[i] = None
    return model


def start_key(model, ref):
    s, e = model.ends[arc_index(ref)]
    return s if ref >= 0 else e


def end_key(model, ref):
    s, e = model.ends[arc_index(ref)]
    return e if ref >= 0 else s
