"""The game's board numbering and easy-deal placeholder search, in Python.

Used by make_layouts.py to make sure every layout we ship can be dealt in
easy mode.  Everything here follows the engine step for step: the tile
numbering of a freshly loaded layout (numbering by layer, column from the
right and row, then the six ordering passes), the free-tile computation and
the limited pair search of the easy deal, with glibc's rand() so that a seed
gives the very same choices as the game.
"""

import ctypes

TILE_COUNT = 144
LAYER_COUNT = 5
ROW_COUNT = 20
COLUMN_COUNT = 34
LAYER_CELLS = ROW_COUNT * COLUMN_COUNT
GRID_CELLS = LAYER_COUNT * LAYER_CELLS
NO_TILE = 250
DEAL_CANDIDATE_LIMIT = 50

BLOCKED = 0
FREE = 1
COVERED = 2

_libc = ctypes.CDLL("libc.so.6")
_libc.rand.restype = ctypes.c_int
_libc.srand.argtypes = [ctypes.c_uint]


def srand(seed):
    _libc.srand(seed)


def rand():
    return _libc.rand()


def cell(layer, row, column):
    return layer * LAYER_CELLS + row * COLUMN_COUNT + column


def tiles_match(f1, f2):
    if f1 == f2:
        return True
    if 28 <= f1 <= 31 and 28 <= f2 <= 31:
        return True
    if 36 <= f1 <= 39 and 36 <= f2 <= 39:
        return True
    return False


class Board:
    """tileGrid, layoutGrid and the position/face/state part of tileTable."""

    def __init__(self, origins):
        self.layout_grid = [0] * GRID_CELLS
        for (layer, row, column) in origins:
            self.layout_grid[cell(layer, row, column)] = 1
        self.tile_grid = [NO_TILE] * GRID_CELLS
        self.position = []          # index -> (layer, row, column)
        self.face = [0] * TILE_COUNT
        self.state = [BLOCKED] * TILE_COUNT
        self.swaps = 0

    def count_origins(self):
        return sum(self.layout_grid)

    def _write(self, pos, index):
        layer, row, column = pos
        base = cell(layer, row, column)
        g = self.tile_grid
        g[base] = index
        g[base + 1] = index
        g[base + COLUMN_COUNT] = index
        g[base + COLUMN_COUNT + 1] = index

    def number_tiles(self):
        """Numbering step of finishLayout, then the ordering sweeps."""
        lg = self.layout_grid
        k = 0
        for layer in range(LAYER_COUNT):
            for column in range(32, -1, -1):
                for row in range(0, 19):
                    if lg[cell(layer, row, column)] == 1 and k < TILE_COUNT:
                        self.position.append((layer, row, column))
                        self._write((layer, row, column), k)
                        k += 1
        while True:
            exchanged = 0
            exchanged += self._order_pass(2, 1, True)
            exchanged += self._order_pass(2, -1, True)
            exchanged += self._order_pass(1, 2, False)
            exchanged += self._order_pass(1, -2, True)
            exchanged += self._order_pass(2, 0, True)
            exchanged += self._order_pass(0, 2, False)
            if exchanged == 0:
                break

    def _swap(self, p, q):
        pos_p = self.position[p]
        pos_q = self.position[q]
        self.position[p], self.position[q] = pos_q, pos_p
        self._write(pos_p, q)
        self._write(pos_q, p)
        self.swaps += 1

    def _order_pass(self, dr, dc, greater):
        lg = self.layout_grid
        g = self.tile_grid
        exchanged = 0
        for layer in range(LAYER_COUNT):
            for row in range(ROW_COUNT):
                r2 = row + dr
                if r2 < 0 or r2 >= ROW_COUNT:
                    continue
                for column in range(COLUMN_COUNT):
                    c2 = column + dc
                    if c2 < 0 or c2 >= COLUMN_COUNT:
                        continue
                    here = cell(layer, row, column)
                    there = cell(layer, r2, c2)
                    if lg[here] != 1 or lg[there] != 1:
                        continue
                    a = g[here]
                    b = g[there]
                    if a == NO_TILE or b == NO_TILE:
                        continue
                    if (greater and a > b) or (not greater and a < b):
                        self._swap(a, b)
                        exchanged += 1
        return exchanged

    def compute_free_tiles(self):
        """computeFreeTiles, its four steps over the whole grid."""
        state = self.state
        face = self.face
        g = self.tile_grid
        # 1. blocked, or covered when removed
        for t in range(TILE_COUNT):
            state[t] = COVERED if face[t] == 0 else BLOCKED
        # 2. a tile of the next layer on any cell covers the lower tile
        for layer in range(LAYER_COUNT - 1):
            base = layer * LAYER_CELLS
            for i in range(base, base + LAYER_CELLS):
                lower = g[i]
                if lower != NO_TILE and g[i + LAYER_CELLS] != NO_TILE:
                    state[lower] = COVERED
        # 3. open at a grid edge or on one side
        for layer in range(LAYER_COUNT):
            for row in range(ROW_COUNT):
                rb = layer * LAYER_CELLS + row * COLUMN_COUNT
                t = g[rb]
                if t != NO_TILE and state[t] != COVERED:
                    state[t] = FREE
                t = g[rb + 33]
                if t != NO_TILE and state[t] != COVERED:
                    state[t] = FREE
                if row >= ROW_COUNT - 1:
                    continue
                nb = rb + COLUMN_COUNT
                for c in range(0, 32):
                    if g[rb + c] == NO_TILE and g[nb + c] == NO_TILE:
                        t = g[rb + c + 2]
                        if t != NO_TILE and t == g[nb + c + 2] and state[t] != COVERED:
                            state[t] = FREE
                for c in range(2, 34):
                    if g[rb + c] == NO_TILE and g[nb + c] == NO_TILE:
                        t = g[rb + c - 2]
                        if t != NO_TILE and t == g[nb + c - 2] and state[t] != COVERED:
                            state[t] = FREE
        # 4. what is still covered is blocked
        for t in range(TILE_COUNT):
            if state[t] == COVERED:
                state[t] = BLOCKED

    def find_pairs_limited(self):
        """findPairs in limited mode: at most DEAL_CANDIDATE_LIMIT + 1 pairs."""
        state = self.state
        face = self.face
        pairs = []
        listed = set()
        free = [t for t in range(TILE_COUNT) if state[t] == FREE]
        for i in free:
            for j in free:
                if len(pairs) > DEAL_CANDIDATE_LIMIT:
                    return pairs      # nothing more is appended
                if i == j or not tiles_match(face[i], face[j]):
                    continue
                if (i, j) in listed or (j, i) in listed:
                    continue
                pairs.append((i, j))
                listed.add((i, j))
        return pairs

    def remove(self, t):
        self._write(self.position[t], NO_TILE)
        self.face[t] = 0


def easy_deal_attempt(board):
    """One pass of the placeholder search; returns (ok, order).

    The board must hold all 144 tiles; it is restored before returning."""
    saved = list(board.tile_grid)
    board.face = [1] * TILE_COUNT
    order = []
    ok = True
    for _ in range(0, TILE_COUNT, 2):
        board.compute_free_tiles()
        pairs = board.find_pairs_limited()
        count = len(pairs)
        if count == 0:
            ok = False
            break
        j = rand() % (count - 1) if count > 2 else 0
        a, b = pairs[j]
        order.extend((a, b))
        board.remove(a)
        board.remove(b)
    board.tile_grid = saved
    board.face = [1] * TILE_COUNT
    return ok, order


def failure_statistics(origins, seeds, max_attempts=200):
    """Runs easy deals from each seed; returns (failed attempts, all attempts,
    seeds that never succeeded, {remaining tiles at failure: count})."""
    board = Board(origins)
    board.number_tiles()
    failed = 0
    attempts = 0
    hopeless = 0
    left_at_failure = {}
    for seed in seeds:
        srand(seed)
        for _ in range(max_attempts):
            attempts += 1
            ok, order = easy_deal_attempt(board)
            if ok:
                break
            failed += 1
            left = TILE_COUNT - len(order)
            left_at_failure[left] = left_at_failure.get(left, 0) + 1
        else:
            hopeless += 1
    return failed, attempts, hopeless, left_at_failure


def self_test():
    """Small boards whose numbering and free tiles are known; returns the
    list of failed expectations (empty when the replica behaves)."""
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    def board_of(origins):
        b = Board(origins)
        b.number_tiles()
        for t in range(len(b.position)):
            b.face[t] = 1
        for t in range(len(b.position), TILE_COUNT):
            b.face[t] = 0
        return b

    def index_at(b, origin):
        return b.position.index(origin)

    b = board_of([(0, 4, 10), (0, 4, 12)])
    expect(index_at(b, (0, 4, 12)) < index_at(b, (0, 4, 10)), "right tile first")
    b = board_of([(0, 4, 10), (0, 6, 10)])
    expect(index_at(b, (0, 4, 10)) < index_at(b, (0, 6, 10)), "upper tile first")
    b = board_of([(0, 4, 10), (0, 4, 12), (0, 4, 14)])
    b.compute_free_tiles()
    expect([b.state[index_at(b, (0, 4, c))] for c in (10, 12, 14)] == [FREE, BLOCKED, FREE],
           "three in a row: only the outer two are free")
    b = board_of([(0, 4, 12), (0, 5, 10), (0, 4, 14)])
    b.compute_free_tiles()
    expect(b.state[index_at(b, (0, 4, 12))] == BLOCKED, "half-shifted neighbour blocks")
    b = board_of([(0, 4, 10), (0, 4, 12), (1, 4, 11)])
    b.compute_free_tiles()
    expect(b.state[index_at(b, (0, 4, 10))] == BLOCKED
           and b.state[index_at(b, (0, 4, 12))] == BLOCKED
           and b.state[index_at(b, (1, 4, 11))] == FREE, "straddling tile covers both")
    b.remove(index_at(b, (1, 4, 11)))
    b.compute_free_tiles()
    expect(b.state[index_at(b, (0, 4, 10))] == FREE and b.state[index_at(b, (0, 4, 12))] == FREE,
           "both free once the tile above is gone")
    b = board_of([(0, 0, 0), (0, 8, 32)])
    b.compute_free_tiles()
    expect(b.state[0] == FREE and b.state[1] == FREE, "lone tiles at the edges are free")
    b = board_of([(0, r, c) for r in range(0, 19, 4) for c in range(0, 33, 4)])
    b.compute_free_tiles()
    expect(len(b.find_pairs_limited()) == DEAL_CANDIDATE_LIMIT + 1, "limited search stops at 51")
    expect(tiles_match(28, 30) and not tiles_match(28, 36) and not tiles_match(32, 33)
           and tiles_match(36, 39), "matching rule")
    return failures
