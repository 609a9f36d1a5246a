// Helpers of the solver tests: the delivered layouts read with the game's own reader.
#pragma once
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/board.h"
#include "engine/layout.h"
#include "settings/directories.h"
#include "settings/settings.h"
#include "tests/support/null_host.h"

inline std::string layoutFolder() { return std::string(MJ_SOURCE_DIR) + "/data/LAYOUTS"; }

// The file names of the delivered layouts, sorted.
inline std::vector<std::string> deliveredLayouts() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(layoutFolder()))
        if (entry.path().extension() == ".MYL") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Reads a delivered layout into tileGrid and tileTable (faces still to be dealt); false when refused.
inline bool loadDeliveredLayout(const std::string& name) {
    fake::reset();
    Settings.lay = 0;
    copyText(startDirectory, MJ_SOURCE_DIR, FILE_NAME_SIZE);
    copyText(layoutDirectory, layoutFolder().c_str(), FILE_NAME_SIZE);
    scoreDirectory[0] = 0;
    copyText(layoutName, name.c_str(), FILE_NAME_SIZE);
    loadLayout(nullptr);
    int origins = 0;
    for (uint8_t cell : layoutGrid) origins += cell;
    return origins == TILE_COUNT && fake::messages.empty();
}
