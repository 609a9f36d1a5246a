#include "tests/view2d/view_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "engine/board.h"
#include "platform/files.h"
#include "settings/settings.h"
#include "tests/support/null_host.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"

uint32_t rgb(int red, int green, int blue) {
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

void resetViewState() {
    fake::reset();
    Settings.BackgroundColor = rgb(0, 160, 0);
    Settings.SidesColor = rgb(184, 120, 24);
    Settings.RemoveTileTime = 500;
    Settings.Shadows = 0;
    Settings.StretchTiles = 1;
    Settings.SelectMode = SELECT_DARKER;
    Settings.ShadowsValue = 64;
    Settings.BorderSize = 8;
    Settings.ShadowSize = 4;
    Settings.TileSet[0] = 0;
    Settings.Background[0] = 0;
    toolbarHeight = TOOLBAR;
    statusBarHeight = STATUS_BAR;
    std::memset(layoutGrid, 0, sizeof layoutGrid);
    std::memset(tileGrid, NO_TILE, sizeof tileGrid);
    std::memset(shadowFlags, 0, sizeof shadowFlags);
    for (int t = 0; t < TILE_COUNT; ++t) {
        tileTable[t] = TileRecord{};
    }
    selectedTile = NO_TILE;
    secondTile = NO_TILE;
    hintShown = false;
    hintIndex = 0;
    pairCount = 0;
    pairList[0][0] = NO_TILE;
    pairList[0][1] = NO_TILE;
    chronoPaused = false;
    releaseBoardPictures();  // the pictures, and any left to be read again from their files
    fadeFrames = 0;
}

void placeTile(int index, int layer, int row, int column, int face) {
    TileRecord& record = tileTable[index];
    record.layer = static_cast<uint8_t>(layer);
    record.row = static_cast<uint8_t>(row);
    record.column = static_cast<uint8_t>(column);
    record.face = static_cast<uint8_t>(face);
    layoutCell(layer, row, column) = 1;
    setTileCells(layer, row, column, static_cast<uint8_t>(index));
}

uint32_t cellColour(int column, int row) { return rgb(20 + 20 * column, 40 + 30 * row, 200 - 10 * column); }

void makeTileSet(Surface* surface, int faceW, int faceH) {
    createSurface(surface, 9 * faceW, 5 * faceH);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 9; ++column)
            fillRect(surface, column * faceW, row * faceH, (column + 1) * faceW, (row + 1) * faceH,
                     cellColour(column, row));
}

void setUpView(int faceW, int faceH, int borderSize, int shadowSize, int areaWidth, int areaHeight) {
    Settings.StretchTiles = 0;
    Settings.BorderSize = static_cast<int16_t>(borderSize);
    Settings.ShadowSize = static_cast<int16_t>(shadowSize);
    fake::clientWidth = areaWidth;
    fake::clientHeight = areaHeight + TOOLBAR + STATUS_BAR;
    makeTileSet(&loadedTileSet, faceW, faceH);
    fitFaceSize(nullptr);
    makeBoardBuffer(nullptr);
}

void put32(std::vector<uint8_t>& data, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) data[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}
void put16(std::vector<uint8_t>& data, size_t offset, uint16_t value) {
    data[offset] = static_cast<uint8_t>(value);
    data[offset + 1] = static_cast<uint8_t>(value >> 8);
}

std::vector<uint8_t> writeBmp(const BmpSpec& spec) {
    const int bpp = spec.bitsPerPixel;
    const size_t paletteBytes = bpp <= 8 ? spec.palette.size() * 4 : 0;
    const size_t maskBytes = spec.masks.size() * 4;
    const size_t offset = 14 + 40 + maskBytes + paletteBytes;
    const size_t stride = (static_cast<size_t>(spec.width) * bpp + 31) / 32 * 4;
    const size_t imageSize = stride * spec.height;
    std::vector<uint8_t> data(offset + imageSize, 0);
    data[0] = 'B';
    data[1] = 'M';
    put32(data, 2, static_cast<uint32_t>(data.size()));
    put32(data, 10, static_cast<uint32_t>(offset));
    put32(data, 14, 40);
    put32(data, 18, static_cast<uint32_t>(spec.width));
    put32(data, 22, static_cast<uint32_t>(spec.topDown ? -spec.height : spec.height));
    put16(data, 26, 1);
    put16(data, 28, static_cast<uint16_t>(bpp));
    put32(data, 30, spec.compression);
    put32(data, 34, static_cast<uint32_t>(imageSize));
    put32(data, 46, spec.coloursUsed);
    size_t at = 54;
    for (uint32_t mask : spec.masks) {
        put32(data, at, mask);
        at += 4;
    }
    if (bpp <= 8)
        for (uint32_t colour : spec.palette) {  // blue, green, red, 0
            data[at] = static_cast<uint8_t>(colour >> 16);
            data[at + 1] = static_cast<uint8_t>(colour >> 8);
            data[at + 2] = static_cast<uint8_t>(colour);
            at += 4;
        }
    for (int y = 0; y < spec.height; ++y) {
        const int fileRow = spec.topDown ? y : spec.height - 1 - y;
        uint8_t* row = data.data() + offset + stride * fileRow;
        for (int x = 0; x < spec.width; ++x) {
            const uint32_t v = spec.pixels[static_cast<size_t>(y) * spec.width + x];
            switch (bpp) {
                case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = static_cast<uint8_t>(v); break;
                case 16:
                    row[2 * x] = static_cast<uint8_t>(v);
                    row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                    break;
                case 24:
                    row[3 * x] = static_cast<uint8_t>(v >> 16);
                    row[3 * x + 1] = static_cast<uint8_t>(v >> 8);
                    row[3 * x + 2] = static_cast<uint8_t>(v);
                    break;
                case 32:
                    if (spec.compression == 0) {
                        row[4 * x] = static_cast<uint8_t>(v >> 16);
                        row[4 * x + 1] = static_cast<uint8_t>(v >> 8);
                        row[4 * x + 2] = static_cast<uint8_t>(v);
                        row[4 * x + 3] = 0xA5;  // unused byte: must be ignored
                    } else {
                        for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<uint8_t>(v >> (8 * i));
                    }
                    break;
            }
        }
    }
    return data;
}

std::string makeTempDirectory(const char* tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/mjview-" + tag + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    if (mkdtemp(buffer.data()) == nullptr) return std::string();
    return std::string(buffer.data());
}

void removeTempDirectory(const std::string& path) {
    if (path.find("/mjview-") == std::string::npos) return;  // only what makeTempDirectory made
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& data) {
    FILE* file = platformOpenFile(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && ok;
}
