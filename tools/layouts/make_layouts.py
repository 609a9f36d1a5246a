#!/usr/bin/env python3
"""Writes the layouts delivered with the game into data/LAYOUTS/*.MYL.

Every layout holds 144 tile origins on the 5 x 20 x 34 grid of half-tile
cells.  A tile with origin (layer, row, column) covers the cells (row..row+1,
column..column+1) of its layer; origins lie in rows 0-18 and columns 0-32.
The files are written in the text form the game itself writes when it saves
a layout: for layer 0..4, row 0..19, column 0..33, one line "row column
layer" ended by CR LF for every origin, nothing else.

Before writing, each layout is checked: 144 tiles, origins in range, no two
tiles of one layer sharing a cell, every tile above layer 0 resting on tiles
of the layer below on all four of its cells.

    make_layouts.py                 write the files (after the shape checks)
    make_layouts.py --selftest      check the deal replica on small boards
    make_layouts.py --check [N]     also run N easy deals per layout (default
                                    200 seeds) with the game's placeholder
                                    search and report how often an attempt
                                    fails
"""

import math
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import easy_deal  # noqa: E402

LAYER_COUNT = 5
MAX_ORIGIN_ROW = 18
MAX_ORIGIN_COLUMN = 32

OUTPUT_DIRECTORY = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "data", "LAYOUTS")


class Layout:
    def __init__(self, name):
        self.name = name
        self.origins = []

    def tile(self, layer, row, column):
        self.origins.append((layer, row, column))

    def block(self, layer, row, column, rows, columns):
        """rows x columns whole tiles side by side, top-left origin given."""
        for i in range(rows):
            for j in range(columns):
                self.tile(layer, row + 2 * i, column + 2 * j)

    def line(self, layer, row, column, count):
        self.block(layer, row, column, 1, count)

    def column(self, layer, row, column, count):
        self.block(layer, row, column, count, 1)

    def ring(self, layer, row, column, rows, columns):
        """The border tiles of a rows x columns block."""
        for i in range(rows):
            for j in range(columns):
                if i in (0, rows - 1) or j in (0, columns - 1):
                    self.tile(layer, row + 2 * i, column + 2 * j)

    def mirrored(self):
        """Adds the mirror image (left-right) of every tile placed so far that
        is not on the middle axis."""
        for (layer, row, column) in list(self.origins):
            other = MAX_ORIGIN_COLUMN - column
            if other != column:
                self.tile(layer, row, other)

    # ----------------------------------------------------------------- checks

    def problems(self):
        found = []
        if len(self.origins) != 144:
            found.append("%d tiles instead of 144" % len(self.origins))
        if len(set(self.origins)) != len(self.origins):
            found.append("an origin is listed twice")
        cells = {}
        for (layer, row, column) in self.origins:
            if not (0 <= layer < LAYER_COUNT and 0 <= row <= MAX_ORIGIN_ROW
                    and 0 <= column <= MAX_ORIGIN_COLUMN):
                found.append("origin out of range: %r" % ((layer, row, column),))
                continue
            for (dr, dc) in ((0, 0), (0, 1), (1, 0), (1, 1)):
                key = (layer, row + dr, column + dc)
                if key in cells:
                    found.append("tiles %r and %r overlap"
                                 % ((layer, row, column), cells[key]))
                cells[key] = (layer, row, column)
        for (layer, row, column) in self.origins:
            if layer == 0:
                continue
            for (dr, dc) in ((0, 0), (0, 1), (1, 0), (1, 1)):
                if (layer - 1, row + dr, column + dc) not in cells:
                    found.append("tile %r is not supported" % ((layer, row, column),))
                    break
        return found

    def uses_half_offsets(self):
        """True when some tile is shifted by half a tile against a neighbour
        on its layer or against a tile it rests on."""
        by_layer = {}
        for (layer, row, column) in self.origins:
            by_layer.setdefault(layer, set()).add((row, column))
        for (layer, row, column) in self.origins:
            if layer > 0:
                below = by_layer.get(layer - 1, set())
                if (row, column) not in below:
                    return True
            same = by_layer[layer]
            for (dr, dc) in ((1, 2), (-1, 2), (2, 1), (2, -1)):
                if (row + dr, column + dc) in same:
                    return True
        return False

    # ------------------------------------------------------------------ output

    def text(self):
        marked = set(self.origins)
        lines = []
        for layer in range(LAYER_COUNT):
            for row in range(20):
                for column in range(34):
                    if (layer, row, column) in marked:
                        lines.append("%d %d %d\r\n" % (row, column, layer))
        return "".join(lines)


# ---------------------------------------------------------------- the shapes

def turtle():
    """The classic turtle: 87 + 36 + 16 + 4 + 1 tiles."""
    t = Layout("DEFAULT")
    for (row, column, count) in ((2, 4, 12), (4, 8, 8), (6, 6, 10), (8, 4, 12),
                                 (10, 4, 12), (12, 6, 10), (14, 8, 8), (16, 4, 12)):
        t.line(0, row, column, count)
    t.tile(0, 9, 2)             # the head, between the two middle rows
    t.tile(0, 9, 28)            # the tail, two tiles
    t.tile(0, 9, 30)
    t.block(1, 4, 10, 6, 6)
    t.block(2, 6, 12, 4, 4)
    t.block(3, 8, 14, 2, 2)
    t.tile(4, 9, 15)            # the top tile lies across the four below
    return t


def pyramid():
    """A stepped pyramid whose every course lies across four tiles below."""
    p = Layout("PYRAMID")
    p.block(0, 5, 4, 5, 12)      # 60
    p.block(1, 6, 5, 4, 11)      # 44
    p.block(2, 7, 6, 3, 10)      # 30
    p.block(3, 8, 13, 2, 4)      # 8
    p.tile(4, 9, 14)             # 2, each across two tiles of the top course
    p.tile(4, 9, 18)
    return p


def fortress():
    """Walls with corner towers and gate houses round a keep."""
    f = Layout("FORTRESS")
    f.ring(0, 2, 3, 8, 14)       # outer wall, 40
    f.line(1, 2, 4, 13)          # wall walks, each stone across two, 26 + 10
    f.line(1, 16, 4, 13)
    f.column(1, 5, 3, 5)
    f.column(1, 5, 29, 5)
    for (row, column) in ((2, 5), (2, 27), (16, 5), (16, 27)):
        f.tile(2, row, column)   # corner towers, 4
    for row in (2, 16):
        f.line(2, row, 15, 2)    # gate houses, 4 + 2
        f.tile(3, row, 16)
    f.tile(2, 8, 3)              # towers over the side walls, 2
    f.tile(2, 8, 29)
    f.block(0, 6, 11, 4, 6)      # keep, 24
    f.block(1, 7, 12, 3, 5)      # 15, across the stones below
    f.block(2, 8, 13, 2, 4)      # 8
    f.line(3, 9, 14, 3)          # 3
    f.tile(4, 9, 15)             # 2, the keep's roof
    f.tile(4, 9, 17)
    for row in (7, 11):          # wells in the courtyard, 4
        f.tile(0, row, 6)
        f.tile(0, row, 26)
    return f


def cross():
    """A cross whose arms rise in courses laid across the joints below."""
    c = Layout("CROSS")
    upright = (13, 15, 17, 19)
    for row in range(2, 17, 2):                  # upright, 32
        for column in upright:
            c.tile(0, row, column)
    for row in (6, 8, 10, 12):                   # beam, 64 - 16
        for column in range(1, 32, 2):
            if column not in upright:
                c.tile(0, row, column)
    for row in range(3, 16, 2):                  # second course, 21
        for column in (14, 16, 18):
            c.tile(1, row, column)
    for row in (7, 9, 11):                       # 45 - 9
        for column in range(2, 31, 2):
            if column not in (14, 16, 18):
                c.tile(1, row, column)
    c.block(2, 8, 15, 2, 2)                      # the crossing, 4
    c.tile(2, 8, 3)                              # finials at the ends of the beam, 2
    c.tile(2, 8, 29)
    c.tile(3, 9, 16)                             # 1
    return c


def butterfly():
    """A butterfly: two wings of half-row shifted columns round a tall body."""
    b = Layout("WINGS")
    upper = {14: (3, 3), 12: (2, 4), 10: (1, 4), 8: (0, 5), 6: (1, 4), 4: (0, 4),
             2: (1, 3)}
    lower = {14: (11, 2), 12: (11, 3), 10: (10, 3), 8: (11, 3), 6: (10, 4),
             4: (11, 3)}
    for column, (row, count) in upper.items():
        b.column(0, row, column, count)
    for column, (row, count) in lower.items():
        b.column(0, row, column, count)
    # raised veins on the wings
    b.column(1, 4, 12, 2)
    b.column(1, 3, 10, 2)
    b.column(1, 2, 8, 3)
    b.column(1, 3, 6, 2)
    b.tile(1, 13, 12)
    b.tile(1, 12, 10)
    b.tile(1, 13, 8)
    b.column(1, 12, 6, 2)
    b.mirrored()
    b.column(0, 2, 16, 8)        # body, 8
    b.column(1, 3, 16, 7)        # 7, half a row lower
    b.column(2, 4, 16, 6)        # 6
    b.column(3, 5, 16, 4)        # 4
    b.tile(4, 8, 16)             # 1, across the middle of the back
    return b


def towers():
    """Four corner towers and a great tower, joined by walls."""
    t = Layout("TOWERS")
    for (row, column) in ((0, 0), (0, 28), (14, 0), (14, 28)):
        t.block(0, row, column, 3, 3)            # 9
        t.block(1, row + 1, column + 1, 2, 2)    # 4, across the base
        t.tile(2, row + 2, column + 2)           # 1
    t.block(0, 5, 12, 5, 5)                      # great tower, 25
    t.block(1, 6, 13, 4, 4)                      # 16
    t.block(2, 7, 14, 3, 3)                      # 9
    t.block(3, 8, 15, 2, 2)                      # 4
    t.tile(4, 9, 15)                             # 2, its roof
    t.tile(4, 9, 17)
    t.line(0, 2, 6, 11)                          # walls between the towers, 22
    t.line(0, 16, 6, 11)
    t.column(0, 7, 1, 3)                         # side walls, half a row down, 6
    t.column(0, 7, 29, 3)
    t.line(1, 2, 15, 2)                          # gate houses on the walls, 4
    t.line(1, 16, 15, 2)
    return t


def arena():
    """An amphitheatre: tiers of seats rising outwards round the field."""
    a = Layout("ARENA")
    a.ring(0, 0, 0, 10, 17)                     # outer tier, 50
    a.ring(0, 2, 2, 8, 15)                      # inner tier, 42
    a.line(1, 0, 1, 16)                         # seats across the outer tier, 32
    a.line(1, 18, 1, 16)
    a.column(1, 3, 0, 7)                        # 14
    a.column(1, 3, 32, 7)
    a.line(2, 0, 14, 3)                         # boxes of honour, 6
    a.line(2, 18, 14, 3)
    return a


def dragon():
    """A dragon coiled in a wave, each column half a row off its neighbour."""
    d = Layout("DRAGON")
    for k, column in enumerate(range(0, 33, 2)):
        centre = 9 + int(round(4.0 * math.sin(k * math.pi / 5.0)))
        d.column(0, centre - 4, column, 4)       # body, 68
        d.column(1, centre - 3, column, 3)       # back, 51
        d.tile(2, centre - 2, column)            # spine, 17
        if k < 8:
            d.tile(2, centre, column)            # the broad neck, 8
    return d


def bridge():
    """Two banks joined by an arched bridge."""
    b = Layout("BRIDGE")
    b.block(0, 2, 0, 8, 3)                      # left bank, 24
    b.block(0, 2, 28, 8, 3)                     # right bank, 24
    b.block(0, 7, 6, 3, 11)                     # the bridge, 33
    b.block(1, 3, 1, 6, 2)                      # banks raised, 12 + 12
    b.block(1, 3, 29, 6, 2)
    b.block(1, 8, 5, 2, 12)                     # the deck, 24
    b.line(2, 8, 12, 5)                         # the arch, 5
    b.line(2, 10, 12, 5)                        # 5
    b.line(3, 9, 13, 4)                         # 4
    b.tile(4, 9, 16)                            # 1
    return b


SHAPES = (turtle, pyramid, fortress, cross, butterfly, towers, arena, dragon, bridge)


def main(arguments):
    if "--selftest" in arguments:
        failures = easy_deal.self_test()
        for f in failures:
            print("failed: " + f)
        print("self test: %d failures" % len(failures))
        return 1 if failures else 0
    check = "--check" in arguments
    seeds = 200
    numbers = [a for a in arguments if a.isdigit()]
    if numbers:
        seeds = int(numbers[0])
    layouts = [shape() for shape in SHAPES]
    bad = False
    for layout in layouts:
        if len(layout.name) > 8 or layout.name != layout.name.upper():
            print("%s: a layout name has at most 8 capitals" % layout.name)
            bad = True
    for layout in layouts:
        problems = layout.problems()
        layers = 1 + max(l for (l, _, _) in layout.origins)
        print("%-10s %3d tiles, %d layers, half offsets: %s"
              % (layout.name, len(layout.origins), layers,
                 "yes" if layout.uses_half_offsets() else "no"))
        for p in problems[:10]:
            print("    " + p)
        bad = bad or bool(problems)
    if bad:
        return 1
    if check:
        print("easy deals, %d seeds each (seed s: srand(s) before the first attempt)" % seeds)
        for layout in layouts:
            failed, attempts, hopeless, left = easy_deal.failure_statistics(
                layout.origins, range(1, seeds + 1))
            print("%-10s %4d of %4d attempts failed (%5.1f%%), seeds never dealt: %d, "
                  "tiles left at failures: %s"
                  % (layout.name, failed, attempts, 100.0 * failed / attempts, hopeless,
                     dict(sorted(left.items()))))
            sys.stdout.flush()
        return 0
    os.makedirs(OUTPUT_DIRECTORY, exist_ok=True)
    for layout in layouts:
        path = os.path.join(OUTPUT_DIRECTORY, layout.name + ".MYL")
        with open(path, "wb") as f:
            f.write(layout.text().encode("ascii"))
    print("wrote %d layouts into %s" % (len(layouts), os.path.normpath(OUTPUT_DIRECTORY)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
