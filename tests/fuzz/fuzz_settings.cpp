// MAH-JONG.INI as loadSettings reads it, for mahjong-2d or (with the 3D view
// in the host, MAHJONG_3D 1) for mahjong with its 3D block. After each input:
// every data-file name is a bare, upper-case name of a file that exists in its
// directory, the 3D values are finite, and the file the writer then produces
// reads back to the same file.
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/layout.h"
#include "platform/files.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "tests/support/null_host.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The data files of the start directory; every name the reader keeps must be one of them.
const struct {
    const char* path;
    const char* content;
} dataFiles[] = {
    {"LANGUAGE/ENGLISH.TXT", "MesNoLayout \"no layout\"\r\nMesWriteError \"cannot be written\"\r\n"},
    {"LANGUAGE/GERMAN.TXT", "MesNoLayout \"kein\"\r\n"},
    {"LANGUAGE/ENGLISH.HLP", "help"},
    {"LAYOUTS/DEFAULT.MYL", "0 0 0\r\n"},
    {"LAYOUTS/OTHER.MYL", "0 0 0\r\n"},
    {"TILESETS/STANDARD.BMP", "BM"},
    {"TILESETS/OTHER.BMP", "BM"},
    {"BACKGRND/SUNSET.BMP", "BM"},
    {"BACKGRND/OTHER.BMP", "BM"},
    {"SOUNDS/SELECT.WAV", "RIFF"},
    {"SOUNDS/REMOVE.WAV", "RIFF"},
    {"SOUNDS/BESIDE.WAV", "RIFF"},
    {"SOUNDS/OTHER.WAV", "RIFF"},
    {"SOUNDS/MOZK478.MID", "MThd"},
    {"SOUNDS/OTHER.MID", "MThd"},
};

void makeDataFiles() {
    for (const auto& file : dataFiles) fuzzWriteText(file.path, file.content);
}

// A kept name is bare, upper-case and names one of the data files of its
// directory (compared in memory: the files never change during a run).
void checkName(const char* name, const char* folder, bool optional) {
    FUZZ_CHECK(fuzzTerminated(name, FILE_NAME_SIZE));
    if (name[0] == 0) {
        FUZZ_CHECK(optional);
        return;
    }
    if (std::strcmp(folder, "LAYOUTS") == 0 && std::strcmp(name, RANDOM_LAYOUT_NAME) == 0) return;
    bool found = false;
    const size_t length = std::strlen(folder);
    for (const auto& file : dataFiles)
        found = found || (std::strncmp(file.path, folder, length) == 0 && file.path[length] == '/' &&
                          std::strcmp(file.path + length + 1, name) == 0);
    FUZZ_CHECK(found);
}

void checkSettings() {
    checkName(Settings.Language, "LANGUAGE", false);
    checkName(Settings.Layout, "LAYOUTS", false);
    checkName(Settings.TileSet, "TILESETS", false);
    checkName(Settings.Background, "BACKGRND", true);
    checkName(Settings.Sound1, "SOUNDS", true);
    checkName(Settings.Sound2, "SOUNDS", true);
    checkName(Settings.Sound3, "SOUNDS", true);
    checkName(Settings.Music, "SOUNDS", true);
    FUZZ_CHECK(borderDivisor() >= 1 && shadowDivisor() >= 1);
    const float values[] = {Settings.XPosition, Settings.YPosition, Settings.ZPosition, Settings.XView,
                            Settings.YView, Settings.ZView, Settings.lightPosX, Settings.lightPosY,
                            Settings.lightPosZ, Settings.MinZoom, Settings.MaxZoom, Settings.Inclination,
                            Settings.dessinZ, Settings.contourZ, Settings.ombreZ, Settings.MinInclination,
                            Settings.MaxInclination, Settings.StepInclination, Settings.StepRotation};
    for (float value : values) FUZZ_CHECK(std::isfinite(value));
}

std::string savedFile() {
    saveSettings(nullptr);
    FUZZ_CHECK(fake::messages.empty());
    std::ifstream in(SETTINGS_FILE_NAME, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    fuzzStartDirectory();
    if (!ready) {
        makeDataFiles();
        ready = true;
    }
    fuzzWriteFile(SETTINGS_FILE_NAME, data, size);
    fake::reset();
    std::memset(&Settings, 0x5A, sizeof Settings);
    copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
    FUZZ_CHECK(loadSettings());
    checkSettings();

    const std::string written = savedFile();
    FUZZ_CHECK(loadSettings());
    FUZZ_CHECK(savedFile() == written);
    return 0;
}
