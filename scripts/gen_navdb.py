#!/usr/bin/env python3
"""Writes a deterministic synthetic navigation database in the documented file layouts
(docs/navdata.md).

Default: at the scale of the tables, 24,000 airports with 60,000 runways, 28,000 navaids,
280,000 intersections, 140,000 airway points, 3,000 procedures; half of every kind in a
dense area around 50N 8E (the benchmark's dense point), the rest spread over the world.

--world: at the size of the world's data of today, 27,500 airports with 67,000 runway
ends, 10,800 navaids, 120,000 intersections, 73,000 airway points; a fifth of every kind
in a wider area around 50N 8E, so that more airports and airway fixes lie within 600 NM
of it than the wide nearby lists hold, as over central Europe or New York.

Both: 300 ATC boundaries, regions' outlines of up to 200 points with long straight edges
and borders shared with their neighbours (a fifth, or half, of them over the dense area).

usage: gen_navdb.py [--world] <simulator folder>   (writes <folder>/vek/navdata/*.txt)
"""
import argparse
import math
import os
import random

AIRPORTS = 24000
RUNWAYS = 60000
NAVAIDS = 28000
INTERSECTIONS = 280000
AIRWAY_POINTS = 140000
AIRWAY_LENGTH = 20
PROCEDURES = 3000
BOUNDARIES = 300
DENSE = (50.0, 8.0)
DENSE_SPAN = (6.0, 9.0)  # half extents of the dense area, degrees of latitude and longitude
DENSE_PERIOD = 2         # every DENSE_PERIOD-th record of a kind lies in the dense area

WORLD = dict(AIRPORTS=27500, RUNWAYS=67000, NAVAIDS=10800, INTERSECTIONS=120000,
             AIRWAY_POINTS=73000, DENSE_SPAN=(10.0, 15.0), DENSE_PERIOD=5)

rng = random.Random(20241219)
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"


def name_of(i, width):
    s = ""
    for _ in range(width):
        s = LETTERS[i % 26] + s
        i //= 26
    return s


def position(i):
    if i % DENSE_PERIOD == 0:
        return (DENSE[0] + rng.uniform(-DENSE_SPAN[0], DENSE_SPAN[0]),
                DENSE[1] + rng.uniform(-DENSE_SPAN[1], DENSE_SPAN[1]))
    return (rng.uniform(-70.0, 70.0), rng.uniform(-180.0, 180.0))


def region_outlines(grid, count, area):
    """The first count cells of a grid over area (lat0, lat1, lon0, lon1) as outlines:
    (row, col, points). Corners and borders are shared between neighbours."""
    rows = max(1, int(round(math.sqrt(count / 4.0))))
    cols = -(-count // rows)
    lat0, lat1, lon0, lon1 = area
    dlat, dlon = (lat1 - lat0) / rows, (lon1 - lon0) / cols

    def corner(r, c):
        g = random.Random(grid * 1000003 + r * 1009 + c)
        jr = 0.0 if r in (0, rows) else g.uniform(-0.1, 0.1) * dlat
        jc = 0.0 if c in (0, cols) else g.uniform(-0.2, 0.2) * dlon
        return (lat0 + r * dlat + jr, lon0 + c * dlon + jc)

    def border(a, b, key):
        # The points from corner a to corner b, both included. Borders along a meridian
        # are long straight edges, one or two; those along a parallel wind through 48 to
        # 96 points.
        g = random.Random(key)
        pa, pb = corner(*a), corner(*b)
        if a[1] == b[1]:
            if g.random() < 0.5:
                return [pa, pb]
            t = g.uniform(0.3, 0.7)
            kink = (pa[0] + (pb[0] - pa[0]) * t,
                    max(-180.0, min(180.0, pa[1] + (pb[1] - pa[1]) * t + g.uniform(-0.1, 0.1) * dlon)))
            return [pa, kink, pb]
        n = g.randint(47, 95)
        amp = g.uniform(0.03, 0.08)
        phase = g.uniform(0, 2 * math.pi)
        out = []
        for k in range(n + 1):
            t = k / n
            w = amp * math.sin(math.pi * t) * math.sin(3 * math.pi * t + phase)
            out.append((max(-90.0, min(90.0, pa[0] + (pb[0] - pa[0]) * t + (pb[1] - pa[1]) * w * 0.5)),
                        pa[1] + (pb[1] - pa[1]) * t))
        return out

    def edge(a, b):
        # Borders are keyed by their corners in a fixed order.
        first, second = (a, b) if a <= b else (b, a)
        key = grid * 7919 + (first[0] * 1013 + first[1]) * 100003 + second[0] * 1013 + second[1]
        pts = border(first, second, key)
        return pts if (first, second) == (a, b) else pts[::-1]

    for i in range(count):
        r, c = divmod(i, cols)
        corners = [(r, c), (r, c + 1), (r + 1, c + 1), (r + 1, c)]
        points = []
        for k in range(4):
            points += edge(corners[k], corners[(k + 1) % 4])[:-1]
        points.append(points[0])
        yield r, c, points


def main():
    parser = argparse.ArgumentParser(
        description="Writes a synthetic navigation database into <folder>/vek/navdata/.")
    parser.add_argument("--world", action="store_true",
                        help="at the size of the world's data instead of the tables' capacity")
    parser.add_argument("folder", help="the simulator folder")
    args = parser.parse_args()
    if args.world:
        globals().update(WORLD)
    folder = os.path.join(args.folder, "vek", "navdata")
    os.makedirs(folder, exist_ok=True)

    def out(name):
        return open(os.path.join(folder, name), "w", newline="\n")

    airports = []
    with out("apts.txt") as f:
        f.write("; synthetic airports\n")
        extra = RUNWAYS - 2 * AIRPORTS  # airports with a third runway
        for i in range(AIRPORTS):
            ident = "Z" + name_of(i, 3)
            lat, lon = position(i)
            airports.append((ident, lat, lon))
            f.write("A %s %.6f %.6f %d SYNTHETIC FIELD %d\n" % (ident, lat, lon, rng.randint(0, 9000), i))
            hdg = rng.randint(1, 18)
            f.write("R %02d %d %.6f %.6f %.1f 110.30 ILS %.1f\n" % (hdg, rng.randint(3000, 12000), lat, lon, hdg * 10.0, hdg * 10.0))
            f.write("R %02d %d %.6f %.6f %.1f - - %.1f\n" % (hdg + 18, rng.randint(3000, 12000), lat + 0.01, lon, hdg * 10.0 + 180.0, hdg * 10.0 + 180.0))
            if i < extra:
                f.write("R %02dL %d %.6f %.6f %.1f - - %.1f\n" % (hdg, 5000, lat, lon + 0.01, hdg * 10.0, hdg * 10.0))

    with out("navs.txt") as f:
        f.write(";AIRAC cycle : 2413 19DEC2024 - 16JAN2025\n")
        for i in range(NAVAIDS):
            lat, lon = position(i)
            if i % 2 == 0:
                f.write("%s V %.6f %.6f %.2f VOR %d\n" % (name_of(i, 3), lat, lon, 108.0 + (i % 200) * 0.05, i))
            else:
                f.write("%s N %.6f %.6f %d NDB %d\n" % (name_of(i, 3), lat, lon, 200 + i % 1500, i))

    fixes = []
    with out("ints.txt") as f:
        for i in range(INTERSECTIONS):
            lat, lon = position(i)
            ident = name_of(i * 7919 % 11881376, 5)
            fixes.append((ident, lat, lon))
            f.write("%s %.6f %.6f\n" % (ident, lat, lon))

    with out("awys.txt") as f:
        for a in range(AIRWAY_POINTS // AIRWAY_LENGTH):
            # One airway keeps to the dense area or to the rest of the world.
            start = rng.randrange(0, INTERSECTIONS - AIRWAY_LENGTH * DENSE_PERIOD)
            for k in range(AIRWAY_LENGTH):
                ident, lat, lon = fixes[start + DENSE_PERIOD * k]
                f.write("%s%d %d %s %.6f %.6f\n" % ("UJ"[a % 2], a, (k + 1) * 10, ident, lat, lon))

    kinds = [("sids.txt", 4), ("stars.txt", 4), ("apps.txt", 2)]
    per_airport = sum(n for _, n in kinds)
    files = {name: out(name) for name, _ in kinds}
    for p in range(PROCEDURES // per_airport):
        ident, lat, lon = airports[DENSE_PERIOD * p]  # airports in the dense area
        for name, n in kinds:
            f = files[name]
            for k in range(n):
                f.write("P %s %s%d%d %02d\n" % (ident, name[0].upper() + "PRC", p % 10, k, 9))
                for leg in range(8):
                    trans = "T%d" % (leg % 2) if leg < 2 else "-"
                    role = "FAF" if name == "apps.txt" and leg == 6 else "-"
                    f.write("L %s W%04d %.6f %.6f %s %d %s\n" % (trans, leg, lat + leg * 0.05, lon, role, 3000 + leg * 1000, "250" if leg == 3 else "-"))
    for f in files.values():
        f.close()

    # The boundaries as regions' outlines: two grids of cells (one over the dense area with
    # every DENSE_PERIOD-th boundary, one over the rest of the world) whose corners are
    # moved a little, so that neighbours share their corners and borders. Each border is
    # either one long straight edge or a winding line of 25 to 70 points, drawn alike for
    # both regions it parts; an outline has 100 to 200 points, closed by repeating its
    # first.
    with out("atc_bdry.txt") as f:
        dense = BOUNDARIES // DENSE_PERIOD
        b = 0
        for grid, count in enumerate((dense, BOUNDARIES - dense)):
            if grid == 0:
                area = (DENSE[0] - DENSE_SPAN[0], DENSE[0] + DENSE_SPAN[0],
                        DENSE[1] - DENSE_SPAN[1], DENSE[1] + DENSE_SPAN[1])
            else:
                area = (-70.0, 70.0, -180.0, 180.0)
            for row, col, points in region_outlines(grid, count, area):
                lat = sum(p[0] for p in points[:-1]) / (len(points) - 1)
                lon = sum(p[1] for p in points[:-1]) / (len(points) - 1)
                f.write("B SY%05d S%d %.6f %.6f\n" % (b, b % 100, lat, lon))
                for p in points:
                    f.write("%.6f %.6f\n" % p)
                b += 1

    with out("apt_additional_info.txt") as f:
        for i in range(0, 4000, 2):
            ident = airports[i][0]
            f.write("I %s ATIS 118.00 SYNTHETIC\nI %s ACTIVE RWYS 09\n" % (ident, ident))

    with out("vek_apts.txt") as f:
        for i in range(1000):
            f.write("%s 09 10000 27 10000\n" % airports[i][0])


if __name__ == "__main__":
    main()
