// The search. A regular board (see relaxed_play.h) — every board the game deals or reaches — is searched
// over the pairings of its groups: a group of four tiles leaves in one of three pairings, and once every
// group's pairing is fixed, a removal only ever frees tiles, so taking each pair as soon as both its tiles
// are free clears the board if anything does.
//
// Most deals are decided within a few hundred nodes by quick dives: a node takes every pair that is sure to
// be right (the free pairs of fixed pairings, a group whose tiles are all free, of three free tiles the two
// beside a harmless one), stops when the relaxed play cannot clear what is left, and otherwise fixes the
// pairing of one group, trying first the pairing whose pair can leave now and frees the most. Lost states
// (the tiles on the board with the pairings still open) are kept in a table, stored whole; a state with the
// same tiles and no more pairings open than a lost one is lost. The dives run in lengths of the Luby
// sequence and vary the order of equally good choices.
//
// A deal still open after them goes to the search that learns from its dead ends (learning.h), which
// decides the hard ones.
//
// Any other board is searched plainly over all pairs, with the table.
#include "solver/solver.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "solver/learning.h"
#include "solver/luby.h"
#include "solver/position.h"
#include "solver/relaxed_play.h"

uint64_t solverQuickNodes = 640;

namespace {

using Clock = std::chrono::steady_clock;

enum Outcome { Dead, Won, Aborted };

constexpr uint64_t DIVE_UNIT = 128;  // nodes of the shortest dive
constexpr int DIVE_NOISE = 96;       // spread of the choice scores after the first dive

// ---------------------------------------------------------------------------------------------------------
// Removal order, limits, table of lost states.

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

// The tiles on the board and, three bits a group of four, the pairings still open (none for the plain
// search); buckets of four.
struct TableEntry {
    uint64_t present[3];
    uint64_t open[2];
    uint64_t generation;  // number of the search that stored it
};
constexpr uint32_t TABLE_SIZE = 1u << SOLVER_TABLE_BITS;
TableEntry table[TABLE_SIZE];
uint64_t generation;

void packOpen(const uint8_t* masks, uint64_t* open) {
    open[0] = open[1] = 0;
    if (!masks) return;
    for (int g = 0; g < position.groupCount; ++g) {
        if (position.groups[g].left != 4) continue;
        const int at = 3 * g;
        open[at >> 6] |= (uint64_t)((masks[g] >> 1) & 7) << (at & 63);
    }
}

TableEntry* bucket() { return &table[((position.hash * 0x9E3779B97F4A7C15ull) >> 20) & (TABLE_SIZE - 4)]; }

bool tableHolds(const uint8_t* masks) {
    uint64_t open[2];
    packOpen(masks, open);
    const TableEntry* slots = bucket();
    for (int i = 0; i < 4; ++i) {
        const TableEntry& e = slots[i];
        if (e.generation == generation && e.present[0] == position.present[0] &&
            e.present[1] == position.present[1] && e.present[2] == position.present[2] &&
            (open[0] & ~e.open[0]) == 0 && (open[1] & ~e.open[1]) == 0)
            return true;
    }
    return false;
}

void tableStore(const uint8_t* masks) {
    TableEntry* slots = bucket();
    int victim = (int)(position.hash >> 62);
    for (int i = 0; i < 4; ++i)
        if (slots[i].generation != generation) {
            victim = i;
            break;
        }
    TableEntry& e = slots[victim];
    memcpy(e.present, position.present, sizeof e.present);
    packOpen(masks, e.open);
    e.generation = generation;
}

// ---------------------------------------------------------------------------------------------------------
// The search over pairings.

uint64_t noiseState;
int noiseAmount;

int noise() {
    if (noiseAmount == 0) return 0;
    noiseState = noiseState * 6364136223846793005ull + 1442695040888963407ull;
    return (int)((noiseState >> 33) % (uint64_t)noiseAmount);
}

inline bool isFree(int t) { return position.tiles[t].free; }
inline int lowestPairing(uint8_t mask) { return mask & 2 ? 1 : mask & 4 ? 2 : 3; }

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

int freeCount() {
    int n = 0;
    for (int g = 0; g < position.groupCount; ++g) n += position.groups[g].free;
    return n;
}

// How good taking the free pair (a, b) now looks: the tiles it frees, then the tiles its tiles hold down.
int pairScore(int a, int b) {
    const int held = heldDown(a) + heldDown(b);
    const int before = freeCount() - 2;
    removeTile(a);
    removeTile(b);
    const int freed = freeCount() - before;
    restoreTile(b);
    restoreTile(a);
    return freed * 16 + held * 4;
}

// The tiles of group g on the board, in groupTiles order (the order of groupLeft); their count.
int tilesOfGroup(int g, int* t) {
    const PositionGroup& group = position.groups[g];
    int n = 0;
    for (int i = 0; i < group.size && n < 4; ++i) {
        const int tile = position.groupTiles[group.first + i];
        if (tileIsPresent(tile)) t[n++] = tile;
    }
    return n;
}

// Takes every pair that is sure to be right: the free pairs of fixed pairings (a group of two, or a group
// of four with one pairing open), a group of four free tiles, and of three free tiles whose fourth is
// blocked the two other than a harmless one (every tile whose state reads its cells is free already, so it
// can wait for the fourth).
void takeSurePairs(const uint8_t* masks) {
    for (bool taken = true; taken;) {
        taken = false;
        for (int g = 0; g < position.groupCount; ++g) {
            const int freeTiles = position.groups[g].free;
            if (freeTiles < 2) continue;
            int t[4];
            if (tilesOfGroup(g, t) == 2) {
                take(t[0], t[1]);
                taken = true;
                continue;
            }
            const uint8_t mask = masks[g];
            const int p = lowestPairing(mask), c = p == 1 ? 2 : 1, d = 6 - p - c;
            if (freeTiles == 4) {
                take(t[0], t[p]);
                take(t[c], t[d]);
                taken = true;
            } else if ((mask & (mask - 1)) == 0) {
                if (isFree(t[0]) && isFree(t[p])) {
                    take(t[0], t[p]);
                    taken = true;
                } else if (isFree(t[c]) && isFree(t[d])) {
                    take(t[c], t[d]);
                    taken = true;
                }
            } else if (freeTiles == 3) {
                int blocked = 0;
                while (isFree(t[blocked])) ++blocked;
                for (int k = 0; k < 4 && !taken; ++k) {
                    if (k == blocked || !(mask & (1 << pairingOf(k, blocked))) || heldDown(t[k]) != 0) continue;
                    int x = -1, y = -1;
                    for (int i = 0; i < 4; ++i)
                        if (i != k && i != blocked) (x < 0 ? x : y) = t[i];
                    take(x, y);
                    taken = true;
                }
            }
        }
    }
}

struct Choice {
    uint8_t pairing;
    int16_t score;
};
// The pairings to try of every node on the path: three a node, a node for each group of four at most.
Choice choices[3 * TILE_COUNT];
int choiceTop;

// The undecided group with the best free pair that an open pairing allows; -1 when there is none.
int chooseGroup(const uint8_t* masks) {
    int bestGroup = -1, bestScore = -1;
    for (int g = 0; g < position.groupCount; ++g) {
        const uint8_t mask = masks[g];
        if (position.groups[g].left != 4 || (mask & (mask - 1)) == 0 || position.groups[g].free < 2) continue;
        const uint8_t* t = groupLeft[g];
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) {
                if (!isFree(t[i]) || !isFree(t[j]) || !(mask & (1 << pairingOf(i, j)))) continue;
                const int score = pairScore(t[i], t[j]) + noise();
                if (score > bestScore) {
                    bestScore = score;
                    bestGroup = g;
                }
            }
    }
    return bestGroup;
}

// The open pairings of group g, those with a pair that can leave now first, the best pair first.
void listPairings(const uint8_t* masks, int g) {
    const uint8_t* t = groupLeft[g];
    const int base = choiceTop;
    for (int p = 1; p <= 3; ++p) {
        if (!(masks[g] & (1 << p))) continue;
        const int c = p == 1 ? 2 : 1, d = 6 - p - c;
        int score = 0;
        if (isFree(t[0]) && isFree(t[p])) score = std::max(score, 1 + pairScore(t[0], t[p]));
        if (isFree(t[c]) && isFree(t[d])) score = std::max(score, 1 + pairScore(t[c], t[d]));
        Choice& choice = choices[choiceTop++];
        choice.pairing = (uint8_t)p;
        choice.score = (int16_t)(score + noise());
    }
    std::stable_sort(choices + base, choices + choiceTop,
                     [](const Choice& x, const Choice& y) { return x.score > y.score; });
}

// Searches the position with the pairings open in masks.
Outcome searchPairings(const uint8_t* masks) {
    if (stopHere()) return Aborted;
    const int mark = orderCount;
    takeSurePairs(masks);
    if (position.tilesLeft == 0) return Won;
    bool alive = !tableHolds(masks);
    if (alive) {
        gatherGroups();
        alive = relaxedPlayClears(masks);
    }
    const int g = alive ? chooseGroup(masks) : -1;
    if (g >= 0) {
        const int base = choiceTop;
        listPairings(masks, g);
        uint8_t child[TILE_COUNT];
        for (int i = base; i < choiceTop; ++i) {
            memcpy(child, masks, (size_t)position.groupCount);
            child[g] = (uint8_t)(1 << choices[i].pairing);
            const Outcome outcome = searchPairings(child);
            if (outcome != Dead) {
                choiceTop = base;
                if (outcome == Aborted) undoTo(mark);
                return outcome;
            }
        }
        choiceTop = base;
    }
    if (alive) tableStore(masks);
    undoTo(mark);
    return Dead;
}

bool regularSearchApplies() {
    if (!position.regular) return false;
    for (int g = 0; g < position.groupCount; ++g)
        if (position.groups[g].size != 2 && position.groups[g].size != 4) return false;
    return true;
}

Outcome solveRegular() {
    prepareRelaxedPlay();
    noiseAmount = 0;
    for (uint64_t dive = 1; nodeCount < solverQuickNodes; ++dive) {
        diveEnd = std::min(nodeCount + DIVE_UNIT * luby(dive), solverQuickNodes);
        choiceTop = 0;
        uint8_t masks[TILE_COUNT];
        memset(masks, ALL_PAIRINGS, sizeof masks);
        const Outcome outcome = searchPairings(masks);
        if (outcome != Aborted || aborted) return outcome;
        noiseAmount = DIVE_NOISE;
        noiseState = dive * 0x9E3779B97F4A7C15ull;
    }
    diveEnd = UINT64_MAX;
    const LearningOutcome outcome = searchWithLearning(stopHere, order, &orderCount);
    return outcome == LearningWon ? Won : outcome == LearningLost ? Dead : Aborted;
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
    if (tableHolds(nullptr)) return Dead;
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
    if (outcome == Dead) tableStore(nullptr);
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
