#include "solver/relaxed_play.h"

#include <cstdlib>
#include <cstring>

#include "solver/position.h"

uint8_t groupLeft[TILE_COUNT][4];
uint8_t placeInGroup[TILE_COUNT];

namespace {
uint8_t groupOfTile[TILE_COUNT];      // position.tiles[t].group, close together
uint8_t groupLeftCount[TILE_COUNT];   // tiles left of each group, as gatherGroups found them
}  // namespace

namespace {

// The partners tile y may still have: the other tile of a group of two, or those its possible pairings give.
inline int partnersIn(int y, const uint8_t* m, int* partners) {
    const int g = groupOfTile[y];
    const int k = placeInGroup[y];
    if (groupLeftCount[g] == 2) {
        partners[0] = groupLeft[g][1 - k];
        return 1;
    }
    int n = 0;
    for (int p = 1; p <= 3; ++p)
        if (m[g] & (1 << p)) partners[n++] = groupLeft[g][pairingPartner(k, p)];
    return n;
}

// Tiles from the top layer down.
uint8_t topDown[TILE_COUNT];
int topDownCount;

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
uint8_t edgeOf[TILE_COUNT];

// The blockers of the tiles on the board as the position held them at the last play; the next play
// brings them up to date with the tiles taken off or put back since.
uint8_t boardBlockers[TILE_COUNT][3];
uint64_t boardPresent[3];

inline bool relaxedFree(int t) {
    const uint8_t* b = blockers[t];
    return b[0] == 0 && (edgeOf[t] || b[1] == 0 || b[2] == 0);
}

void updateBoardBlockers() {
    for (int w = 0; w < 3; ++w) {
        for (uint64_t changed = boardPresent[w] ^ position.present[w]; changed; changed &= changed - 1) {
            const int t = 64 * w + __builtin_ctzll(changed);
            const int step = tileIsPresent(t) ? 1 : -1;
            for (int i = 0; i < seenByCount[t]; ++i)
                boardBlockers[seenByTile[t][i]][seenByRelation[t][i]] += (uint8_t)step;
        }
        boardPresent[w] = position.present[w];
    }
}

}  // namespace

void prepareRelaxedPlay() {
    topDownCount = 0;
    for (int layer = LAYER_COUNT - 1; layer >= 0; --layer)
        for (int t = 0; t < TILE_COUNT; ++t)
            if (tileIsPresent(t) && position.tiles[t].layer == layer) topDown[topDownCount++] = (uint8_t)t;
    memset(seenByCount, 0, sizeof seenByCount);
    memset(boardBlockers, 0, sizeof boardBlockers);
    memcpy(boardPresent, position.present, sizeof boardPresent);
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
                ++boardBlockers[t][relation];
            }
        edgeOf[t] = tile.edge;
        groupOfTile[t] = tile.group;
    }
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
        groupLeftCount[g] = (uint8_t)n;
    }
}

bool relaxedPlayClears(const uint8_t* m) {
    updateBoardBlockers();
    memcpy(blockers, boardBlockers, sizeof blockers);
    memset(relaxedGone, 0, sizeof relaxedGone);
    int top = 0;
    for (int i = 0; i < topDownCount; ++i) {
        const int t = topDown[i];
        if (tileIsPresent(t) && relaxedFree(t)) playStack[top++] = (uint8_t)t;
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
            const int g = groupOfTile[x];
            for (int k = 0; k < groupLeftCount[g]; ++k) {
                const int y = groupLeft[g][k];
                if (!relaxedGone[y] && relaxedFree(y)) playStack[top++] = (uint8_t)y;
            }
        }
    }
    return left == 0;
}
