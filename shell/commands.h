// Command identifiers of the menu bar, the toolbar and the keys.
#pragma once
#include <cstdint>

// Fixed menu items.
constexpr uint32_t CMD_NEW_GAME = 40000;
constexpr uint32_t CMD_RESTART_GAME = 40001;
constexpr uint32_t CMD_EASYMODE = 40002;
constexpr uint32_t CMD_AUTOPLAY = 40003;
constexpr uint32_t CMD_PAUSE_CHRONO = 40004;
constexpr uint32_t CMD_HINT = 40005;
constexpr uint32_t CMD_UNDO = 40006;
constexpr uint32_t CMD_SAVE_GAME = 40007;
constexpr uint32_t CMD_LOAD_GAME = 40008;
constexpr uint32_t CMD_EXIT = 40010;
constexpr uint32_t CMD_SHADOWS = 40012;
constexpr uint32_t CMD_SHOW_CHRONO = 40013;
constexpr uint32_t CMD_CHANGE_COLORS = 40014;
constexpr uint32_t CMD_CONFIG = 40016;
constexpr uint32_t CMD_HALL_OF_FAME = 40017;
constexpr uint32_t CMD_LOAD_LAYOUT = 40018;
constexpr uint32_t CMD_SAVE_LAYOUT = 40019;
constexpr uint32_t CMD_RANDOM_LAYOUT = 40020;
constexpr uint32_t CMD_HELP_FILE = 40021;
constexpr uint32_t CMD_HELP_ABOUT = 40022;
constexpr uint32_t CMD_USE_SOUNDS = 40023;
constexpr uint32_t CMD_CHANGE_CURSOR = 40026;
constexpr uint32_t CMD_USE_TEXTURES = 40027;  // mahjong only
constexpr uint32_t CMD_GO3D = 40028;          // mahjong only (GO2D / GO3D)

// File lists: each owns the thousand identifiers from its base. Lists with a
// NONE item have it at the base and their first file at base + 1.
constexpr uint32_t FILE_LIST_RANGE = 1000;
constexpr uint32_t LANGUAGE_LIST_FIRST = 20000;
constexpr uint32_t TILESET_LIST_FIRST = 21000;
constexpr uint32_t LAYOUT_LIST_FIRST = 22000;
constexpr uint32_t SOUND1_NONE = 23000;
constexpr uint32_t SOUND1_LIST_FIRST = 23001;
constexpr uint32_t SOUND2_NONE = 24000;
constexpr uint32_t SOUND2_LIST_FIRST = 24001;
constexpr uint32_t SOUND3_NONE = 25000;
constexpr uint32_t SOUND3_LIST_FIRST = 25001;
constexpr uint32_t MUSIC_NONE = 26000;
constexpr uint32_t MUSIC_LIST_FIRST = 26001;
constexpr uint32_t BACKGROUND_NONE = 27000;
constexpr uint32_t BACKGROUND_LIST_FIRST = 27001;
