// Drawing a tile's shadow: the pieces flagged by computeShadowFlags, darkened
// into what the buffer already holds (the tiles of the layers beneath).
//
// With x, y the tile's face position, W, H the face size, d the layer shift
// and S the shadow width: the bottom strip lies below the tile's bottom side,
// from X0 = x - d, rows Y0 = y + H + d onwards; the corner square starts at
// XR = x - d + W; the right strip runs down the columns XR to XR + S - 1.
#include <initializer_list>

#include "engine/board.h"
#include "view2d/draw_tile.h"
#include "engine/shadows.h"
#include "view2d/tileset.h"

namespace {

// Darkens columns first to last (both included) of one row; nothing when last < first.
inline void darkenRow(Surface* buffer, int y, int first, int last) {
    if (last >= first) darkenRect(buffer, first, y, last + 1, y + 1);
}

}  // namespace

void drawTileShadow(int tile, Surface* buffer) {
    if (tile < 0 || tile >= TILE_COUNT || surfaceIsEmpty(buffer)) return;
    const TileRecord& record = tileTable[tile];
    if (record.face == 0) return;
    const uint8_t* flag = shadowFlags[tile];
    const int x = record.screenX, y = record.screenY;
    const int W = faceWidth, H = faceHeight, d = layerShift, S = shadowExtent;
    const int X0 = x - d, XR = x - d + W, Y0 = y + H + d;

    if (flag[F0] || flag[F1] || flag[F2] || flag[F3]) {
        for (int i = 0; i < S; ++i) {
            const int row = Y0 + i;
            if (flag[F0]) darkenRow(buffer, row, X0, X0 + i - 1);
            if (flag[F1]) darkenRow(buffer, row, X0 + i, X0 + W / 2 - 1);
            if (flag[F2]) darkenRow(buffer, row, X0 + W / 2, X0 + W / 2 + i - 1);
            if (flag[F3]) darkenRow(buffer, row, X0 + W / 2 + i, X0 + W - 1);
        }
    }
    if (flag[F4]) darkenRect(buffer, XR, Y0, XR + S, Y0 + S);
    if (flag[F5] || flag[F6] || flag[F7] || flag[F8] || flag[F9] || flag[F10]) {
        // The right strip is defined column by column (column XR + i - 1 for i = 1
        // to S); each piece is darkened here row by row, as the run of columns
        // that hold the row, so that every row is one contiguous span.
        const int top = y + d, middle = y + d + H / 2;
        const int last = XR + S - 1;
        // F8: rows top to top + i - 1: row top + k lies in the columns with i > k.
        if (flag[F8])
            for (int k = 0; k < S; ++k) darkenRow(buffer, top + k, XR + k, last);
        // F7: rows top + i to middle - 1, and F10, the same ending at y + H/2 - 1:
        // row top + k lies in the columns with i <= k.
        for (int piece : {F7, F10}) {
            if (!flag[piece]) continue;
            const int end = piece == F7 ? middle - 1 : y + H / 2 - 1;
            for (int row = top + 1; row <= end; ++row) {
                const int k = row - top;
                darkenRow(buffer, row, XR, XR + (k < S ? k : S) - 1);
            }
        }
        // F6: rows middle to middle + i - 1.
        if (flag[F6])
            for (int k = 0; k < S; ++k) darkenRow(buffer, middle + k, XR + k, last);
        // F5: rows middle + i to top + H - 1, and F9, the same ending at y + H - 1.
        for (int piece : {F5, F9}) {
            if (!flag[piece]) continue;
            const int end = piece == F5 ? top + H - 1 : y + H - 1;
            for (int row = middle + 1; row <= end; ++row) {
                const int k = row - middle;
                darkenRow(buffer, row, XR, XR + (k < S ? k : S) - 1);
            }
        }
    }
}
