// Shared set-up of the 2D view tests: settings, an empty board, a synthetic
// tile set, and a writer of small BMP files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

constexpr int TOOLBAR = 30;
constexpr int STATUS_BAR = 20;

// Settings at their defaults as the view reads them, no picture names, the
// board empty (every tile removed, grids cleared), no selection or hint, the
// window side reset.
void resetViewState();

// Puts tile `index` with `face` on the board with its origin at (layer, row, column).
void placeTile(int index, int layer, int row, int column, int face);

// The colour of every pixel of cell (column, row) in the synthetic tile sets.
uint32_t cellColour(int column, int row);
// A 9 x 5 tile set of faceW x faceH cells, each filled with cellColour.
void makeTileSet(Surface* surface, int faceW, int faceH);
// Makes faces of exactly faceW x faceH (StretchTiles off) from a synthetic
// picture, the board area width x height, the board buffer, and lays out.
void setUpView(int faceW, int faceH, int borderSize, int shadowSize, int areaWidth, int areaHeight);

uint32_t rgb(int red, int green, int blue);

// A BMP file. For 1, 4 and 8 bits `pixels` holds colour indices and `palette`
// the colours (0x00BBGGRR); otherwise `pixels` holds the colours.
struct BmpSpec {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    bool topDown = false;
    std::vector<uint32_t> pixels;   // width x height, top row first
    std::vector<uint32_t> palette;
    uint32_t coloursUsed = 0;       // written as is (0 = all)
    uint32_t compression = 0;
    std::vector<uint32_t> masks;    // written after the 40-byte header when given
};
std::vector<uint8_t> writeBmp(const BmpSpec& spec);
void put32(std::vector<uint8_t>& data, size_t offset, uint32_t value);
void put16(std::vector<uint8_t>& data, size_t offset, uint16_t value);

// A fresh empty directory under the system's temporary directory.
std::string makeTempDirectory(const char* tag);
// Removes a directory made by makeTempDirectory with everything in it.
void removeTempDirectory(const std::string& path);
bool writeFile(const std::string& path, const std::vector<uint8_t>& data);
