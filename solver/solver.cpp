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
#include <cstdlib>

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

int tuneScore = getenv("MJ_SC") ? atoi(getenv("MJ_SC")) : 0;
int freeCount() {
    int n = 0;
    for (int g = 0; g < position.groupCount; ++g) n += position.groups[g].free;
    return n;
}
int moveScore(int a, int b) {
    const int held = heldDown(a) + heldDown(b);
    if (tuneScore == 0) return held * 8;
    if (tuneScore == 2) return held * 8 + (position.tiles[a].layer + position.tiles[b].layer) * 8;
    const int before = freeCount() - 2;
    removeTile(a);
    removeTile(b);
    const int freed = freeCount() - before;
    restoreTile(b);
    restoreTile(a);
    if (tuneScore == 1) return freed * 8;
    if (tuneScore == 3) return freed * 16 + held * 4;
    return freed * 8 + held * 8 + (position.tiles[a].layer + position.tiles[b].layer) * 8;
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
                move.score = (int16_t)(moveScore(t[i], t[j]) + noise());
            }
    }
    std::stable_sort(moves + base, moves + moveTop, [](const Move& x, const Move& y) { return x.score > y.score; });
}

int tuneDeduceDepth = getenv("MJ_DD") ? atoi(getenv("MJ_DD")) : 1000;
int tuneInherit = getenv("MJ_IN") ? atoi(getenv("MJ_IN")) : 1;
int tuneFailProbe = getenv("MJ_FP") ? atoi(getenv("MJ_FP")) : 0;
int tuneFailDepth = getenv("MJ_FD") ? atoi(getenv("MJ_FD")) : 1000;
uint64_t tuneProbeNodes = getenv("MJ_PN") ? atoll(getenv("MJ_PN")) : 1000000000;
uint64_t tuneSettleNodes = getenv("MJ_SN") ? atoll(getenv("MJ_SN")) : 1000000000;
int tuneAlgorithm = getenv("MJ_ALG") ? atoi(getenv("MJ_ALG")) : 0;
int tuneHarmless = getenv("MJ_HL") ? atoi(getenv("MJ_HL")) : 1;
int tuneTable = getenv("MJ_TB") ? atoi(getenv("MJ_TB")) : 1;
int tunePhaseA = getenv("MJ_PA") ? atoi(getenv("MJ_PA")) : 0;
int tuneRelaxProbeDepth = getenv("MJ_RP") ? atoi(getenv("MJ_RP")) : -1;
int tuneRelax = getenv("MJ_RX") ? atoi(getenv("MJ_RX")) : 0;
int tuneProbeDepth = getenv("MJ_PD") ? atoi(getenv("MJ_PD")) : 1000;

Outcome searchRegular(const uint8_t (*inherited)[2], int inheritedCount, const Move* siblings, int siblingCount,
                      const uint8_t* parentMasks) {
    if (stopHere()) return Aborted;
    const uint64_t entryNodes = nodeCount;
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
    uint8_t carried[TILE_COUNT];
    if (parentMasks)
        memcpy(carried, parentMasks, (size_t)position.groupCount);
    else
        memset(carried, ALL_PAIRINGS, (size_t)position.groupCount);
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
        if (tuneInherit)
            for (int g = 0; g < position.groupCount; ++g) masks[g] &= carried[g];
        const int depth = orderCount / 2;
        if (depth <= tuneDeduceDepth ? !deducePosition(masks, depth <= tuneProbeDepth) : (tuneRelax && !relaxedCheck(masks))) {
            alive = false;
            break;
        }
        memcpy(carried, masks, (size_t)position.groupCount);
        if (!takeSurePairs(masks)) break;
    }
    const int moveBase = moveTop;
    if (alive) {
        listMoves(asleep, asleepCount, masks);
        const int moveCount = moveTop - moveBase;
        bool probed = false, settled = false;
        for (int i = 0; i < moveCount; ++i) {
            const Move move = moves[moveBase + i];
            if (i > 0) {
                // A refuted pair is never taken later, nor is its pairing used; after the first refutation
                // the deductions run here once more on what is now known.
                gatherGroups();
                const Move last = moves[moveBase + i - 1];
                const int lg = position.tiles[last.a].group;
                if (position.groups[lg].left == 4)
                    masks[lg] &= (uint8_t)~(1 << pairingOf(placeInGroup[last.a], placeInGroup[last.b]));
                const uint64_t spent = nodeCount - entryNodes;
                if (!probed && spent >= tuneProbeNodes) {
                    probed = settled = true;
                    if (!deducePosition(masks, true)) break;
                } else if (!settled && spent >= tuneSettleNodes) {
                    settled = true;
                    if (!deducePosition(masks, false)) break;
                }
                const int g = position.tiles[move.a].group;
                if (position.groups[g].left == 4 &&
                    !(masks[g] & (1 << pairingOf(placeInGroup[move.a], placeInGroup[move.b]))))
                    continue;
            }
            take(move.a, move.b);
            const Outcome child = searchRegular(asleep, asleepCount, moves + moveBase, i, masks);
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

// ---------------------------------------------------------------------------------------------------------
// The search over pairings.

// The tiles of group g on the board, in groupTiles order (the order groupLeft uses); their count.
int tilesOfGroup(int g, int* t) {
    const PositionGroup& group = position.groups[g];
    int n = 0;
    for (int i = 0; i < group.size && n < 4; ++i) {
        const int tile = position.groupTiles[group.first + i];
        if (tileIsPresent(tile)) t[n++] = tile;
    }
    return n;
}

inline bool isFree(int t) { return position.tiles[t].free; }
inline int lowestPairing(uint8_t mask) { return mask & 2 ? 1 : mask & 4 ? 2 : 3; }

// Takes every pair that is sure to be right: the free pairs of decided pairings (a group of two, or a group
// of four with one pairing left), a group of four free tiles, and of three free tiles the two beside a
// harmless one. Removals only free tiles, so with the pairings fixed, taking a pair as soon as both its
// tiles are free never loses a win.
void takeDecidedPairs(const uint8_t* masks) {
    for (bool taken = true; taken;) {
        taken = false;
        for (int g = 0; g < position.groupCount; ++g) {
            if (position.groups[g].free < 2) continue;
            int t[4];
            const int n = tilesOfGroup(g, t);
            if (n == 2) {
                take(t[0], t[1]);
                taken = true;
                continue;
            }
            const uint8_t mask = masks[g];
            const int freeCount = position.groups[g].free;
            if (freeCount == 4) {
                const int p = lowestPairing(mask), c = p == 1 ? 2 : 1, d = 6 - p - c;
                take(t[0], t[p]);
                take(t[c], t[d]);
                taken = true;
                continue;
            }
            if ((mask & (mask - 1)) == 0) {
                const int p = lowestPairing(mask), c = p == 1 ? 2 : 1, d = 6 - p - c;
                if (isFree(t[0]) && isFree(t[p])) {
                    take(t[0], t[p]);
                    taken = true;
                } else if (isFree(t[c]) && isFree(t[d])) {
                    take(t[c], t[d]);
                    taken = true;
                }
                continue;
            }
            if (freeCount == 3 && tuneHarmless) {
                int blocked = 0;
                while (isFree(t[blocked])) ++blocked;
                for (int k = 0; k < 4; ++k) {
                    if (k == blocked || heldDown(t[k]) != 0) continue;
                    if (!(mask & (1 << pairingOf(k, blocked)))) continue;
                    int x = -1, y = -1;
                    for (int i = 0; i < 4; ++i)
                        if (i != k && i != blocked) (x < 0 ? x : y) = t[i];
                    take(x, y);
                    taken = true;
                    break;
                }
            }
        }
    }
}

struct Choice {
    uint8_t group, pairing;
    int16_t score;
};
Choice choices[PATH_CAPACITY];
int choiceTop;

// The pairings to try for one undecided group: the group and pairing whose pair can leave now and frees the
// most; then the group's other possible pairings.
bool chooseGroup(const uint8_t* masks, int* group) {
    int bestGroup = -1, bestScore = -1;
    for (int g = 0; g < position.groupCount; ++g) {
        const uint8_t mask = masks[g];
        if (position.groups[g].left != 4 || (mask & (mask - 1)) == 0 || position.groups[g].free < 2) continue;
        const uint8_t* t = groupLeft[g];
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) {
                if (!isFree(t[i]) || !isFree(t[j]) || !(mask & (1 << pairingOf(i, j)))) continue;
                const int score = moveScore(t[i], t[j]) + noise();
                if (score > bestScore) {
                    bestScore = score;
                    bestGroup = g;
                }
            }
    }
    *group = bestGroup;
    return bestGroup >= 0;
}

void listPairings(const uint8_t* masks, int g) {
    const uint8_t* t = groupLeft[g];
    const int base = choiceTop;
    for (int p = 1; p <= 3; ++p) {
        if (!(masks[g] & (1 << p))) continue;
        const int c = p == 1 ? 2 : 1, d = 6 - p - c;
        int score = 0;
        if (isFree(t[0]) && isFree(t[p])) score = std::max(score, 1 + moveScore(t[0], t[p]));
        if (isFree(t[c]) && isFree(t[d])) score = std::max(score, 1 + moveScore(t[c], t[d]));
        Choice& choice = choices[choiceTop++];
        choice.group = (uint8_t)g;
        choice.pairing = (uint8_t)p;
        choice.score = (int16_t)(score + noise());
    }
    std::stable_sort(choices + base, choices + choiceTop,
                     [](const Choice& x, const Choice& y) { return x.score > y.score; });
}

// Each possible pairing of an undecided group alone, in the relaxed play; those that cannot clear the board
// are dropped. -1: a group has none left; else 1 when some group was narrowed to one pairing.
int probeRelaxed(uint8_t* masks) {
    int decided = 0;
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (int g = 0; g < position.groupCount; ++g) {
            const uint8_t mask = masks[g];
            if (position.groups[g].left != 4 || (mask & (mask - 1)) == 0) continue;
            uint8_t kept = mask;
            for (int p = 1; p <= 3; ++p) {
                if (!(mask & (1 << p))) continue;
                masks[g] = (uint8_t)(1 << p);
                if (!relaxedCheck(masks)) kept &= (uint8_t) ~(1 << p);
            }
            masks[g] = kept;
            if (kept == 0) return -1;
            if (kept != mask) {
                dropped = true;
                if ((kept & (kept - 1)) == 0) decided = 1;
            }
        }
    }
    return decided;
}

// Lost states of the search over pairings: the tiles on the board and the pairings still open for each
// group of four (three bits a group). A state is lost when a stored state with the same tiles and at
// least the same pairings open is.
struct PairingEntry {
    uint64_t present[3];
    uint64_t open[2];
    uint64_t generation;
};
constexpr int PAIRING_TABLE_BITS = 19;
PairingEntry pairingTable[1u << PAIRING_TABLE_BITS];
uint64_t tableHits;

void packOpen(const uint8_t* masks, uint64_t* open) {
    open[0] = open[1] = 0;
    for (int g = 0; g < position.groupCount; ++g) {
        if (position.groups[g].left != 4) continue;
        const uint64_t bits = (uint64_t)((masks[g] >> 1) & 7);
        const int at = 3 * g;
        open[at >> 6] |= bits << (at & 63);
    }
}

PairingEntry* pairingBucket() {
    return &pairingTable[((position.hash * 0x9E3779B97F4A7C15ull) >> 20) & ((1u << PAIRING_TABLE_BITS) - 4)];
}

bool pairingLost(const uint8_t* masks) {
    uint64_t open[2];
    packOpen(masks, open);
    const PairingEntry* slots = pairingBucket();
    for (int i = 0; i < 4; ++i) {
        const PairingEntry& e = slots[i];
        if (e.generation == generation && e.present[0] == position.present[0] &&
            e.present[1] == position.present[1] && e.present[2] == position.present[2] &&
            (open[0] & ~e.open[0]) == 0 && (open[1] & ~e.open[1]) == 0) {
            ++tableHits;
            return true;
        }
    }
    return false;
}

void pairingStore(const uint8_t* masks) {
    PairingEntry* slots = pairingBucket();
    int victim = (int)(position.hash >> 62);
    for (int i = 0; i < 4; ++i)
        if (slots[i].generation != generation) {
            victim = i;
            break;
        }
    PairingEntry& e = slots[victim];
    memcpy(e.present, position.present, sizeof e.present);
    packOpen(masks, e.open);
    e.generation = generation;
}

bool thorough;  // second phase: the deductions run at the root and after refutations

Outcome searchPairings(uint8_t* masks, int level) {
    if (stopHere()) return Aborted;
    const uint64_t entryNodes = nodeCount;
    const int mark = orderCount;
    bool alive = true;
    for (;;) {
        takeDecidedPairs(masks);
        if (position.tilesLeft == 0) return Won;
        if (tuneTable && pairingLost(masks)) {
            alive = false;
            break;
        }
        gatherGroups();
        const int depth = level;
        if (thorough && depth <= tuneDeduceDepth) {
            uint8_t before[TILE_COUNT];
            memcpy(before, masks, (size_t)position.groupCount);
            if (!deducePosition(masks, depth <= tuneProbeDepth)) {
                alive = false;
                break;
            }
            if (memcmp(before, masks, (size_t)position.groupCount) != 0) continue;
        } else if (!relaxedCheck(masks)) {
            alive = false;
            break;
        }
        if (depth <= tuneRelaxProbeDepth) {
            int narrowed = probeRelaxed(masks);
            if (narrowed < 0) {
                alive = false;
                break;
            }
            if (narrowed > 0) continue;
        }
        break;
    }
    int g = -1;
    uint8_t entryMasks[TILE_COUNT];
    memcpy(entryMasks, masks, (size_t)position.groupCount);
    if (alive && chooseGroup(masks, &g)) {
        const int base = choiceTop;
        listPairings(masks, g);
        uint8_t child[TILE_COUNT];
        bool probed = false, settled = false;
        for (int i = base; i < choiceTop; ++i) {
            if (!(masks[g] & (1 << choices[i].pairing))) continue;
            memcpy(child, masks, (size_t)position.groupCount);
            child[g] = (uint8_t)(1 << choices[i].pairing);
            const Outcome outcome = searchPairings(child, level + 1);
            if (outcome == Won) return Won;
            if (outcome == Aborted) {
                choiceTop = base;
                undoTo(mark);
                return Aborted;
            }
            gatherGroups();
            masks[g] &= (uint8_t) ~(1 << choices[i].pairing);
            const uint64_t spent = nodeCount - entryNodes;
            if (!thorough) continue;
            if (!probed && spent >= tuneProbeNodes) {
                probed = settled = true;
                if (!deducePosition(masks, true)) break;
            } else if (!settled && spent >= tuneSettleNodes) {
                settled = true;
                if (!deducePosition(masks, false)) break;
            }
        }
        choiceTop = base;
    }
    if (alive && tuneTable) pairingStore(entryMasks);
    undoTo(mark);
    return Dead;
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

uint64_t DIVE_UNIT = getenv("MJ_DU") ? atoll(getenv("MJ_DU")) : 64;  // nodes of the shortest dive
constexpr int DIVE_NOISE = 16;      // spread of the order of pairs after the first dive

Outcome solveRegular() {
    prepareDeduction();
    noiseAmount = 0;
    thorough = tunePhaseA == 0;
    for (uint64_t dive = 1;; ++dive) {
        diveEnd = nodeCount + DIVE_UNIT * luby(dive);
        if (!thorough && nodeCount >= (uint64_t)tunePhaseA) {
            thorough = true;
        }
        moveTop = sleepTop = 0;
        Outcome outcome;
        if (tuneAlgorithm == 1) {
            choiceTop = 0;
            uint8_t masks[TILE_COUNT];
            memset(masks, ALL_PAIRINGS, sizeof masks);
            outcome = searchPairings(masks, 0);
        } else {
            outcome = searchRegular(nullptr, 0, nullptr, 0, nullptr);
        }
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
