#include "view2d/tileset.h"

#include "engine/host.h"
#include "platform/files.h"
#include "settings/directories.h"
#include "settings/settings.h"
#include "view2d/bitmap.h"
#include "view2d/view_lock.h"

//                                        1  2  3  4  5  6  7  8  9
const uint8_t faceColumnTable[FACE_COUNT] = {0, 1, 2, 3, 4, 5, 6, 7, 8,   // faces 1-9
                                             0, 1, 2, 3, 4, 5, 6, 7, 8,   // faces 10-18
                                             0, 1, 2, 3, 4, 5, 6, 7, 8,   // faces 19-27
                                             0, 1, 2, 3,                  // faces 28-31
                                             0, 1, 2, 3,                  // faces 32-35
                                             4, 5, 6, 7,                  // faces 36-39
                                             4, 5, 6};                    // faces 40-42
const uint8_t faceRowTable[FACE_COUNT] = {0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          1, 1, 1, 1, 1, 1, 1, 1, 1,
                                          2, 2, 2, 2, 2, 2, 2, 2, 2,
                                          3, 3, 3, 3,
                                          4, 4, 4, 4,
                                          3, 3, 3, 3,
                                          4, 4, 4};

std::mutex viewLock;

int toolbarHeight = 0;
int statusBarHeight = 0;

Surface loadedTileSet;
Surface scaledTileSet;
Surface loadedBackground;
Surface scaledBackground;
Surface boardBuffer;

int16_t faceWidth;
int16_t faceHeight;
int16_t layerShift;
int16_t footprintWidth;
int16_t footprintHeight;
int16_t shadowExtent;

static int areaWidth;
static int areaHeight;
// The serial of the picture each scaled copy was last made from: a copy of
// the right size made from the same picture is not made again.
static uint32_t scaledTileSetSource;
static uint32_t scaledBackgroundSource;
// Loaded pictures let go by releaseLoadedPictures: their files are read again
// when a new size needs them. The tile set's size is kept for the face size.
static bool tileSetReleased;
static bool backgroundReleased;
static int releasedTileSetWidth;
static int releasedTileSetHeight;

// Reads a released picture again from its file (it stays empty if that fails).
static void reloadPicture(const char* directory, const char* name, Surface* slot) {
    char path[FILE_NAME_SIZE];
    if (platformResolvePath(directory, name, path, sizeof path)) loadBitmapFile(nullptr, path, slot);
    else releaseSurface(slot);
}

void measureBoardArea(WindowHandle window) {
    int width = 0, height = 0;
    host.clientSize(window, &width, &height);
    height -= toolbarHeight + statusBarHeight;
    areaWidth = width > 0 ? width : 0;
    areaHeight = height > 0 ? height : 0;
}

int boardAreaWidth() { return areaWidth; }
int boardAreaHeight() { return areaHeight; }

void loadTileSet(WindowHandle window) {
    if (platformSetCurrentDirectory(tileSetDirectory)) {
        {
            std::lock_guard<std::mutex> guard(viewLock);
            tileSetReleased = false;
            loadBitmapFile(window, Settings.TileSet, &loadedTileSet);
        }
        fitFaceSize(window);
    }
    returnToStartDirectory();
}

void loadBackground(WindowHandle window) {
    if (Settings.Background[0] != 0 && platformSetCurrentDirectory(backgroundDirectory)) {
        {
            std::lock_guard<std::mutex> guard(viewLock);
            // The scaled background may be the loaded picture itself.
            if (scaledBackground.borrowed) releaseSurface(&scaledBackground);
            backgroundReleased = false;
            loadBitmapFile(window, Settings.Background, &loadedBackground);
        }
        scaleBackground(window);
    }
    returnToStartDirectory();
}

// Rounds a picture size up to the next multiple of `step` (a multiple stays).
static int roundUp(int value, int step) { return (value + step - 1) / step * step; }

void fitFaceSize(WindowHandle window) {
    std::lock_guard<std::mutex> guard(viewLock);
    measureBoardArea(window);
    const int pictureWidth = tileSetReleased ? releasedTileSetWidth : loadedTileSet.width;
    const int pictureHeight = tileSetReleased ? releasedTileSetHeight : loadedTileSet.height;
    int width = pictureWidth / TILESET_COLUMNS;
    int height = pictureHeight / TILESET_ROWS;
    int scaledWidth, scaledHeight;
    if (Settings.StretchTiles) {
        const int border = borderDivisor();
        const int W = areaWidth, H = areaHeight;
        const int w = (W - 5 * (W / (17 * border))) / 17;
        const int h = (H - 5 * (H / (10 * border))) / 10;
        // A picture too small to hold a cell in either direction gives no faces
        // (not faces of the picture's width and no height, wider than the board).
        if (width <= 0 || height <= 0) {
            width = 0;
            height = 0;
        } else {
            const float ratio = static_cast<float>(width) / static_cast<float>(height);
            // With no height left at all, the width test below leaves no face.
            if (h > 0 && static_cast<float>(w / h) >= ratio) {
                width = static_cast<int>(h * ratio);
                height = h;
            } else {
                width = w;
                height = static_cast<int>(w / ratio);
            }
            if (w < width) {
                width = w;
                height = static_cast<int>(w / ratio);
            }
            if (h < height) {
                height = h;
                width = static_cast<int>(h * ratio);
            }
        }
        if (width % 2 != 0) width -= 1;
        if (height % 2 != 0) height -= 1;
        scaledWidth = TILESET_COLUMNS * width;
        scaledHeight = TILESET_ROWS * height;
    } else {
        scaledWidth = roundUp(pictureWidth, 2 * TILESET_COLUMNS);
        scaledHeight = roundUp(pictureHeight, 2 * TILESET_ROWS);
        width = scaledWidth / TILESET_COLUMNS;
        height = scaledHeight / TILESET_ROWS;
    }
    faceWidth = static_cast<int16_t>(width);
    faceHeight = static_cast<int16_t>(height);
    const bool sized = !surfaceIsEmpty(&scaledTileSet) && scaledTileSet.width == scaledWidth &&
                       scaledTileSet.height == scaledHeight;
    if (!sized || (!tileSetReleased && (scaledTileSetSource != loadedTileSet.serial || surfaceIsEmpty(&loadedTileSet)))) {
        if (tileSetReleased) {
            reloadPicture(tileSetDirectory, Settings.TileSet, &loadedTileSet);
            tileSetReleased = surfaceIsEmpty(&loadedTileSet);
        }
        // A file gone since it was read: the faces are scaled from their scaled copy rather than lost.
        stretchSurface(&scaledTileSet, tileSetReleased ? &scaledTileSet : &loadedTileSet, scaledWidth, scaledHeight);
        if (!tileSetReleased) scaledTileSetSource = loadedTileSet.serial;
    }
    layerShift = static_cast<int16_t>(faceWidth / borderDivisor());
    footprintWidth = static_cast<int16_t>(faceWidth + layerShift);
    footprintHeight = static_cast<int16_t>(faceHeight + layerShift);
    shadowExtent = static_cast<int16_t>(faceHeight / shadowDivisor());
    placeTiles2D();
}

void scaleBackground(WindowHandle window) {
    std::lock_guard<std::mutex> guard(viewLock);
    measureBoardArea(window);
    if (backgroundReleased) {
        if (!surfaceIsEmpty(&scaledBackground) && scaledBackground.width == areaWidth &&
            scaledBackground.height == areaHeight)
            return;
        reloadPicture(backgroundDirectory, Settings.Background, &loadedBackground);
        if (surfaceIsEmpty(&loadedBackground)) {  // gone from its file: the scaled copy is stretched instead
            stretchSurface(&scaledBackground, &scaledBackground, areaWidth, areaHeight);
            return;
        }
        backgroundReleased = false;
    }
    const Surface& loaded = loadedBackground;
    if (!surfaceIsEmpty(&loaded) && loaded.width == areaWidth && loaded.height == areaHeight) {
        // The picture has the board area's size: it is shown as it is, without a copy.
        if (!scaledBackground.borrowed || scaledBackground.pixels != loaded.pixels)
            shareSurface(&scaledBackground, &loaded);
        return;
    }
    if (!surfaceIsEmpty(&scaledBackground) && !scaledBackground.borrowed && !surfaceIsEmpty(&loaded) &&
        scaledBackground.width == areaWidth && scaledBackground.height == areaHeight &&
        scaledBackgroundSource == loaded.serial)
        return;
    // An empty picture, or an empty board area, leaves the scaled background empty.
    stretchSurface(&scaledBackground, &loaded, areaWidth, areaHeight);
    scaledBackgroundSource = loaded.serial;
}

void releaseLoadedPictures() {
    std::lock_guard<std::mutex> guard(viewLock);
    // The 3D view makes its textures from the loaded tile set.
    if (!host.has3DView && !tileSetReleased && !surfaceIsEmpty(&loadedTileSet) && !surfaceIsEmpty(&scaledTileSet) &&
        scaledTileSetSource == loadedTileSet.serial) {
        releasedTileSetWidth = loadedTileSet.width;
        releasedTileSetHeight = loadedTileSet.height;
        releaseSurface(&loadedTileSet);
        tileSetReleased = true;
    }
    // A background of the board's size is shown as it is: there is only one copy.
    if (!backgroundReleased && !surfaceIsEmpty(&loadedBackground) && !surfaceIsEmpty(&scaledBackground) &&
        !scaledBackground.borrowed && scaledBackgroundSource == loadedBackground.serial) {
        releaseSurface(&loadedBackground);
        backgroundReleased = true;
    }
}

void forgetReleasedPictures() {
    tileSetReleased = false;
    backgroundReleased = false;
}
