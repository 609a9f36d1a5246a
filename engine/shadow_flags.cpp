// Which pieces of its shadow each tile casts on the layer beneath it.
#include <cstring>

#include "engine/board.h"
#include "engine/shadows.h"

static inline bool isTile(uint8_t cell) { return cell < TILE_COUNT; }

// The tile anchored at (layer, row, column), or NO_TILE.
static inline int anchoredTile(int layer, int row, int column) {
    if (layoutCell(layer, row, column) != 1) return NO_TILE;
    uint8_t tile = tileCell(layer, row, column);
    return isTile(tile) ? tile : NO_TILE;
}

// Empty on this layer, a tile on the layer beneath.
static inline bool shadowTarget(int layer, int row, int column) {
    return !isTile(tileCell(layer, row, column)) && isTile(tileCell(layer - 1, row, column));
}

template <typename Step>
static void forEachAnchoredTile(Step step) {
    for (int layer = 1; layer < LAYER_COUNT; ++layer)
        for (int row = 0; row < ROW_COUNT; ++row)
            for (int column = 0; column < COLUMN_COUNT; ++column) {
                int tile = anchoredTile(layer, row, column);
                if (tile != NO_TILE) step(shadowFlags[tile], layer, row, column);
            }
}

void computeShadowFlags() {
    memset(shadowFlags, 0, sizeof shadowFlags);

    // Pass 1: the pieces next to the tile that fall on a lower tile.
    forEachAnchoredTile([](uint8_t* f, int L, int r, int c) {
        if (r < 18 && shadowTarget(L, r + 2, c)) f[F1] = 1;
        if (r < 18 && c < 33 && shadowTarget(L, r + 2, c + 1)) f[F3] = 1;
        if (f[F1] && f[F3]) f[F2] = 1;
        if (c < 32 && shadowTarget(L, r, c + 2)) f[F7] = 1;
        if (r < 19 && c < 32 && shadowTarget(L, r + 1, c + 2)) f[F5] = 1;
        if (f[F5] && f[F7]) f[F6] = 1;
        if (r < 18 && c < 32 && (f[F3] || f[F5]) && shadowTarget(L, r + 2, c + 2)) f[F4] = 1;
    });

    // Pass 2: strips that run on from a neighbour start without a 45-degree edge.
    forEachAnchoredTile([](uint8_t* f, int L, int r, int c) {
        if (c < 32) {
            int right = anchoredTile(L, r, c + 2);
            if (right != NO_TILE && f[F3] && shadowFlags[right][F1]) shadowFlags[right][F0] = 1;
        }
        if (r >= 2) {
            int above = anchoredTile(L, r - 2, c);
            if (above != NO_TILE && f[F7] && shadowFlags[above][F5]) f[F8] = 1;
        }
    });

    // Pass 3: corners a neighbour already covers, and right strips cut short.
    forEachAnchoredTile([](uint8_t* f, int L, int r, int c) {
        if (c < 32) {
            int right = anchoredTile(L, r, c + 2);
            if (right != NO_TILE && shadowFlags[right][F0] && shadowFlags[right][F1]) f[F4] = 0;
        }
        if (r < 18) {
            int below = anchoredTile(L, r + 2, c);
            if (below != NO_TILE && shadowFlags[below][F7] && shadowFlags[below][F8]) f[F4] = 0;
        }
        if (r < 18 && c < 32 && anchoredTile(L, r + 2, c + 2) != NO_TILE && f[F5]) {
            f[F5] = 0;
            f[F9] = 1;
        }
        if (r < 19 && c < 32 && anchoredTile(L, r + 1, c + 2) != NO_TILE && f[F7]) {
            f[F7] = 0;
            f[F10] = 1;
        }
    });
}
