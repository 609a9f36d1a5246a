// The board file of the end-to-end tests. Its lines:
//   menuHeight N (the client area's top in the window) / toolbarHeight N / faceWidth N / faceHeight N / tilesLeft N / selectedTile N
//   status <the status bar text>
//   tile <index> <face> <state> <screenX> <screenY>   (144 lines, index order)
//   dealOrder <144 tile indices>
// It is written under a temporary name and renamed, so a reader never sees
// half a file.
#include "shell/board_dump.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/board.h"
#include "engine/board_lock.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "shell/statusbar.h"
#include "view2d/tileset.h"

namespace {

constexpr size_t DUMP_SIZE = 16384;
constexpr size_t PATH_SIZE = 4096;

char lastDump[DUMP_SIZE];
int menuHeight = 0;  // measured on the window's thread only
char dump[DUMP_SIZE];

// The file asked for, or null; read once.
const char* boardFileName() {
    static bool read = false;
    static const char* name = nullptr;
    if (!read) {
        read = true;
        const char* value = std::getenv("MAHJONG_BOARD_FILE");
        if (value && value[0] != 0 && std::strlen(value) + 5 < PATH_SIZE) name = value;
    }
    return name;
}

// Appends a formatted piece; false once the buffer is full.
bool add(size_t* used, const char* format, int a, int b = 0, int c = 0, int d = 0, int e = 0) {
    if (*used >= DUMP_SIZE) return false;
    const int n = std::snprintf(dump + *used, DUMP_SIZE - *used, format, a, b, c, d, e);
    if (n < 0 || (size_t)n >= DUMP_SIZE - *used) return false;
    *used += (size_t)n;
    return true;
}

bool composeDump() {
    size_t used = 0;
    if (onWindowThread()) menuHeight = platformMetric(METRIC_MENU_HEIGHT);
    bool fits = add(&used, "menuHeight %d\n", menuHeight);
    fits = fits && add(&used, "toolbarHeight %d\nfaceWidth %d\nfaceHeight %d\ntilesLeft %d\nselectedTile %d\n",
                    toolbarHeight, faceWidth, faceHeight, tilesLeft, selectedTile);
    const int n = std::snprintf(dump + used, DUMP_SIZE - used, "status %s\n", statusText);
    if (n < 0 || (size_t)n >= DUMP_SIZE - used) return false;
    used += (size_t)n;
    for (int t = 0; t < TILE_COUNT && fits; ++t) {
        const TileRecord& record = tileTable[t];
        fits = add(&used, "tile %d %d %d %d %d\n", t, record.face, record.state, record.screenX, record.screenY);
    }
    fits = fits && add(&used, "dealOrder", 0);
    for (int i = 0; i < TILE_COUNT && fits; ++i) fits = add(&used, " %d", dealOrder[i]);
    return fits && add(&used, "\n", 0);
}

}  // namespace

void dumpBoardIfAsked() {
    const char* name = boardFileName();
    if (!name) return;
    if (!composeDump()) return;
    if (std::strcmp(dump, lastDump) == 0) return;
    char temporary[PATH_SIZE];
    std::snprintf(temporary, sizeof temporary, "%s.tmp", name);
    FILE* file = platformOpenFile(temporary, "wb");
    if (!file) return;
    const size_t length = std::strlen(dump);
    const bool written = std::fwrite(dump, 1, length, file) == length;
    if (std::fclose(file) != 0 || !written) return;
    if (std::rename(temporary, name) == 0) std::memcpy(lastDump, dump, length + 1);
}
