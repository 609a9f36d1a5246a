// The settings record, read from and written to "MAH-JONG.INI".
#pragma once
#include <cstdint>
#include "platform/window.h"

constexpr int FILE_NAME_SIZE = 4096;
constexpr const char* SETTINGS_FILE_NAME = "MAH-JONG.INI";
constexpr const char* PROGRAM_TITLE = "Velmora's mah-jong v2.0";

typedef uint32_t Colour;  // red in bits 0-7, green 8-15, blue 16-23

struct SettingsRecord {
    Colour BackgroundColor;
    Colour SidesColor;
    uint8_t EasyMode;
    int32_t AutoPlaySleep;
    int32_t RemoveTileTime;
    uint8_t ShowChrono;
    uint8_t Shadows;
    uint8_t StretchTiles;
    uint8_t SelectMode;  // 1 DARKER, 0 INVERT
    uint8_t lay;         // the key ".lay"
    char Language[FILE_NAME_SIZE];
    char Layout[FILE_NAME_SIZE];
    char TileSet[FILE_NAME_SIZE];
    char Background[FILE_NAME_SIZE];
    uint8_t SoundEffects;
    char Sound1[FILE_NAME_SIZE];
    char Sound2[FILE_NAME_SIZE];
    char Sound3[FILE_NAME_SIZE];
    char Music[FILE_NAME_SIZE];
    int32_t WindowXPos;
    int32_t WindowYPos;
    int32_t WindowXSize;
    int32_t WindowYSize;
    uint8_t ShadowsValue;
    uint8_t NewCursors;
    int16_t BorderSize;
    int16_t ShadowSize;
    uint8_t CoolMenu;
    // 3D block (read and written by mahjong only).
    uint8_t Textures;
    Colour SelectColor;
    Colour RGBValColor[4];
    Colour RGBLevelColor[5];
    float XPosition, YPosition, ZPosition;
    float XView, YView, ZView;
    float lightPosX, lightPosY, lightPosZ;
    float MinZoom, MaxZoom;
    float Inclination;
    float dessinZ, contourZ, ombreZ;
    float MinInclination, MaxInclination;
    float StepInclination, StepRotation;
};

constexpr uint8_t SELECT_DARKER = 1;
constexpr uint8_t SELECT_INVERT = 0;

extern SettingsRecord Settings;
extern bool view3D;             // the 3D view is shown (mahjong only; never stored)
extern int16_t menuListLimit;   // file entries per menu level

// The key Layout is the engine's layoutName: the current layout file name (upper
// case), or RANDOM_LAYOUT_NAME for a layout drawn at random.
constexpr const char* RANDOM_LAYOUT_NAME = "RANDOM.MYL";
extern char (&layoutName)[FILE_NAME_SIZE];  // the same buffer as Settings.Layout

// True while mahjong shows its 3D view: view3D, never set in mahjong-2d.
bool view3DShown();

// BorderSize and ShadowSize as divisors: never below 1.
int borderDivisor();
int shadowDivisor();

bool loadSettings();
void saveSettings(WindowHandle window);
bool fileExistsIn(const char* directory, const char* name);
void pickFile(const char* pattern, const char* directory, char* output, const char* preferred);

// Upper-cases a zero-terminated text in place (ASCII letters).
void upperCase(char* text);
// Copies at most size - 1 characters and always terminates.
void copyText(char* destination, const char* source, int size);
