// The settings record and "MAH-JONG.INI": defaults, the line reader, the
// resolution of data-file names against the files on disk, and the writer.
#include "settings/settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/host.h"
#include "platform/files.h"
#include "platform/system.h"
#include "settings/directories.h"
#include "settings/language.h"
#include "settings/messages.h"

SettingsRecord Settings;
bool view3D = false;
int16_t menuListLimit = 10;
char (&layoutName)[FILE_NAME_SIZE] = Settings.Layout;

namespace {

// A line of the settings file holds at most 254 characters; the rest of a
// longer line is read as a further line.
constexpr int SETTINGS_LINE_SIZE = 255;
// Each colour number is read into a buffer of 10 bytes (9 characters).
constexpr int COLOUR_WORD_SIZE = 10;

const char* const NO_LANGUAGE_TEXT =
    "No language file found ! The game will stop. Please reinstall Velmora's mah-jong";

enum KeyKind { FlagKey, Int16Key, Int32Key, ColourKey, FloatKey, SelectModeKey, NameKey, OptionalNameKey };

struct SettingKey {
    const char* key;
    KeyKind kind;
    void* field;
    bool only3D;
};

const SettingKey settingKeys[] = {
    {"BackgroundColor", ColourKey, &Settings.BackgroundColor, false},
    {"SidesColor", ColourKey, &Settings.SidesColor, false},
    {"EasyMode", FlagKey, &Settings.EasyMode, false},
    {"AutoPlaySleep", Int32Key, &Settings.AutoPlaySleep, false},
    {"RemoveTileTime", Int32Key, &Settings.RemoveTileTime, false},
    {"ShowChrono", FlagKey, &Settings.ShowChrono, false},
    {"Shadows", FlagKey, &Settings.Shadows, false},
    {"StretchTiles", FlagKey, &Settings.StretchTiles, false},
    {"SelectMode", SelectModeKey, &Settings.SelectMode, false},
    {".lay", FlagKey, &Settings.lay, false},
    {"Language", NameKey, Settings.Language, false},
    {"Layout", NameKey, Settings.Layout, false},
    {"TileSet", NameKey, Settings.TileSet, false},
    {"Background", OptionalNameKey, Settings.Background, false},
    {"SoundEffects", FlagKey, &Settings.SoundEffects, false},
    {"Sound1", OptionalNameKey, Settings.Sound1, false},
    {"Sound2", OptionalNameKey, Settings.Sound2, false},
    {"Sound3", OptionalNameKey, Settings.Sound3, false},
    {"Music", OptionalNameKey, Settings.Music, false},
    {"WindowXPos", Int32Key, &Settings.WindowXPos, false},
    {"WindowYPos", Int32Key, &Settings.WindowYPos, false},
    {"WindowXSize", Int32Key, &Settings.WindowXSize, false},
    {"WindowYSize", Int32Key, &Settings.WindowYSize, false},
    {"ShadowsValue", FlagKey, &Settings.ShadowsValue, false},
    {"NewCursors", FlagKey, &Settings.NewCursors, false},
    {"BorderSize", Int16Key, &Settings.BorderSize, false},
    {"ShadowSize", Int16Key, &Settings.ShadowSize, false},
    {"CoolMenu", FlagKey, &Settings.CoolMenu, false},
    {"Textures", FlagKey, &Settings.Textures, true},
    {"SelectColor", ColourKey, &Settings.SelectColor, true},
    {"RGBVal[0]Color", ColourKey, &Settings.RGBValColor[0], true},
    {"RGBVal[1]Color", ColourKey, &Settings.RGBValColor[1], true},
    {"RGBVal[2]Color", ColourKey, &Settings.RGBValColor[2], true},
    {"RGBVal[3]Color", ColourKey, &Settings.RGBValColor[3], true},
    {"RGBLevel[0]Color", ColourKey, &Settings.RGBLevelColor[0], true},
    {"RGBLevel[1]Color", ColourKey, &Settings.RGBLevelColor[1], true},
    {"RGBLevel[2]Color", ColourKey, &Settings.RGBLevelColor[2], true},
    {"RGBLevel[3]Color", ColourKey, &Settings.RGBLevelColor[3], true},
    {"RGBLevel[4]Color", ColourKey, &Settings.RGBLevelColor[4], true},
    {"XPosition", FloatKey, &Settings.XPosition, true},
    {"YPosition", FloatKey, &Settings.YPosition, true},
    {"ZPosition", FloatKey, &Settings.ZPosition, true},
    {"XView", FloatKey, &Settings.XView, true},
    {"YView", FloatKey, &Settings.YView, true},
    {"ZView", FloatKey, &Settings.ZView, true},
    {"lightPosX", FloatKey, &Settings.lightPosX, true},
    {"lightPosY", FloatKey, &Settings.lightPosY, true},
    {"lightPosZ", FloatKey, &Settings.lightPosZ, true},
    {"MinZoom", FloatKey, &Settings.MinZoom, true},
    {"MaxZoom", FloatKey, &Settings.MaxZoom, true},
    {"Inclination", FloatKey, &Settings.Inclination, true},
    {"dessinZ", FloatKey, &Settings.dessinZ, true},
    {"contourZ", FloatKey, &Settings.contourZ, true},
    {"ombreZ", FloatKey, &Settings.ombreZ, true},
    {"MinInclination", FloatKey, &Settings.MinInclination, true},
    {"MaxInclination", FloatKey, &Settings.MaxInclination, true},
    {"StepInclination", FloatKey, &Settings.StepInclination, true},
    {"StepRotation", FloatKey, &Settings.StepRotation, true},
};

Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads the next blank-delimited word at *text into word (cut to size - 1
// characters; the rest of the word is passed over). False when none is left.
bool nextWord(const char** text, char* word, int size) {
    const char* p = *text;
    while (*p && isBlank(*p)) ++p;
    if (!*p) return false;
    int length = 0;
    while (*p && !isBlank(*p)) {
        if (length < size - 1) word[length++] = *p;
        ++p;
    }
    word[length] = 0;
    *text = p;
    return true;
}

// A decimal integer at the start of word, as "%d" reads it (sign, digits,
// anything after them ignored); kept to its low 32 bits.
bool parseInteger(const char* word, int32_t* value) {
    const char* p = word;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (*p < '0' || *p > '9') return false;
    uint32_t result = 0;
    while (*p >= '0' && *p <= '9') result = result * 10u + static_cast<uint32_t>(*p++ - '0');
    if (negative) result = 0u - result;
    *value = static_cast<int32_t>(result);
    return true;
}

// The text between the first and the second double quote of the line.
bool quotedName(const char* line, char* name) {
    const char* open = strchr(line, '"');
    if (!open) return false;
    const char* close = strchr(open + 1, '"');
    if (!close) return false;
    int length = static_cast<int>(close - open - 1);
    if (length > FILE_NAME_SIZE - 1) length = FILE_NAME_SIZE - 1;
    memcpy(name, open + 1, length);
    name[length] = 0;
    upperCase(name);
    return true;
}

void applyKey(const SettingKey& key, const char* line, const char* rest) {
    char second[SETTINGS_LINE_SIZE];
    char third[SETTINGS_LINE_SIZE];
    switch (key.kind) {
        case FlagKey:
        case Int16Key:
        case Int32Key: {
            int32_t value;
            if (!nextWord(&rest, second, sizeof second) || !nextWord(&rest, third, sizeof third)) return;
            if (!parseInteger(third, &value)) return;
            if (key.kind == FlagKey) *static_cast<uint8_t*>(key.field) = static_cast<uint8_t>(value);
            if (key.kind == Int16Key) *static_cast<int16_t*>(key.field) = static_cast<int16_t>(value);
            if (key.kind == Int32Key) *static_cast<int32_t*>(key.field) = value;
            return;
        }
        case ColourKey: {
            char numbers[3][COLOUR_WORD_SIZE];
            if (!nextWord(&rest, second, sizeof second)) return;
            for (auto& number : numbers) {
                if (!nextWord(&rest, number, COLOUR_WORD_SIZE)) return;
            }
            *static_cast<Colour*>(key.field) = rgb(atoi(numbers[0]), atoi(numbers[1]), atoi(numbers[2]));
            return;
        }
        case FloatKey: {
            if (!nextWord(&rest, second, sizeof second) || !nextWord(&rest, third, sizeof third)) return;
            char* end = nullptr;
            float value = strtof(third, &end);
            // Infinite or undefined camera values would leave the 3D view unusable.
            if (end == third || !std::isfinite(value)) return;
            *static_cast<float*>(key.field) = value;
            return;
        }
        case SelectModeKey: {
            if (!nextWord(&rest, second, sizeof second) || !nextWord(&rest, third, sizeof third)) return;
            if (strcmp(third, "DARKER") == 0) Settings.SelectMode = SELECT_DARKER;
            if (strcmp(third, "INVERT") == 0) Settings.SelectMode = SELECT_INVERT;
            return;
        }
        case OptionalNameKey: {
            const char* words = rest;
            if (nextWord(&words, second, sizeof second) && nextWord(&words, third, sizeof third) &&
                strcmp(third, "none") == 0) {
                static_cast<char*>(key.field)[0] = 0;
                return;
            }
            quotedName(line, static_cast<char*>(key.field));
            return;
        }
        case NameKey:
            // A line without both quotes is skipped; the name keeps its value.
            quotedName(line, static_cast<char*>(key.field));
            return;
    }
}

void readSettingsLine(const char* line) {
    if (line[0] == ';' || strlen(line) < 3) return;
    char key[SETTINGS_LINE_SIZE];
    const char* rest = line;
    if (!nextWord(&rest, key, sizeof key)) return;
    for (const SettingKey& entry : settingKeys) {
        if (entry.only3D && !host.has3DView) continue;
        if (strcmp(entry.key, key) == 0) applyKey(entry, line, rest);
    }
}

void setDefaults() {
    Settings.BackgroundColor = rgb(0, 160, 0);
    Settings.SidesColor = rgb(184, 120, 24);
    Settings.EasyMode = 1;
    Settings.AutoPlaySleep = 500;
    Settings.RemoveTileTime = 500;
    Settings.ShowChrono = 1;
    Settings.Shadows = 0;
    Settings.StretchTiles = 1;
    Settings.SelectMode = SELECT_DARKER;
    Settings.lay = 0;
    copyText(Settings.Layout, "DEFAULT.MYL", FILE_NAME_SIZE);
    copyText(Settings.TileSet, "STANDARD.BMP", FILE_NAME_SIZE);
    copyText(Settings.Background, "SUNSET.BMP", FILE_NAME_SIZE);
    Settings.SoundEffects = 1;
    copyText(Settings.Sound1, "SELECT.WAV", FILE_NAME_SIZE);
    copyText(Settings.Sound2, "REMOVE.WAV", FILE_NAME_SIZE);
    copyText(Settings.Sound3, "BESIDE.WAV", FILE_NAME_SIZE);
    copyText(Settings.Music, "MOZK478.MID", FILE_NAME_SIZE);
    Settings.WindowXPos = 0;
    Settings.WindowYPos = 0;
    Settings.WindowXSize = host.metric(METRIC_MAXIMIZED_WIDTH) - 2 * host.metric(METRIC_FRAME_WIDTH);
    Settings.WindowYSize = host.metric(METRIC_MAXIMIZED_HEIGHT) - 2 * host.metric(METRIC_FRAME_HEIGHT);
    Settings.ShadowsValue = 64;
    Settings.NewCursors = 0;
    Settings.BorderSize = 8;
    Settings.ShadowSize = 4;
    Settings.CoolMenu = 0;
    Settings.Textures = 1;
    Settings.SelectColor = rgb(255, 255, 0);
    Settings.RGBValColor[0] = rgb(0, 137, 219);
    Settings.RGBValColor[1] = rgb(0, 164, 102);
    Settings.RGBValColor[2] = rgb(150, 52, 22);
    Settings.RGBValColor[3] = rgb(255, 52, 38);
    Settings.RGBLevelColor[0] = rgb(255, 255, 255);
    Settings.RGBLevelColor[1] = rgb(192, 192, 192);
    Settings.RGBLevelColor[2] = rgb(255, 255, 255);
    Settings.RGBLevelColor[3] = rgb(192, 192, 192);
    Settings.RGBLevelColor[4] = rgb(255, 255, 255);
    Settings.XPosition = 0.0f;
    Settings.YPosition = 0.0f;
    Settings.ZPosition = 0.0f;
    Settings.XView = 0.0f;
    Settings.YView = 0.0f;
    Settings.ZView = 325.0f;
    Settings.lightPosX = 0.0f;
    Settings.lightPosY = 0.0f;
    Settings.lightPosZ = 325.0f;
    Settings.MinZoom = 0.0f;
    Settings.MaxZoom = 1000.0f;
    Settings.Inclination = 0.0f;
    Settings.dessinZ = 10.1f;
    Settings.contourZ = 0.1f;
    Settings.ombreZ = 0.2f;
    Settings.MinInclination = -20.0f;
    Settings.MaxInclination = 20.0f;
    Settings.StepInclination = 1.0f;
    Settings.StepRotation = 5.0f;

    // File entries per menu level, from the default height; a level always
    // holds at least one entry so that the menu builder can make progress.
    int menuHeight = host.metric(METRIC_MENU_HEIGHT);
    int limit = menuHeight < 1 ? 10 : Settings.WindowYSize / menuHeight - 4;
    if (limit < 1) limit = 1;
    if (limit > 32767) limit = 32767;
    menuListLimit = static_cast<int16_t>(limit);
    view3D = host.has3DView;
}

// A name with a path separator or a ".." would reach outside its data
// directory; it counts as the name of a missing file.
bool isBareName(const char* name) { return !strchr(name, '/') && !strchr(name, '\\') && !strstr(name, ".."); }

// A missing data file is replaced by the preferred one or the first one found.
void resolveName(char* name, const char* directory, const char* pattern, const char* preferred) {
    if (!isBareName(name) || !fileExistsIn(directory, name)) pickFile(pattern, directory, name, preferred);
}

struct PickState {
    const char* preferred;
    bool preferredFound;
    bool firstFound;
    char first[FILE_NAME_SIZE];
};

void pickFound(const char* name, void* context) {
    PickState* state = static_cast<PickState*>(context);
    char upper[FILE_NAME_SIZE];
    copyText(upper, name, FILE_NAME_SIZE);
    upperCase(upper);
    if (!state->firstFound) {
        copyText(state->first, upper, FILE_NAME_SIZE);
        state->firstFound = true;
    }
    if (strcmp(upper, state->preferred) == 0) state->preferredFound = true;
}

void writeColour(PlatformText* out, const char* format, Colour colour) {
    platformPrintText(out, format, 13, static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                      static_cast<int>((colour >> 16) & 0xFF));
}

void writeOptionalName(PlatformText* out, const char* nameFormat, const char* noneFormat, const char* name) {
    if (name[0]) {
        platformPrintText(out, nameFormat, 13, name);
    } else {
        platformPrintText(out, noneFormat, 13);
    }
}

void writeSettings(PlatformText* out, WindowHandle window) {
    platformPrintText(out, "; %s INI File, do not edit%c\n", PROGRAM_TITLE, 13);
    writeColour(out, "%c\nBackgroundColor = %d %d %d", Settings.BackgroundColor);
    writeColour(out, "%c\nSidesColor      = %d %d %d", Settings.SidesColor);
    platformPrintText(out, "%c\nEasyMode        = %d", 13, Settings.EasyMode);
    platformPrintText(out, "%c\nAutoPlaySleep   = %d", 13, static_cast<int>(Settings.AutoPlaySleep));
    platformPrintText(out, "%c\nRemoveTileTime  = %d", 13, static_cast<int>(Settings.RemoveTileTime));
    platformPrintText(out, "%c\nShowChrono      = %d", 13, Settings.ShowChrono);
    platformPrintText(out, "%c\nShadows         = %d", 13, Settings.Shadows);
    platformPrintText(out, "%c\nStretchTiles    = %d", 13, Settings.StretchTiles);
    if (Settings.SelectMode == SELECT_DARKER) platformPrintText(out, "%c\nSelectMode      = DARKER", 13);
    if (Settings.SelectMode == SELECT_INVERT) platformPrintText(out, "%c\nSelectMode      = INVERT", 13);
    platformPrintText(out, "%c\nLanguage        = \"%s\"", 13, Settings.Language);
    platformPrintText(out, "%c\nLayout          = \"%s\"", 13, Settings.Layout);
    platformPrintText(out, "%c\nTileSet         = \"%s\"", 13, Settings.TileSet);
    writeOptionalName(out, "%c\nBackground      = \"%s\"", "%c\nBackground      = none", Settings.Background);
    platformPrintText(out, "%c\nSoundEffects    = %d", 13, Settings.SoundEffects);
    writeOptionalName(out, "%c\nSound1          = \"%s\"", "%c\nSound1          = none", Settings.Sound1);
    writeOptionalName(out, "%c\nSound2          = \"%s\"", "%c\nSound2          = none", Settings.Sound2);
    writeOptionalName(out, "%c\nSound3          = \"%s\"", "%c\nSound3          = none", Settings.Sound3);
    writeOptionalName(out, "%c\nMusic           = \"%s\"", "%c\nMusic           = none", Settings.Music);

    int left = 0, top = 0, right = 0, bottom = 0;
    host.windowRect(window, &left, &top, &right, &bottom);
    Settings.WindowXPos = left;
    Settings.WindowYPos = top;
    Settings.WindowXSize = right - left;
    Settings.WindowYSize = bottom - top;
    int maximizedWidth = host.metric(METRIC_MAXIMIZED_WIDTH);
    int maximizedHeight = host.metric(METRIC_MAXIMIZED_HEIGHT);
    if (Settings.WindowXPos >= 0 && Settings.WindowXPos <= maximizedWidth && Settings.WindowYPos >= 0 &&
        Settings.WindowYPos <= maximizedHeight && Settings.WindowXSize <= maximizedWidth &&
        Settings.WindowYSize <= maximizedHeight) {
        platformPrintText(out, "%c\nWindowXPos      = %d", 13, static_cast<int>(Settings.WindowXPos));
        platformPrintText(out, "%c\nWindowYPos      = %d", 13, static_cast<int>(Settings.WindowYPos));
        platformPrintText(out, "%c\nWindowXSize     = %d", 13, static_cast<int>(Settings.WindowXSize));
        platformPrintText(out, "%c\nWindowYSize     = %d", 13, static_cast<int>(Settings.WindowYSize));
    }
    platformPrintText(out, "%c\nShadowsValue    = %d", 13, Settings.ShadowsValue);
    platformPrintText(out, "%c\nNewCursors      = %d", 13, Settings.NewCursors);
    platformPrintText(out, "%c\nBorderSize      = %d", 13, Settings.BorderSize);
    platformPrintText(out, "%c\nShadowSize      = %d", 13, Settings.ShadowSize);
    platformPrintText(out, "%c\nCoolMenu        = %d", 13, Settings.CoolMenu);
    if (Settings.lay == 1) platformPrintText(out, "%c\n.lay            = %d", 13, Settings.lay);
    if (!host.has3DView) return;  // the 3D block: mahjong only
    platformPrintText(out, "%c\n%c\n; 3D values", 13, 13);
    platformPrintText(out, "%c\nTextures         = %d", 13, Settings.Textures);
    writeColour(out, "%c\nSelectColor      = %d %d %d", Settings.SelectColor);
    writeColour(out, "%c\nRGBVal[0]Color   = %d %d %d", Settings.RGBValColor[0]);
    writeColour(out, "%c\nRGBVal[1]Color   = %d %d %d", Settings.RGBValColor[1]);
    writeColour(out, "%c\nRGBVal[2]Color   = %d %d %d", Settings.RGBValColor[2]);
    writeColour(out, "%c\nRGBVal[3]Color   = %d %d %d", Settings.RGBValColor[3]);
    writeColour(out, "%c\nRGBLevel[0]Color = %d %d %d", Settings.RGBLevelColor[0]);
    writeColour(out, "%c\nRGBLevel[1]Color = %d %d %d", Settings.RGBLevelColor[1]);
    writeColour(out, "%c\nRGBLevel[2]Color = %d %d %d", Settings.RGBLevelColor[2]);
    writeColour(out, "%c\nRGBLevel[3]Color = %d %d %d", Settings.RGBLevelColor[3]);
    writeColour(out, "%c\nRGBLevel[4]Color = %d %d %d", Settings.RGBLevelColor[4]);
    platformPrintText(out, "%c\nXPosition        = %f", 13, static_cast<double>(Settings.XPosition));
    platformPrintText(out, "%c\nYPosition        = %f", 13, static_cast<double>(Settings.YPosition));
    platformPrintText(out, "%c\nZPosition        = %f", 13, static_cast<double>(Settings.ZPosition));
    platformPrintText(out, "%c\nXView            = %f", 13, static_cast<double>(Settings.XView));
    platformPrintText(out, "%c\nYView            = %f", 13, static_cast<double>(Settings.YView));
    platformPrintText(out, "%c\nZView            = %f", 13, static_cast<double>(Settings.ZView));
    platformPrintText(out, "%c\nlightPosX        = %f", 13, static_cast<double>(Settings.lightPosX));
    platformPrintText(out, "%c\nlightPosY        = %f", 13, static_cast<double>(Settings.lightPosY));
    platformPrintText(out, "%c\nlightPosZ        = %f", 13, static_cast<double>(Settings.lightPosZ));
    platformPrintText(out, "%c\nMinZoom          = %f", 13, static_cast<double>(Settings.MinZoom));
    platformPrintText(out, "%c\nMaxZoom          = %f", 13, static_cast<double>(Settings.MaxZoom));
    platformPrintText(out, "%c\nInclination      = %f", 13, static_cast<double>(Settings.Inclination));
    platformPrintText(out, "%c\ndessinZ          = %f", 13, static_cast<double>(Settings.dessinZ));
    platformPrintText(out, "%c\ncontourZ         = %f", 13, static_cast<double>(Settings.contourZ));
    platformPrintText(out, "%c\nombreZ           = %f", 13, static_cast<double>(Settings.ombreZ));
    platformPrintText(out, "%c\nMinInclination   = %f", 13, static_cast<double>(Settings.MinInclination));
    platformPrintText(out, "%c\nMaxInclination   = %f", 13, static_cast<double>(Settings.MaxInclination));
    platformPrintText(out, "%c\nStepInclination  = %f", 13, static_cast<double>(Settings.StepInclination));
    platformPrintText(out, "%c\nStepRotation     = %f", 13, static_cast<double>(Settings.StepRotation));
}

}  // namespace

bool view3DShown() { return host.has3DView && view3D; }

int borderDivisor() { return Settings.BorderSize < 1 ? 1 : Settings.BorderSize; }
int shadowDivisor() { return Settings.ShadowSize < 1 ? 1 : Settings.ShadowSize; }

void upperCase(char* text) {
    for (; *text; ++text) {
        if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
    }
}

void copyText(char* destination, const char* source, int size) {
    if (size <= 0) return;
    int length = 0;
    while (length < size - 1 && source[length]) ++length;
    memmove(destination, source, length);
    destination[length] = 0;
}

bool fileExistsIn(const char* directory, const char* name) {
    bool exists = false;
    if (platformSetCurrentDirectory(directory)) {
        FILE* file = platformOpenFile(name, "rb");
        if (file) {
            exists = true;
            fclose(file);
        }
    }
    returnToStartDirectory();
    return exists;
}

void pickFile(const char* pattern, const char* directory, char* output, const char* preferred) {
    PickState state;
    state.preferred = preferred;
    state.preferredFound = false;
    state.firstFound = false;
    state.first[0] = 0;
    if (platformSetCurrentDirectory(directory)) platformFindFiles(pattern, pickFound, &state);
    if (state.preferredFound) {
        copyText(output, preferred, FILE_NAME_SIZE);
    } else {
        copyText(output, state.first, FILE_NAME_SIZE);
    }
    returnToStartDirectory();
}

bool loadSettings() {
    returnToStartDirectory();
    setDefaults();

    void* numbers = platformUseClassicNumbers();
    FILE* file = platformOpenFile(SETTINGS_FILE_NAME, "rb");
    if (file) {
        char line[SETTINGS_LINE_SIZE];
        while (fgets(line, sizeof line, file)) readSettingsLine(line);
        fclose(file);
        resolveName(Settings.Language, languageDirectory, "*.TXT", "ENGLISH.TXT");
    } else {
        copyText(Settings.Layout, "DEFAULT.MYL", FILE_NAME_SIZE);
        copyText(Settings.TileSet, "STANDARD.BMP", FILE_NAME_SIZE);
        copyText(Settings.Background, "SUNSET.BMP", FILE_NAME_SIZE);
        copyText(Settings.Sound1, "SELECT.WAV", FILE_NAME_SIZE);
        copyText(Settings.Sound2, "REMOVE.WAV", FILE_NAME_SIZE);
        copyText(Settings.Sound3, "BESIDE.WAV", FILE_NAME_SIZE);
        copyText(Settings.Music, "MOZK478.MID", FILE_NAME_SIZE);
    }
    platformRestoreNumbers(numbers);

    if (strcmp(Settings.Layout, RANDOM_LAYOUT_NAME) != 0) {
        resolveName(Settings.Layout, layoutDirectory, "*.MYL", "DEFAULT.MYL");
    }
    resolveName(Settings.TileSet, tileSetDirectory, "*.BMP", "STANDARD.BMP");
    if (Settings.Background[0]) resolveName(Settings.Background, backgroundDirectory, "*.BMP", "SUNSET.BMP");
    if (Settings.Sound1[0]) resolveName(Settings.Sound1, soundDirectory, "*.WAV", "SELECT.WAV");
    if (Settings.Sound2[0]) resolveName(Settings.Sound2, soundDirectory, "*.WAV", "REMOVE.WAV");
    if (Settings.Sound3[0]) resolveName(Settings.Sound3, soundDirectory, "*.WAV", "BESIDE.WAV");
    if (Settings.Music[0]) resolveName(Settings.Music, soundDirectory, "*.MID", "MOZK478.MID");

    bool result = true;
    if (!loadLanguage()) {
        showMessage(nullptr, NO_LANGUAGE_TEXT, MessageError);
        result = false;
    }
    if (result && !Settings.Layout[0]) {
        showMessage(nullptr, LanguageTexts.MesNoLayout, MessageError);
        result = false;
    }
    if (result && !Settings.TileSet[0]) {
        showMessage(nullptr, LanguageTexts.MesNoTileSet, MessageError);
        result = false;
    }
    return result;
}

void saveSettings(WindowHandle window) {
    // Eight names of at most 4095 characters and some 60 short lines.
    static char bytes[8 * FILE_NAME_SIZE + 8192];
    PlatformText text;
    platformStartText(&text, bytes, sizeof bytes);
    void* numbers = platformUseClassicNumbers();
    writeSettings(&text, window);
    platformRestoreNumbers(numbers);
    returnToStartDirectory();
    bool written = !text.overflow && platformReplaceFile(SETTINGS_FILE_NAME, text.bytes, text.length);
    if (!written) showFileMessage(window, SETTINGS_FILE_NAME, LanguageTexts.MesWriteError);
}
