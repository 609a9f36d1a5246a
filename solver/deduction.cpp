#include "solver/deduction.h"

#include <cstring>
#include <cstdlib>

#include "solver/position.h"

uint8_t groupLeft[TILE_COUNT][4];
uint8_t placeInGroup[TILE_COUNT];

namespace {

// partnersOf and surePartner, for the hot loops here.
inline int partnersIn(int y, const uint8_t* m, int* partners) {
    const int g = position.tiles[y].group;
    const int k = placeInGroup[y];
    if (position.groups[g].left == 2) {
        partners[0] = groupLeft[g][1 - k];
        return 1;
    }
    int n = 0;
    for (int p = 1; p <= 3; ++p)
        if (m[g] & (1 << p)) partners[n++] = groupLeft[g][pairingPartner(k, p)];
    return n;
}

inline int sureIn(int y, const uint8_t* m) {
    const int g = position.tiles[y].group;
    const int k = placeInGroup[y];
    if (position.groups[g].left == 2) return groupLeft[g][1 - k];
    const int bits = m[g];
    if (bits == 0 || (bits & (bits - 1)) != 0) return -1;
    return groupLeft[g][pairingPartner(k, bits == 2 ? 1 : bits == 4 ? 2 : 3)];
}

inline bool has(const uint64_t* set, int t) { return (set[t >> 6] >> (t & 63)) & 1; }
inline void put(uint64_t* set, int t) { set[t >> 6] |= 1ull << (t & 63); }
inline void drop(uint64_t* set, int t) { set[t >> 6] &= ~(1ull << (t & 63)); }

// Tiles from the top layer down, and for each tile the tiles whose deductions read its own: those lying
// under it and those that have it as a side neighbour.
uint8_t topDown[TILE_COUNT];
int topDownCount;
uint8_t under[TILE_COUNT][4], underCount[TILE_COUNT];
uint8_t besides[TILE_COUNT][8], besidesCount[TILE_COUNT];  // six at most: three rows on each side

// For each tile on the board, the tiles that must leave strictly before it.
uint64_t before[TILE_COUNT][3];
uint64_t savedBefore[TILE_COUNT][3];
const uint8_t* masks;

// Tiles whose deductions are to be redone; each is queued once at a time.
uint8_t queue[256];
unsigned queueHead, queueTail;
uint64_t queued[3];

void push(int t) {
    if (!tileIsPresent(t) || has(queued, t)) return;
    put(queued, t);
    queue[queueTail++ & 255] = (uint8_t)t;
}

void pushDependants(int t) {
    for (int i = 0; i < underCount[t]; ++i) push(under[t][i]);
    for (int i = 0; i < besidesCount[t]; ++i) push(besides[t][i]);
}

void pushGroup(int g) {
    for (int k = 0; k < position.groups[g].left; ++k) {
        push(groupLeft[g][k]);
        pushDependants(groupLeft[g][k]);
    }
}

// z leaves before the tile whose set this is, and so do its sure partner and all that must leave
// before z.
inline void addWithBefore(uint64_t* set, int z) {
    put(set, z);
    const int q = sureIn(z, masks);
    if (q >= 0) put(set, q);
    set[0] |= before[z][0];
    set[1] |= before[z][1];
    set[2] |= before[z][2];
}

// z leaves no earlier than y: after it, or no earlier than whichever partner y takes.
bool leavesNoEarlier(int z, int y, const int* partners, int partnerCount) {
    if (has(before[z], y)) return true;
    for (int i = 0; i < partnerCount; ++i)
        if (partners[i] != z && !has(before[z], partners[i])) return false;
    return true;
}

bool sideHeld(const uint8_t* side, int count, int y, const int* partners, int partnerCount) {
    for (int i = 0; i < count; ++i)
        if (tileIsPresent(side[i]) && leavesNoEarlier(side[i], y, partners, partnerCount)) return true;
    return false;
}

// Redoes the deductions for one tile; false on a contradiction.
bool evaluate(int y) {
    const PositionTile& tile = position.tiles[y];
    uint64_t set[3] = {before[y][0], before[y][1], before[y][2]};
    for (int k = 0; k < tile.aboveCount; ++k)
        if (tileIsPresent(tile.above[k])) addWithBefore(set, tile.above[k]);
    int partners[3];
    const int partnerCount = partnersIn(y, masks, partners);
    if (partnerCount == 0) return false;
    uint64_t common[3] = {~0ull, ~0ull, ~0ull};
    for (int k = 0; k < partnerCount; ++k)
        for (int w = 0; w < 3; ++w) common[w] &= before[partners[k]][w];
    for (int w = 0; w < 3; ++w) set[w] |= common[w];
    if (!tile.edge) {
        uint64_t sides[2][3] = {{0, 0, 0}, {0, 0, 0}};
        bool bothOccupied = true;
        for (int side = 0; side < 2; ++side) {
            const uint8_t* list = side == 0 ? tile.left : tile.right;
            const int count = side == 0 ? tile.leftCount : tile.rightCount;
            bool occupied = false;
            for (int k = 0; k < count; ++k)
                if (tileIsPresent(list[k])) {
                    addWithBefore(sides[side], list[k]);
                    occupied = true;
                }
            bothOccupied &= occupied;
        }
        if (bothOccupied)
            for (int w = 0; w < 3; ++w) set[w] |= sides[0][w] & sides[1][w];
        const bool leftHeld = sideHeld(tile.left, tile.leftCount, y, partners, partnerCount);
        const bool rightHeld = sideHeld(tile.right, tile.rightCount, y, partners, partnerCount);
        if (leftHeld && rightHeld) return false;
        if (leftHeld)
            for (int w = 0; w < 3; ++w) set[w] |= sides[1][w];
        if (rightHeld)
            for (int w = 0; w < 3; ++w) set[w] |= sides[0][w];
    }
    if (has(set, y) || (partnerCount == 1 && has(set, partners[0]))) return false;
    if (set[0] != before[y][0] || set[1] != before[y][1] || set[2] != before[y][2]) {
        memcpy(before[y], set, sizeof set);
        pushDependants(y);
        const int g = tile.group;
        for (int k = 0; k < position.groups[g].left; ++k)
            if (groupLeft[g][k] != y) push(groupLeft[g][k]);
    }
    return true;
}

bool canPair(int x, int y) { return !has(before[y], x) && !has(before[x], y); }

// Drops the pairings whose pairs must leave one before the other; false when a group has none left.
bool narrowMasks(uint8_t* m, bool* narrowed) {
    *narrowed = false;
    for (int g = 0; g < position.groupCount; ++g) {
        if (position.groups[g].left != 4) continue;
        const uint8_t* t = groupLeft[g];
        uint8_t kept = m[g];
        for (int p = 1; p <= 3; ++p) {
            if (!(kept & (1 << p))) continue;
            const int c = p == 1 ? 2 : 1, d = 6 - p - c;
            if (!canPair(t[0], t[p]) || !canPair(t[c], t[d])) kept &= (uint8_t) ~(1 << p);
        }
        if (kept == 0) return false;
        if (kept != m[g]) {
            m[g] = kept;
            *narrowed = true;
            pushGroup(g);
        }
    }
    return true;
}

// Works through the queue to the fixed point; false on a contradiction (the queue is then emptied).
bool settle(uint8_t* m) {
    masks = m;
    for (;;) {
        while (queueHead != queueTail) {
            const int y = queue[queueHead++ & 255];
            drop(queued, y);
            if (!evaluate(y)) {
                queueHead = queueTail = 0;
                queued[0] = queued[1] = queued[2] = 0;
                return false;
            }
        }
        bool narrowed;
        if (!narrowMasks(m, &narrowed)) return false;
        if (!narrowed) return true;
    }
}

// The relaxed play: every tile may leave as soon as it is free and one of its possible partners is free
// or gone. It only loosens the game, so tiles it cannot clear can never be cleared. Each tile counts the
// tiles still on it, beside it on the left and on the right; a tile leaving counts down those of the tiles
// that see it.
constexpr int SEEN_BY_CAPACITY = 12;
uint8_t seenByTile[TILE_COUNT][SEEN_BY_CAPACITY];      // tiles whose blockers include a tile
uint8_t seenByRelation[TILE_COUNT][SEEN_BY_CAPACITY];  // 0: it lies on them, 1: it is their left, 2: right
uint8_t seenByCount[TILE_COUNT];
uint8_t blockers[TILE_COUNT][3];  // during a relaxed play: tiles above, left and right still there
uint8_t relaxedGone[TILE_COUNT];
uint8_t playStack[TILE_COUNT * 8];

inline bool relaxedFree(int t) {
    const uint8_t* b = blockers[t];
    return b[0] == 0 && (position.tiles[t].edge || b[1] == 0 || b[2] == 0);
}

}  // namespace

bool relaxedPlayClears(const uint8_t* m) {
    int top = 0;
    for (int i = 0; i < topDownCount; ++i) {
        const int t = topDown[i];
        if (!tileIsPresent(t)) continue;
        relaxedGone[t] = 0;
        uint8_t* b = blockers[t];
        const PositionTile& tile = position.tiles[t];
        b[0] = b[1] = b[2] = 0;
        for (int k = 0; k < tile.aboveCount; ++k) b[0] += tileIsPresent(tile.above[k]);
        for (int k = 0; k < tile.leftCount; ++k) b[1] += tileIsPresent(tile.left[k]);
        for (int k = 0; k < tile.rightCount; ++k) b[2] += tileIsPresent(tile.right[k]);
        if (relaxedFree(t)) playStack[top++] = (uint8_t)t;
    }
    int left = position.tilesLeft;
    while (top > 0) {
        const int t = playStack[--top];
        if (relaxedGone[t]) continue;
        int partners[3];
        const int n = partnersIn(t, m, partners);
        int mate = -1;
        for (int k = 0; k < n && mate < 0; ++k) {
            const int q = partners[k];
            if (relaxedGone[q] || relaxedFree(q)) mate = q;
        }
        if (mate < 0) continue;
        for (int pass = 0; pass < 2; ++pass) {
            const int x = pass == 0 ? t : mate;
            if (relaxedGone[x]) continue;
            relaxedGone[x] = 1;
            --left;
            for (int i = 0; i < seenByCount[x]; ++i) {
                const int d = seenByTile[x][i];
                const int relation = seenByRelation[x][i];
                if (!tileIsPresent(d) || relaxedGone[d]) continue;
                const bool wasFree = relaxedFree(d);
                --blockers[d][relation];
                if (!wasFree && relaxedFree(d)) playStack[top++] = (uint8_t)d;
            }
            // Tiles of the group that are free and waited for a partner to be gone.
            const int g = position.tiles[x].group;
            for (int k = 0; k < position.groups[g].left; ++k) {
                const int y = groupLeft[g][k];
                if (!relaxedGone[y] && relaxedFree(y)) playStack[top++] = (uint8_t)y;
            }
        }
    }
    return left == 0;
}

int relaxedStuckGroups(const uint8_t* m, uint8_t* stuck) {
    memset(stuck, 0, (size_t)position.groupCount);
    int count = 0;
    for (int i = 0; i < topDownCount; ++i) {
        const int t = topDown[i];
        if (!tileIsPresent(t) || relaxedGone[t] || !relaxedFree(t)) continue;
        const int g = position.tiles[t].group;
        if (stuck[g]) continue;
        int partners[3];
        const int n = partnersIn(t, m, partners);
        bool waits = true;
        for (int k = 0; k < n; ++k) waits &= !relaxedGone[partners[k]] && !relaxedFree(partners[k]);
        if (!waits) continue;
        stuck[g] = 1;
        ++count;
    }
    return count;
}

namespace {

// Tries pairing p alone for group g on top of the settled sets; true when that is not lost at once.
bool pairingHolds(const uint8_t* m, int g, int p) {
    uint8_t trial[TILE_COUNT];
    memcpy(trial, m, (size_t)position.groupCount);
    trial[g] = (uint8_t)(1 << p);
    memcpy(savedBefore, before, sizeof before);
    pushGroup(g);
    const bool holds = settle(trial) && relaxedPlayClears(trial);
    memcpy(before, savedBefore, sizeof before);
    return holds;
}

}  // namespace

void prepareDeduction() {
    topDownCount = 0;
    memset(underCount, 0, sizeof underCount);
    memset(besidesCount, 0, sizeof besidesCount);
    for (int layer = LAYER_COUNT - 1; layer >= 0; --layer)
        for (int t = 0; t < TILE_COUNT; ++t)
            if (tileIsPresent(t) && position.tiles[t].layer == layer) topDown[topDownCount++] = (uint8_t)t;
    for (int i = 0; i < topDownCount; ++i) {
        const int t = topDown[i];
        const PositionTile& tile = position.tiles[t];
        for (int k = 0; k < tile.aboveCount; ++k) {
            const int a = tile.above[k];
            if (underCount[a] < 4) under[a][underCount[a]++] = (uint8_t)t;
        }
        for (int k = 0; k < tile.leftCount + tile.rightCount; ++k) {
            const int s = k < tile.leftCount ? tile.left[k] : tile.right[k - tile.leftCount];
            if (besidesCount[s] < 8) besides[s][besidesCount[s]++] = (uint8_t)t;
        }
    }
    memset(seenByCount, 0, sizeof seenByCount);
    for (int i = 0; i < topDownCount; ++i) {
        const int t = topDown[i];
        const PositionTile& tile = position.tiles[t];
        const int counts[3] = {tile.aboveCount, tile.leftCount, tile.rightCount};
        const uint8_t* lists[3] = {tile.above, tile.left, tile.right};
        for (int relation = 0; relation < 3; ++relation)
            for (int k = 0; k < counts[relation]; ++k) {
                const int s = lists[relation][k];
                if (seenByCount[s] >= SEEN_BY_CAPACITY) abort();
                seenByTile[s][seenByCount[s]] = (uint8_t)t;
                seenByRelation[s][seenByCount[s]++] = (uint8_t)relation;
            }
    }
    queueHead = queueTail = 0;
    queued[0] = queued[1] = queued[2] = 0;
}

void gatherGroups() {
    for (int g = 0; g < position.groupCount; ++g) {
        const PositionGroup& group = position.groups[g];
        int n = 0;
        for (int i = 0; i < group.size && n < 4; ++i) {
            const int t = position.groupTiles[group.first + i];
            if (!tileIsPresent(t)) continue;
            placeInGroup[t] = (uint8_t)n;
            groupLeft[g][n++] = (uint8_t)t;
        }
    }
}

int partnersOf(int y, const uint8_t* m, int* partners) { return partnersIn(y, m, partners); }

int surePartner(int y, const uint8_t* m) { return sureIn(y, m); }

bool deducePosition(uint8_t* m, bool probe) {
    for (int i = 0; i < topDownCount; ++i) {
        const int t = topDown[i];
        if (!tileIsPresent(t)) continue;
        before[t][0] = before[t][1] = before[t][2] = 0;
        push(t);
    }
    if (!settle(m) || !relaxedPlayClears(m)) return false;
    if (!probe) return true;
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (int g = 0; g < position.groupCount; ++g) {
            if (position.groups[g].left != 4 || (m[g] & (m[g] - 1)) == 0) continue;
            const uint8_t possible = m[g];
            for (int p = 1; p <= 3; ++p)
                if ((possible & (1 << p)) && !pairingHolds(m, g, p)) m[g] &= (uint8_t) ~(1 << p);
            if (m[g] == possible) continue;
            if (m[g] == 0) return false;
            dropped = true;
            pushGroup(g);
            if (!settle(m)) return false;
        }
        if (dropped && !relaxedPlayClears(m)) return false;
    }
    return true;
}
