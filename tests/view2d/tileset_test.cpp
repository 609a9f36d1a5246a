// Face geometry from the tile-set picture and the board area, the face-to-cell
// tables, and loading the two pictures from their directories.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "platform/files.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "tests/support/null_host.h"
#include "tests/view2d/view_support.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"

namespace {

void setArea(int width, int height) {
    fake::clientWidth = width;
    fake::clientHeight = height + TOOLBAR + STATUS_BAR;
}

void loadPicture(int width, int height) {
    releaseSurface(&loadedTileSet);
    ASSERT_TRUE(createSurface(&loadedTileSet, width, height));
}

}  // namespace

TEST(FaceTables, EveryFaceHasItsCell) {
    // Suits in rows 0-2, the first bonus set and the winds at the left of rows 3
    // and 4, the second bonus set and the dragons beside them.
    EXPECT_EQ(faceColumnTable[0], 0);
    EXPECT_EQ(faceRowTable[0], 0);
    EXPECT_EQ(faceColumnTable[17], 8);
    EXPECT_EQ(faceRowTable[17], 1);
    EXPECT_EQ(faceColumnTable[26], 8);
    EXPECT_EQ(faceRowTable[26], 2);
    EXPECT_EQ(faceColumnTable[27], 0);  // face 28
    EXPECT_EQ(faceRowTable[27], 3);
    EXPECT_EQ(faceColumnTable[34], 3);  // face 35
    EXPECT_EQ(faceRowTable[34], 4);
    EXPECT_EQ(faceColumnTable[35], 4);  // face 36
    EXPECT_EQ(faceRowTable[35], 3);
    EXPECT_EQ(faceColumnTable[41], 6);  // face 42
    EXPECT_EQ(faceRowTable[41], 4);
    // No two faces share a cell, and none uses the hidden face or the unused cells.
    bool used[5][9] = {};
    for (int f = 0; f < FACE_COUNT; ++f) {
        const int column = faceColumnTable[f], row = faceRowTable[f];
        ASSERT_LT(column, 9);
        ASSERT_LT(row, 5);
        EXPECT_FALSE(used[row][column]) << "face " << f + 1;
        used[row][column] = true;
    }
    EXPECT_FALSE(used[HIDDEN_FACE_ROW][HIDDEN_FACE_COLUMN]);
    EXPECT_FALSE(used[3][8]);
    EXPECT_FALSE(used[4][8]);
}

TEST(FitFaceSize, StretchedToTheBoardArea) {
    resetViewState();
    loadPicture(900, 600);
    setArea(800, 560);
    fitFaceSize(nullptr);
    EXPECT_EQ(faceWidth, 42);
    EXPECT_EQ(faceHeight, 52);
    EXPECT_EQ(layerShift, 5);
    EXPECT_EQ(shadowExtent, 13);
    EXPECT_EQ(footprintWidth, 47);
    EXPECT_EQ(footprintHeight, 57);
    EXPECT_EQ(scaledTileSet.width, 9 * 42);
    EXPECT_EQ(scaledTileSet.height, 5 * 52);
    EXPECT_EQ(boardAreaWidth(), 800);
    EXPECT_EQ(boardAreaHeight(), 560);
}

TEST(FitFaceSize, WidthLimitedAndOddSizesMadeEven) {
    resetViewState();
    loadPicture(900, 600);
    // A tall, narrow area: w = (400 - 5 * 2) / 17 = 22, h = (900 - 5 * 11) / 10 = 84;
    // 22 / 84 = 0 < 0.8333: faces 22 x 26 (26.4 truncated), both even already.
    setArea(400, 900);
    fitFaceSize(nullptr);
    EXPECT_EQ(faceWidth, 22);
    EXPECT_EQ(faceHeight, 26);
    // A wide area: w = (2000 - 5 * 14) / 17 = 113, h = (300 - 5 * 3) / 10 = 28;
    // 113 / 28 = 4 >= 0.8333: 28 x 0.8333 = 23.3 -> 23, made even: 22 x 28.
    setArea(2000, 300);
    fitFaceSize(nullptr);
    EXPECT_EQ(faceWidth, 22);
    EXPECT_EQ(faceHeight, 28);
    EXPECT_EQ(layerShift, 2);
    EXPECT_EQ(shadowExtent, 7);
}

TEST(FitFaceSize, TheSmallestWindowStillShowsUsableFaces) {
    resetViewState();
    loadPicture(9 * 120, 5 * 156);  // the delivered tile sets' cells
    setArea(MIN_BOARD_AREA_WIDTH, MIN_BOARD_AREA_HEIGHT);
    fitFaceSize(nullptr);
    EXPECT_GE(faceWidth, 28);
    EXPECT_GE(faceHeight, 38);
}

TEST(FitFaceSize, UnstretchedKeepsThePictureCells) {
    resetViewState();
    Settings.StretchTiles = 0;
    loadPicture(900, 600);
    for (int area : {300, 800, 1600}) {
        setArea(area, area);
        fitFaceSize(nullptr);
        EXPECT_EQ(faceWidth, 100);
        EXPECT_EQ(faceHeight, 120);
        EXPECT_EQ(scaledTileSet.width, 900);
        EXPECT_EQ(scaledTileSet.height, 600);
    }
    loadPicture(901, 601);
    fitFaceSize(nullptr);
    EXPECT_EQ(scaledTileSet.width, 918);
    EXPECT_EQ(scaledTileSet.height, 610);
    EXPECT_EQ(faceWidth, 102);
    EXPECT_EQ(faceHeight, 122);
    EXPECT_EQ(layerShift, 12);
    EXPECT_EQ(shadowExtent, 30);
}

TEST(FitFaceSize, ZeroDivisorsAndDegenerateSizesAreHarmless) {
    resetViewState();
    loadPicture(900, 600);
    setArea(800, 560);
    Settings.BorderSize = 0;
    Settings.ShadowSize = -3;
    fitFaceSize(nullptr);
    EXPECT_GT(faceWidth, 0);
    EXPECT_EQ(layerShift, faceWidth / borderDivisor());
    EXPECT_EQ(shadowExtent, faceHeight / shadowDivisor());
    Settings.BorderSize = 8;
    Settings.ShadowSize = 4;
    // No room at all: no faces, nothing scaled.
    setArea(0, 0);
    fitFaceSize(nullptr);
    EXPECT_EQ(faceWidth, 0);
    EXPECT_EQ(faceHeight, 0);
    EXPECT_TRUE(surfaceIsEmpty(&scaledTileSet));
    // No picture loaded: the faces follow from its (zero) size.
    releaseSurface(&loadedTileSet);
    setArea(800, 560);
    fitFaceSize(nullptr);
    EXPECT_EQ(faceWidth, 0);
    EXPECT_EQ(faceHeight, 0);
    // A picture too small to hold a cell, in one direction or both.
    for (int size : {8 * 65536 + 3, 768 * 65536 + 1, 8 * 65536 + 900}) {
        loadPicture(size / 65536, size % 65536);
        fitFaceSize(nullptr);
        EXPECT_EQ(faceWidth, 0) << size / 65536 << " x " << size % 65536;
        EXPECT_EQ(faceHeight, 0) << size / 65536 << " x " << size % 65536;
    }
}

TEST(FitFaceSize, ScaledCellsKeepTheirColours) {
    resetViewState();
    makeTileSet(&loadedTileSet, 100, 120);
    setArea(800, 560);
    fitFaceSize(nullptr);
    ASSERT_EQ(faceWidth, 42);
    ASSERT_EQ(faceHeight, 52);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 9; ++column)
            for (int y : {0, 25, 51})
                for (int x : {0, 20, 41})
                    ASSERT_EQ(getPixel(&scaledTileSet, column * 42 + x, row * 52 + y), cellColour(column, row))
                        << column << "," << row;
}

TEST(FitFaceSize, NothingIsMadeAgainForAnUnchangedSize) {
    resetViewState();
    makeTileSet(&loadedTileSet, 100, 120);
    setArea(800, 560);
    fitFaceSize(nullptr);
    makeBoardBuffer(nullptr);
    const uint32_t faces = scaledTileSet.serial, buffer = boardBuffer.serial;
    fitFaceSize(nullptr);  // as at every resize to the same size
    makeBoardBuffer(nullptr);
    EXPECT_EQ(scaledTileSet.serial, faces);
    EXPECT_EQ(boardBuffer.serial, buffer);
    // Another picture of the same size is scaled again.
    makeTileSet(&loadedTileSet, 100, 120);
    setPixel(&loadedTileSet, 0, 0, rgb(1, 2, 3));
    fitFaceSize(nullptr);
    EXPECT_NE(scaledTileSet.serial, faces);
    // A larger board: a new buffer, which shows the last frame until the next is drawn.
    setPixel(&boardBuffer, 799, 559, rgb(9, 8, 7));
    setArea(900, 600);
    makeBoardBuffer(nullptr);
    EXPECT_EQ(boardBuffer.width, 900);
    EXPECT_EQ(getPixel(&boardBuffer, 799, 559), rgb(9, 8, 7));
    EXPECT_EQ(getPixel(&boardBuffer, 899, 599), 0u);
}

TEST(Pictures, LoadedFromTheirDirectoriesAndScaled) {
    resetViewState();
    char previous[FILE_NAME_SIZE];
    ASSERT_TRUE(platformGetCurrentDirectory(previous, sizeof previous));
    const std::string root = makeTempDirectory("pictures");
    ASSERT_FALSE(root.empty());
    std::strcpy(startDirectory, root.c_str());
    std::snprintf(tileSetDirectory, FILE_NAME_SIZE, "%s/TILESETS/", root.c_str());
    std::snprintf(backgroundDirectory, FILE_NAME_SIZE, "%s/BACKGRND/", root.c_str());
    ASSERT_TRUE(platformSetCurrentDirectory(root.c_str()));

    // The tile set directory is missing: nothing is loaded.
    std::strcpy(Settings.TileSet, "STANDARD.BMP");
    setArea(800, 560);
    loadTileSet(nullptr);
    EXPECT_TRUE(surfaceIsEmpty(&loadedTileSet));

    ASSERT_EQ(mkdir((root + "/TILESETS").c_str(), 0700), 0);
    ASSERT_EQ(mkdir((root + "/BACKGRND").c_str(), 0700), 0);
    BmpSpec tiles;
    tiles.width = 180;
    tiles.height = 120;
    tiles.pixels.assign(180 * 120, rgb(1, 2, 3));
    ASSERT_TRUE(writeFile(root + "/TILESETS/standard.bmp", writeBmp(tiles)));
    Settings.StretchTiles = 0;
    loadTileSet(nullptr);
    EXPECT_EQ(loadedTileSet.width, 180);
    EXPECT_EQ(faceWidth, 20);
    EXPECT_EQ(faceHeight, 24);
    char current[FILE_NAME_SIZE];
    ASSERT_TRUE(platformGetCurrentDirectory(current, sizeof current));
    EXPECT_EQ(std::string(current), root);

    // A background of exactly the board area is shown unchanged; after a
    // resize it is stretched to the new area.
    BmpSpec back;
    back.width = 800;
    back.height = 560;
    for (int y = 0; y < 560; ++y)
        for (int x = 0; x < 800; ++x) back.pixels.push_back(rgb(x % 256, y % 256, (x + y) % 256));
    ASSERT_TRUE(writeFile(root + "/BACKGRND/SUNSET.BMP", writeBmp(back)));
    std::strcpy(Settings.Background, "SUNSET.BMP");
    loadBackground(nullptr);
    ASSERT_EQ(scaledBackground.width, 800);
    ASSERT_EQ(scaledBackground.height, 560);
    EXPECT_EQ(std::memcmp(scaledBackground.pixels, loadedBackground.pixels, 800 * 560 * 4), 0);
    EXPECT_EQ(scaledBackground.pixels, loadedBackground.pixels);  // one picture, not two
    setArea(1000, 700);
    scaleBackground(nullptr);
    EXPECT_EQ(scaledBackground.width, 1000);
    EXPECT_NE(scaledBackground.pixels, loadedBackground.pixels);
    EXPECT_EQ(scaledBackground.height, 700);
    ASSERT_TRUE(platformGetCurrentDirectory(current, sizeof current));
    EXPECT_EQ(std::string(current), root);

    // Once the size rests the loaded pictures are let go; the same size needs
    // nothing from them, a new one reads them again and scales them as before.
    const uint32_t faces = scaledTileSet.serial, backdrop = scaledBackground.serial;
    releaseLoadedPictures();
    EXPECT_TRUE(surfaceIsEmpty(&loadedTileSet));
    EXPECT_TRUE(surfaceIsEmpty(&loadedBackground));
    fitFaceSize(nullptr);
    scaleBackground(nullptr);
    EXPECT_EQ(faceWidth, 20);
    EXPECT_EQ(scaledTileSet.serial, faces);
    EXPECT_EQ(scaledBackground.serial, backdrop);
    Settings.StretchTiles = 1;
    setArea(900, 630);
    fitFaceSize(nullptr);
    scaleBackground(nullptr);
    ASSERT_EQ(loadedTileSet.width, 180);
    ASSERT_EQ(loadedBackground.width, 800);
    for (auto pair : {std::make_pair(&scaledTileSet, &loadedTileSet), std::make_pair(&scaledBackground, &loadedBackground)}) {
        Surface expected{};
        ASSERT_TRUE(stretchSurface(&expected, pair.second, pair.first->width, pair.first->height));
        EXPECT_EQ(std::memcmp(expected.pixels, pair.first->pixels, size_t(expected.width) * expected.height * 4), 0);
        releaseSurface(&expected);
    }
    EXPECT_GT(faceWidth, 20);
    // Files gone meanwhile: the next size is scaled from the scaled copies, nothing is lost.
    releaseLoadedPictures();
    ASSERT_EQ(std::rename((root + "/TILESETS/standard.bmp").c_str(), (root + "/TILESETS/gone.bmp").c_str()), 0);
    ASSERT_EQ(std::rename((root + "/BACKGRND/SUNSET.BMP").c_str(), (root + "/BACKGRND/GONE.BMP").c_str()), 0);
    setArea(960, 672);
    fitFaceSize(nullptr);
    scaleBackground(nullptr);
    EXPECT_EQ(scaledTileSet.width, TILESET_COLUMNS * faceWidth);
    EXPECT_EQ(getPixel(&scaledTileSet, 5, 5), rgb(1, 2, 3));
    EXPECT_EQ(scaledBackground.width, 960);
    ASSERT_EQ(std::rename((root + "/TILESETS/gone.bmp").c_str(), (root + "/TILESETS/standard.bmp").c_str()), 0);
    ASSERT_EQ(std::rename((root + "/BACKGRND/GONE.BMP").c_str(), (root + "/BACKGRND/SUNSET.BMP").c_str()), 0);
    setArea(1000, 700);
    scaleBackground(nullptr);
    EXPECT_EQ(loadedBackground.width, 800);  // read again once it is back
    Settings.StretchTiles = 0;

    // "none": nothing is loaded, the old picture stays.
    Settings.Background[0] = 0;
    loadBackground(nullptr);
    EXPECT_EQ(loadedBackground.width, 800);
    // A picture that fails to load leaves both images empty.
    std::strcpy(Settings.Background, "GONE.BMP");
    loadBackground(nullptr);
    EXPECT_TRUE(surfaceIsEmpty(&loadedBackground));
    EXPECT_TRUE(surfaceIsEmpty(&scaledBackground));
    platformSetCurrentDirectory(previous);
    removeTempDirectory(root);
}
