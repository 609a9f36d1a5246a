// Depth-first search over the pairs that can be removed, with a table of the positions found lost (the
// set of tiles on the board, stored whole, never just a hash).
//
// On a regular board (see deduction.h), which is every board the game deals or reaches:
// - pairs are taken without trying anything else when that cannot lose a win: a group whose remaining
//   tiles are all free; a pair of the only pairing its group has left; of three free tiles whose fourth is
//   blocked, the two other than a harmless one (every tile whose state reads its cells is free already);
// - the deductions of deduction.h cut positions that are lost and the pairings that are impossible;
// - once a pair's subtree is lost, later siblings' subtrees never take that pair (it stays free, so taking
//   it later reaches a position its own subtree refuted) nor use its pairing;
// - the search runs in dives of growing length (the Luby sequence) that vary the order of equally good
//   pairs; what a dive proves lost stays in the table, and a dive that is not cut short decides.
// Any other board is searched plainly over all pairs, with the table.
#include "solver/solver.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "solver/deduction.h"
#include "solver/position.h"

namespace {

using Clock = std::chrono::steady_clock;

enum Outcome { Dead, Won, Aborted };

// ---------------------------------------------------------------------------------------------------------
// Removal order, limits, table of lost positions.

uint8_t order[TILE_COUNT];
int orderCount;

uint64_t nodeCount;
uint64_t nodeLimit;
uint64_t diveEnd;  // node count at which the current dive stops
Clock::time_point deadline;
bool timeLimited;
bool aborted;  // the caller's limit was reached

bool stopHere() {
    ++nodeCount;
    if (!aborted && ((nodeLimit && nodeCount > nodeLimit) ||
                     (timeLimited && (nodeCount & 15) == 0 && Clock::now() >= deadline)))
        aborted = true;
    return aborted || nodeCount > diveEnd;
}

void take(int a, int b) {
    removeTile(a);
    removeTile(b);
    order[orderCount++] = (uint8_t)a;
    order[orderCount++] = (uint8_t)b;
}

void undoTo(int mark) {
    while (orderCount > mark) restoreTile(order[--orderCount]);
}

// The tiles on the board (144 bits) with the number of the search in the bits above; buckets of four.
struct TableEntry {
    uint64_t word[3];
};
constexpr uint64_t TABLE_MASK = (1ull << SOLVER_TABLE_BITS) - 1;
TableEntry table[1ull << SOLVER_TABLE_BITS];
uint64_t generation;

TableEntry currentEntry() {
    return {{position.present[0], position.present[1], (position.present[2] & 0xFFFF) | (generation << 16)}};
}

TableEntry* bucket() { return &table[((position.hash * 0x9E3779B97F4A7C15ull) >> 20) & TABLE_MASK & ~3ull]; }

bool tableHolds() {
    const TableEntry entry = currentEntry();
    const TableEntry* slots = bucket();
    for (int i = 0; i < 4; ++i)
        if (slots[i].word[0] == entry.word[0] && slots[i].word[1] == entry.word[1] &&
            slots[i].word[2] == entry.word[2])
            return true;
    return false;
}

void tableStore() {
    const TableEntry entry = currentEntry();
    TableEntry* slots = bucket();
    int victim = (int)(position.hash >> 62);
    for (int i = 0; i < 4; ++i)
        if ((slots[i].word[2] >> 16) != generation) {
            victim = i;
            break;
        }
    slots[victim] = entry;
}

// ---------------------------------------------------------------------------------------------------------
// The regular search.

struct Move {
    uint8_t a, b;
    int16_t score;
};
// Moves and sleeping pairs of every node on the path: a node lists at most three pairs per group of four
// (36 groups), at most 72 nodes deep.
constexpr int PATH_CAPACITY = 8192;
Move moves[PATH_CAPACITY];
int moveTop;
uint8_t sleeping[PATH_CAPACITY][2];
int sleepTop;

uint64_t noiseState;
int noiseAmount;

int noise() {
    if (noiseAmount == 0) return 0;
    noiseState = noiseState * 6364136223846793005ull + 1442695040888963407ull;
    return (int)((noiseState >> 33) % (uint64_t)noiseAmount);
}

bool isSleeping(const uint8_t (*list)[2], int count, int a, int b) {
    for (int i = 0; i < count; ++i)
        if ((list[i][0] == a && list[i][1] == b) || (list[i][0] == b && list[i][1] == a)) return true;
    return false;
}

// Tiles on the board that are not free and whose free state reads a cell of t.
int heldDown(int t) {
    const PositionTile& tile = position.tiles[t];
    int count = 0;
    for (int i = 0; i < tile.watcherCount; ++i) {
        const int w = tile.watchers[i];
        count += tileIsPresent(w) && !position.tiles[w].free;
    }
    return count;
}

void takeFreeGroups() {
    for (bool taken = true; taken;) {
        taken = false;
        for (int g = 0; g < position.groupCount; ++g) {
            const PositionGroup& group = position.groups[g];
            if (group.left == 0 || group.free != group.left) continue;
            int pending = -1;
            for (int i = 0; i < group.size; ++i) {
                const int t = position.groupTiles[group.first + i];
                if (!tileIsPresent(t)) continue;
                if (pending < 0) {
                    pending = t;
                } else {
                    take(pending, t);
                    pending = -1;
                }
            }
            taken = true;
        }
    }
}

// Pairs of the only pairing a group has left, and of three free tiles with a blocked fourth the two other
// than a harmless one; true when one was taken.
bool takeSurePairs(const uint8_t* masks) {
    bool taken = false;
    for (int g = 0; g < position.groupCount; ++g) {
        const PositionGroup& group = position.groups[g];
        if (group.left != 4 || group.free < 2) continue;
        const uint8_t* t = groupLeft[g];
        int a = -1, b = -1;
        const int bits = masks[g];
        if ((bits & (bits - 1)) == 0) {
            const int p = bits == 2 ? 1 : bits == 4 ? 2 : 3, c = p == 1 ? 2 : 1, d = 6 - p - c;
            if (position.tiles[t[0]].free && position.tiles[t[p]].free) {
                a = t[0];
                b = t[p];
            } else if (position.tiles[t[c]].free && position.tiles[t[d]].free) {
                a = t[c];
                b = t[d];
            }
        } else if (group.free == 3) {
            for (int k = 0; k < 4 && a < 0; ++k) {
                if (!position.tiles[t[k]].free || heldDown(t[k]) != 0) continue;
                for (int i = 0; i < 4; ++i)
                    if (i != k && position.tiles[t[i]].free) (a < 0 ? a : b) = t[i];
            }
        }
        if (a < 0 || b < 0) continue;
        take(a, b);
        taken = true;
    }
    return taken;
}

// The pairings not excluded by sleeping pairs.
void openPairings(const uint8_t (*asleep)[2], int asleepCount, uint8_t* masks) {
    for (int g = 0; g < position.groupCount; ++g) {
        masks[g] = 0;
        if (position.groups[g].left != 4) continue;
        const uint8_t* t = groupLeft[g];
        for (int p = 1; p <= 3; ++p) {
            const int c = p == 1 ? 2 : 1, d = 6 - p - c;
            if (!isSleeping(asleep, asleepCount, t[0], t[p]) && !isSleeping(asleep, asleepCount, t[c], t[d]))
                masks[g] |= (uint8_t)(1 << p);
        }
    }
}

// The free pairs whose pairing is possible and that are not asleep, those that free the most first.
void listMoves(const uint8_t (*asleep)[2], int asleepCount, const uint8_t* masks) {
    const int base = moveTop;
    for (int g = 0; g < position.groupCount; ++g) {
        const PositionGroup& group = position.groups[g];
        if (group.left != 4 || group.free < 2) continue;
        const uint8_t* t = groupLeft[g];
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) {
                if (!position.tiles[t[i]].free || !position.tiles[t[j]].free) continue;
                if (!(masks[g] & (1 << pairingOf(i, j))) || isSleeping(asleep, asleepCount, t[i], t[j])) continue;
                Move& move = moves[moveTop++];
                move.a = t[i];
                move.b = t[j];
                move.score = (int16_t)((heldDown(t[i]) + heldDown(t[j])) * 8 + noise());
            }
    }
    std::stable_sort(moves + base, moves + moveTop, [](const Move& x, const Move& y) { return x.score > y.score; });
}

Outcome searchRegular(const uint8_t (*inherited)[2], int inheritedCount, const Move* siblings, int siblingCount) {
    if (stopHere()) return Aborted;
    const int mark = orderCount;

    // Pairs not to take here: those refuted by earlier siblings of this node and of its ancestors.
    const int sleepBase = sleepTop;
    for (int i = 0; i < inheritedCount; ++i)
        if (tileIsPresent(inherited[i][0]) && tileIsPresent(inherited[i][1])) {
            sleeping[sleepTop][0] = inherited[i][0];
            sleeping[sleepTop++][1] = inherited[i][1];
        }
    for (int i = 0; i < siblingCount; ++i)
        if (tileIsPresent(siblings[i].a) && tileIsPresent(siblings[i].b)) {
            sleeping[sleepTop][0] = siblings[i].a;
            sleeping[sleepTop++][1] = siblings[i].b;
        }
    const int asleepCount = sleepTop - sleepBase;
    const uint8_t(*asleep)[2] = sleeping + sleepBase;

    Outcome outcome = Dead;
    uint8_t masks[TILE_COUNT];
    bool alive = true;
    for (;;) {
        takeFreeGroups();
        if (position.tilesLeft == 0) return Won;
        if (tableHolds()) {
            alive = false;
            break;
        }
        gatherGroups();
        openPairings(asleep, asleepCount, masks);
        if (!deducePosition(masks, true)) {
            alive = false;
            break;
        }
        if (!takeSurePairs(masks)) break;
    }
    const int moveBase = moveTop;
    if (alive) {
        listMoves(asleep, asleepCount, masks);
        const int moveCount = moveTop - moveBase;
        for (int i = 0; i < moveCount; ++i) {
            const Move move = moves[moveBase + i];
            take(move.a, move.b);
            const Outcome child = searchRegular(asleep, asleepCount, moves + moveBase, i);
            if (child == Won) return Won;
            undoTo(orderCount - 2);
            if (child == Aborted) {
                outcome = Aborted;
                break;
            }
        }
    }
    moveTop = moveBase;
    sleepTop = sleepBase;
    if (outcome == Dead) tableStore();
    undoTo(mark);
    return outcome;
}

bool regularSearchApplies() {
    if (!position.regular) return false;
    for (int g = 0; g < position.groupCount; ++g)
        if (position.groups[g].size != 2 && position.groups[g].size != 4) return false;
    return true;
}

// Element i (from 1) of the Luby sequence 1 1 2 1 1 2 4 1 1 2 ...
uint64_t luby(uint64_t i) {
    uint64_t size = 1;
    int power = 0;
    while (size < i + 1) {
        size = 2 * size + 1;
        ++power;
    }
    uint64_t x = i - 1;
    while (size - 1 != x) {
        size >>= 1;
        --power;
        x %= size;
    }
    return 1ull << power;
}

constexpr uint64_t DIVE_UNIT = 64;  // nodes of the shortest dive
constexpr int DIVE_NOISE = 16;      // spread of the order of pairs after the first dive

Outcome solveRegular() {
    prepareDeduction();
    noiseAmount = 0;
    for (uint64_t dive = 1;; ++dive) {
        diveEnd = nodeCount + DIVE_UNIT * luby(dive);
        moveTop = sleepTop = 0;
        const Outcome outcome = searchRegular(nullptr, 0, nullptr, 0);
        if (outcome != Aborted || aborted) return outcome;
        noiseAmount = DIVE_NOISE;
        noiseState = dive * 0x9E3779B97F4A7C15ull;
    }
}

// ---------------------------------------------------------------------------------------------------------
// The plain search.

// Pairs of every node on the current path, two bytes each. A node lists at most n(n-1)/2 pairs for n tiles
// on the board, so a path needs at most the sum of that over n = 144, 142, ..., 2: 251412 pairs.
uint8_t pairList[2 * 262144];
int pairTop;

Outcome searchPlain() {
    if (stopHere()) return Aborted;
    if (position.tilesLeft == 0) return Won;
    if (tableHolds()) return Dead;
    const int base = pairTop;
    for (int g = 0; g < position.groupCount; ++g) {
        const PositionGroup& group = position.groups[g];
        if (group.free < 2) continue;
        for (int i = 0; i < group.size; ++i) {
            const int a = position.groupTiles[group.first + i];
            if (!tileIsPresent(a) || !position.tiles[a].free) continue;
            for (int j = i + 1; j < group.size; ++j) {
                const int b = position.groupTiles[group.first + j];
                if (!tileIsPresent(b) || !position.tiles[b].free) continue;
                pairList[pairTop++] = (uint8_t)a;
                pairList[pairTop++] = (uint8_t)b;
            }
        }
    }
    Outcome outcome = Dead;
    for (int i = base; i < pairTop && outcome == Dead; i += 2) {
        take(pairList[i], pairList[i + 1]);
        outcome = searchPlain();
        if (outcome == Won) return Won;
        undoTo(orderCount - 2);
    }
    pairTop = base;
    if (outcome == Dead) tableStore();
    return outcome;
}

}  // namespace

void solvePosition(const TileRecord* tiles, const uint8_t* grid, const SolverLimits& limits, SolverResult* result) {
    const Clock::time_point start = Clock::now();
    result->pairCount = 0;
    result->nodes = 0;
    result->milliseconds = 0;
    if (setPosition(tiles, grid) != PositionOk) {
        result->answer = SolverBadPosition;
        return;
    }
    ++generation;
    orderCount = pairTop = 0;
    nodeCount = 0;
    nodeLimit = limits.nodes;
    diveEnd = UINT64_MAX;
    timeLimited = limits.milliseconds != 0;
    deadline = start + std::chrono::milliseconds(limits.milliseconds);
    aborted = false;

    bool odd = false;
    for (int g = 0; g < position.groupCount; ++g) odd |= position.groups[g].size % 2 != 0;
    Outcome outcome = Dead;
    if (!odd) outcome = regularSearchApplies() ? solveRegular() : searchPlain();
    result->answer = outcome == Won ? SolverWinnable : outcome == Dead ? SolverNotWinnable : SolverUndecided;
    if (outcome == Won) {
        result->pairCount = orderCount / 2;
        memcpy(result->order, order, (size_t)orderCount);
    }
    result->nodes = nodeCount;
    result->milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    resetPosition();
}
