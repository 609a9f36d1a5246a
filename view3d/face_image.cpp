// The texture image of one face, cut from the tile-set picture.
#include "view3d/face_image.h"

#include <cstring>

#include "view2d/tileset.h"
#include "view3d/model3d.h"

bool faceTextureImage(const Surface* tileSet, int face, uint8_t* image) {
    std::memset(image, 0, FACE_TEXTURE_BYTES);
    if (!tileSet || surfaceIsEmpty(tileSet)) return false;
    const int cellWidth = tileSet->width / TILESET_COLUMNS, cellHeight = tileSet->height / TILESET_ROWS;
    if (cellWidth < 1 || cellHeight < 1) return false;
    int row, column;
    textureCell(face, &row, &column);
    Surface cell = {0, 0, nullptr}, stretched = {0, 0, nullptr};
    bool made = createSurface(&cell, cellWidth, cellHeight);
    if (made) {
        copyRect(&cell, 0, 0, tileSet, column * cellWidth, row * cellHeight, cellWidth, cellHeight);
        made = stretchSurface(&stretched, &cell, 64, 64);
    }
    if (made) {
        // The first row of the image is the picture's bottom row.
        for (int y = 0; y < 64; ++y) {
            uint8_t* target = image + (size_t)y * 64 * 3;
            for (int x = 0; x < 64; ++x) {
                const uint32_t pixel = getPixel(&stretched, x, 63 - y);
                target[3 * x] = (uint8_t)(pixel & 0xFF);
                target[3 * x + 1] = (uint8_t)((pixel >> 8) & 0xFF);
                target[3 * x + 2] = (uint8_t)((pixel >> 16) & 0xFF);
            }
        }
    }
    releaseSurface(&cell);
    releaseSurface(&stretched);
    return made;
}
