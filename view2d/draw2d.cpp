// Drawing the board in 2D: placing the tiles, composing a frame in the board
// buffer, the fade-out of a removed pair and the hit test.
//
// A frame is the background (copied or filled around the faces), then the 144
// tiles in index order. Faces are row copies from the scaled tile set; only highlights,
// shadows and the two tiles of a fade go pixel by pixel, and even those clip
// their rectangle once and then run over plain rows.
#include "view2d/draw2d.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

#include "engine/board.h"
#include "engine/fade.h"
#include "engine/host.h"
#include "platform/system.h"
#include "settings/settings.h"
#include "view2d/draw_tile.h"
#include "view2d/tileset.h"
#include "view2d/view_lock.h"

int fadeFrames = 0;
float boardCentre3D[2];

namespace {

constexpr uint32_t BLACK = 0;
constexpr uint32_t COLOUR_MASK = 0x00FFFFFF;

inline uint32_t* pixelAt(Surface* surface, int x, int y) {
    return surface->pixels + static_cast<size_t>(y) * surface->width + x;
}

// Clips a rectangle to a surface; false when nothing is left.
bool clipTo(const Surface* surface, int* left, int* top, int* right, int* bottom) {
    if (surfaceIsEmpty(surface)) return false;
    if (*left < 0) *left = 0;
    if (*top < 0) *top = 0;
    if (*right > surface->width) *right = surface->width;
    if (*bottom > surface->height) *bottom = surface->height;
    return *left < *right && *top < *bottom;
}

// mixColors with the two weights of one fade frame. Where both weights are at
// least 0 the division by their sum is a multiplication by its reciprocal,
// exact for every sum two 16-bit weights can make: with m = 2^41 / sum rounded
// up, n * m / 2^41 truncated is n / sum truncated for all n up to 255 * sum.
struct Mixer {
    int weightA, weightB;
    uint64_t reciprocal;  // 0: the weights take the general way
    Mixer(int a, int b) : weightA(a), weightB(b), reciprocal(0) {
        const int total = a + b;
        if (a >= 0 && b >= 0 && total > 0 && total <= 65534)
            reciprocal = ((uint64_t(1) << 41) + static_cast<uint64_t>(total) - 1) / static_cast<uint64_t>(total);
    }
    uint32_t operator()(uint32_t a, uint32_t b) const {
        if (reciprocal == 0) return mixColors(a, b, weightA, weightB);
        uint32_t result = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const uint64_t mixed = ((a >> shift) & 0xFF) * static_cast<uint64_t>(weightA) +
                                   ((b >> shift) & 0xFF) * static_cast<uint64_t>(weightB);
            result |= static_cast<uint32_t>((mixed * reciprocal) >> 41) << shift;
        }
        return result;
    }
};

// Mixes colour into the rectangle (left, top)-(right, bottom).
void blendRect(Surface* surface, int left, int top, int right, int bottom, uint32_t colour, const Mixer& mix) {
    if (!clipTo(surface, &left, &top, &right, &bottom)) return;
    for (int y = top; y < bottom; ++y) {
        uint32_t* row = pixelAt(surface, left, y);
        for (int i = 0; i < right - left; ++i) row[i] = mix(row[i], colour);
    }
}

// Mixes colour into the pixels of a horizontal, vertical or 45-degree line
// from (x0, y0) to (x1, y1), the end point excluded (the pixels drawLine sets).
void blendLine(Surface* surface, int x0, int y0, int x1, int y1, uint32_t colour, const Mixer& mix) {
    const int dx = x1 - x0, dy = y1 - y0;
    const int steps = dx < 0 ? (dy < 0 ? (-dx > -dy ? -dx : -dy) : (-dx > dy ? -dx : dy))
                             : (dy < 0 ? (dx > -dy ? dx : -dy) : (dx > dy ? dx : dy));
    const int stepX = dx > 0 ? 1 : (dx < 0 ? -1 : 0), stepY = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
    for (int n = 0; n < steps; ++n) {
        const int x = x0 + n * stepX, y = y0 + n * stepY;
        if (x < 0 || y < 0 || x >= surface->width || y >= surface->height) continue;
        uint32_t* p = pixelAt(surface, x, y);
        *p = mix(*p, colour);
    }
}

// The face of a fading tile: every pixel mixed with the tile set's.
void blendFace(Surface* buffer, int x, int y, const Surface* tileSet, int cellX, int cellY, int width,
               int height, const Mixer& mix) {
    if (surfaceIsEmpty(buffer) || surfaceIsEmpty(tileSet)) return;
    // Clip against the buffer and the tile set at once.
    int left = 0, top = 0, right = width, bottom = height;
    if (x + left < 0) left = -x;
    if (y + top < 0) top = -y;
    if (cellX + left < 0) left = -cellX;
    if (cellY + top < 0) top = -cellY;
    if (x + right > buffer->width) right = buffer->width - x;
    if (y + bottom > buffer->height) bottom = buffer->height - y;
    if (cellX + right > tileSet->width) right = tileSet->width - cellX;
    if (cellY + bottom > tileSet->height) bottom = tileSet->height - cellY;
    for (int j = top; j < bottom; ++j) {
        uint32_t* to = pixelAt(buffer, x, y + j);
        const uint32_t* from = tileSet->pixels + static_cast<size_t>(cellY + j) * tileSet->width + cellX;
        for (int i = left; i < right; ++i) to[i] = mix(to[i], from[i]);
    }
}

// The tile's left and bottom sides with their black outline. A fading tile
// mixes the same pixels instead of setting them.
//
// The solid sides are filled a row at a time. The upper bevel of the left
// side (for i = 1 to d - 1 the column x - i from row y + i to y + d - 1) holds
// on row y + k the columns x - k to x - 1; the right bevel of the bottom side
// (for i = 0 to d - 1 the column x + W - d + i from row y + H to y + H + d - i - 2)
// holds on row y + H + k the columns x + W - d to x + W - 2 - k, which run on
// from the bottom side's last column x - d + W - 1.
void drawSides(Surface* buffer, int x, int y, int W, int H, int d, bool opaque, const Mixer& mix) {
    const uint32_t sides = Settings.SidesColor & COLOUR_MASK;
    if (opaque) {
        for (int k = 1; k <= d - 1; ++k) fillRect(buffer, x - k, y + k, x, y + k + 1, sides);  // upper bevel
        fillRect(buffer, x - d, y + d, x, y + H, sides);                                     // left side
        for (int k = 0; k < d; ++k) {  // bottom side with its right bevel
            const int right = k <= d - 2 ? x + W - 1 - k : x - d + W;
            fillRect(buffer, x - d, y + H + k, right, y + H + k + 1, sides);
        }
        drawLine(buffer, x - 1, y + 1, x - d, y + d, BLACK);
        drawLine(buffer, x - d, y + d, x - d, y + d + H, BLACK);
        drawLine(buffer, x - d, y + d + H - 1, x - d + W, y + d + H - 1, BLACK);
        drawLine(buffer, x + W - 1, y + H, x + W - 1 - d, y + H + d, BLACK);
        return;
    }
    blendRect(buffer, x - d, y + H, x - d + W, y + H + d, sides, mix);
    blendRect(buffer, x - d, y + d, x, y + H, sides, mix);
    for (int i = 1; i <= d - 1; ++i) blendRect(buffer, x - i, y + i, x - i + 1, y + d, sides, mix);
    for (int i = 0; i <= d - 1; ++i)
        blendRect(buffer, x + W - d + i, y + H, x + W - d + i + 1, y + H + d - i - 1, sides, mix);
    // The outline pixels, each mixed once: the left edge ends on the corner
    // where the bottom edge begins, so the bottom edge starts one further on.
    blendLine(buffer, x - 1, y + 1, x - d, y + d, BLACK, mix);
    blendLine(buffer, x - d, y + d, x - d, y + d + H, BLACK, mix);
    if (H >= 1) blendLine(buffer, x - d + 1, y + d + H - 1, x - d + W, y + d + H - 1, BLACK, mix);
    else blendLine(buffer, x - d, y + d + H - 1, x - d + W, y + d + H - 1, BLACK, mix);
    blendLine(buffer, x + W - 1, y + H, x + W - 1 - d, y + H + d, BLACK, mix);
}

// How many times the tile is highlighted: once when it is selected, once more
// when it belongs to the hint pair on show.
int highlightCount(int tile) {
    int count = 0;
    if (tile == selectedTile || tile == secondTile) ++count;
    if (hintShown) {
        if (hintIndex >= pairCount || hintIndex < 0) hintIndex = 0;
        if (pairCount > 0 && (pairList[hintIndex][0] == tile || pairList[hintIndex][1] == tile)) ++count;
    }
    return count;
}

// The background is seen only where no opaque face lies: every face is copied
// over it whole, whatever is drawn before and after. So a frame paints the
// background only around the faces, which spares a good part of the frame's
// memory traffic. The board is painted in bands of rows that the same faces
// cross; in each band the spans between the faces are copied from the picture
// (or filled with the colour where there is none, or it is too small).
struct Cover {
    int top, bottom, left, right;
};

void paintSpan(Surface* buffer, const Surface* picture, uint32_t colour, int y, int left, int right) {
    int copyEnd = left;
    if (picture != nullptr && y < picture->height) {
        copyEnd = right < picture->width ? right : picture->width;
        if (copyEnd > left)
            std::memcpy(pixelAt(buffer, left, y), picture->pixels + static_cast<size_t>(y) * picture->width + left,
                        static_cast<size_t>(copyEnd - left) * sizeof(uint32_t));
        else
            copyEnd = left;
    }
    if (right > copyEnd) fillRect(buffer, copyEnd, y, right, y + 1, colour);
}

void paintBackground(Surface* buffer, const Surface* picture, uint32_t colour, int fadeA, int fadeB) {
    Cover covers[TILE_COUNT];
    int count = 0;
    const int W = faceWidth, H = faceHeight;
    // Faces are whole only when the scaled tile set holds every cell.
    const bool wholeFaces = W > 0 && H > 0 && !surfaceIsEmpty(&scaledTileSet) &&
                            scaledTileSet.width >= TILESET_COLUMNS * W && scaledTileSet.height >= TILESET_ROWS * H;
    for (int t = 0; t < TILE_COUNT && wholeFaces; ++t) {
        const TileRecord& record = tileTable[t];
        if (record.face == 0 || t == fadeA || t == fadeB) continue;
        Cover cover = {record.screenY, record.screenY + H, record.screenX, record.screenX + W};
        if (!clipTo(buffer, &cover.left, &cover.top, &cover.right, &cover.bottom)) continue;
        covers[count++] = cover;
    }
    int edges[2 * TILE_COUNT + 2];
    int edgeCount = 0;
    edges[edgeCount++] = 0;
    edges[edgeCount++] = buffer->height;
    for (int i = 0; i < count; ++i) {
        edges[edgeCount++] = covers[i].top;
        edges[edgeCount++] = covers[i].bottom;
    }
    std::sort(edges, edges + edgeCount);
    edgeCount = static_cast<int>(std::unique(edges, edges + edgeCount) - edges);
    std::pair<int, int> spans[TILE_COUNT];
    for (int e = 0; e + 1 < edgeCount; ++e) {
        const int top = edges[e], bottom = edges[e + 1];
        int spanCount = 0;
        for (int i = 0; i < count; ++i)
            if (covers[i].top <= top && covers[i].bottom >= bottom) spans[spanCount++] = {covers[i].left, covers[i].right};
        std::sort(spans, spans + spanCount);
        for (int y = top; y < bottom; ++y) {
            int x = 0;
            for (int i = 0; i < spanCount; ++i) {
                if (spans[i].first > x) paintSpan(buffer, picture, colour, y, x, spans[i].first);
                if (spans[i].second > x) x = spans[i].second;
            }
            if (x < buffer->width) paintSpan(buffer, picture, colour, y, x, buffer->width);
        }
    }
}

}  // namespace

uint32_t mixColors(uint32_t a, uint32_t b, int weightA, int weightB) {
    const int total = weightA + weightB;
    if (total == 0) return 0;
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channelA = static_cast<int>((a >> shift) & 0xFF);
        const int channelB = static_cast<int>((b >> shift) & 0xFF);
        const int mixed = (channelA * weightA + channelB * weightB) / total;
        result |= (static_cast<uint32_t>(mixed) & 0xFF) << shift;
    }
    return result;
}

void darkenPixel(Surface* surface, int x, int y) { darkenRect(surface, x, y, x + 1, y + 1); }

void darkenRect(Surface* surface, int left, int top, int right, int bottom) {
    subtractFromRect(surface, left, top, right, bottom, static_cast<unsigned>(Settings.ShadowsValue));
}

void drawTile2D(int tile, Surface* buffer, const Surface* tileSet, int16_t weightBackground, int16_t weightTile,
                bool opaque) {
    if (tile < 0 || tile >= TILE_COUNT) return;
    const TileRecord& record = tileTable[tile];
    if (record.face == 0) return;
    const int x = record.screenX, y = record.screenY;
    const int W = faceWidth, H = faceHeight, d = layerShift;

    if (Settings.Shadows) drawTileShadow(tile, buffer);

    if (chronoPaused) {
        copyRect(buffer, x, y, tileSet, HIDDEN_FACE_COLUMN * W, HIDDEN_FACE_ROW * H, W, H);
    } else if (opaque) {
        copyRect(buffer, x, y, tileSet, record.faceCellX, record.faceCellY, W, H);
        const int count = highlightCount(tile);
        for (int n = 0; n < count; ++n) {
            if (Settings.SelectMode == SELECT_INVERT)
                copyRectInverted(buffer, x, y, tileSet, record.faceCellX, record.faceCellY, W, H);
            else
                darkenRect(buffer, x, y, x + W, y + H);
        }
    } else {
        blendFace(buffer, x, y, tileSet, record.faceCellX, record.faceCellY, W, H,
                  Mixer(weightBackground, weightTile));
    }
    drawSides(buffer, x, y, W, H, d, opaque, Mixer(opaque ? 0 : weightBackground, opaque ? 0 : weightTile));
}

void placeTiles2D() {
    const int halfWidth = faceWidth / 2, halfHeight = faceHeight / 2;
    for (int t = 0; t < TILE_COUNT; ++t) {
        TileRecord& record = tileTable[t];
        int column = HIDDEN_FACE_COLUMN, row = HIDDEN_FACE_ROW;  // a removed tile keeps a harmless cell
        if (record.face >= 1 && record.face <= FACE_COUNT) {
            column = faceColumnTable[record.face - 1];
            row = faceRowTable[record.face - 1];
        }
        record.faceCellX = static_cast<int16_t>(column * faceWidth);
        record.faceCellY = static_cast<int16_t>(row * faceHeight);
        record.screenX = static_cast<int16_t>(halfWidth * record.column + layerShift * record.layer);
        record.screenY = static_cast<int16_t>(halfHeight * record.row - layerShift * record.layer);
    }
    int16_t minX = tileTable[0].screenX, maxX = minX;
    int16_t minY = tileTable[0].screenY, maxY = minY;
    for (int t = 1; t < TILE_COUNT; ++t) {
        const TileRecord& record = tileTable[t];
        if (record.screenX < minX) minX = record.screenX;
        if (record.screenX > maxX) maxX = record.screenX;
        if (record.screenY < minY) minY = record.screenY;
        if (record.screenY > maxY) maxY = record.screenY;
    }
    const int16_t originX = static_cast<int16_t>((boardAreaWidth() - (faceWidth + maxX - minX)) / 2);
    const int16_t originY = static_cast<int16_t>((boardAreaHeight() - (faceHeight + maxY - minY)) / 2);
    for (int t = 0; t < TILE_COUNT; ++t) {
        tileTable[t].screenX = static_cast<int16_t>(tileTable[t].screenX + originX - minX);
        tileTable[t].screenY = static_cast<int16_t>(tileTable[t].screenY + originY - minY);
    }
    int minColumn = tileTable[0].column, maxColumn = minColumn;
    int minRow = 18 - tileTable[0].row, maxRow = minRow;
    for (int t = 1; t < TILE_COUNT; ++t) {
        const int column = tileTable[t].column, row = 18 - tileTable[t].row;
        if (column < minColumn) minColumn = column;
        if (column > maxColumn) maxColumn = column;
        if (row < minRow) minRow = row;
        if (row > maxRow) maxRow = row;
    }
    boardCentre3D[0] = static_cast<float>((minColumn + maxColumn) / 4) + 0.5f;
    boardCentre3D[1] = static_cast<float>((minRow + maxRow) / 4) + 1.0f;
}

void layoutBoard2D(WindowHandle) {
    std::lock_guard<std::mutex> guard(viewLock);
    placeTiles2D();
}

void drawBoard2D(WindowHandle window, int fadeA, int fadeB, int16_t weightBackground, int16_t weightTile) {
    {
        std::lock_guard<std::mutex> guard(viewLock);
        std::lock_guard<std::recursive_mutex> shown(platformSurfaceLock());
        Surface* buffer = &boardBuffer;
        if (!surfaceIsEmpty(buffer)) {
            const bool picture = Settings.Background[0] != 0 && !surfaceIsEmpty(&scaledBackground);
            paintBackground(buffer, picture ? &scaledBackground : nullptr, Settings.BackgroundColor & COLOUR_MASK,
                            fadeA, fadeB);
            for (int t = 0; t < TILE_COUNT; ++t)
                drawTile2D(t, buffer, &scaledTileSet, weightBackground, weightTile, t != fadeA && t != fadeB);
            host.presentFrame(window, buffer, 0, toolbarHeight);
        }
    }
    host.updateStatusBar(window);
}

void paintBoard2D(WindowHandle window) {
    const uint32_t start = platformTickCount();
    drawBoard2D(window, NO_TILE, NO_TILE, 0, 0);
    fadeFrames = fadeFrameCount(Settings.RemoveTileTime, platformTickCount() - start);
}

void fadeOutPair(WindowHandle window, int a, int b) { fadePair(window, a, b, fadeFrames, drawBoard2D, nullptr); }

int tileAtPoint(int x, int y) {
    const int boardY = y - toolbarHeight;
    for (int t = TILE_COUNT - 1; t >= 0; --t) {
        const TileRecord& record = tileTable[t];
        if (record.face == 0) continue;
        if (record.screenX <= x && x < record.screenX + faceWidth && record.screenY <= boardY &&
            boardY < record.screenY + faceHeight)
            return t;
    }
    return NO_TILE;
}

void makeBoardBuffer(WindowHandle window) {
    std::lock_guard<std::mutex> guard(viewLock);
    measureBoardArea(window);
    const int width = boardAreaWidth(), height = boardAreaHeight();
    if (!surfaceIsEmpty(&boardBuffer) && boardBuffer.width == width && boardBuffer.height == height) return;
    // The window shows the board buffer itself: until the next frame is drawn
    // the new buffer shows the last one, as far as it fits.
    std::lock_guard<std::recursive_mutex> shown(platformSurfaceLock());
    Surface previous = boardBuffer;
    boardBuffer = Surface{};
    createSurface(&boardBuffer, width, height);
    copyRect(&boardBuffer, 0, 0, &previous, 0, 0, previous.width, previous.height);
    releaseSurface(&previous);
}

void releaseBoardPictures() {
    std::lock_guard<std::mutex> guard(viewLock);
    forgetReleasedPictures();
    releaseSurface(&loadedTileSet);
    releaseSurface(&scaledTileSet);
    releaseSurface(&loadedBackground);
    releaseSurface(&scaledBackground);
    std::lock_guard<std::recursive_mutex> shown(platformSurfaceLock());
    releaseSurface(&boardBuffer);  // the window shows black from now on
}
