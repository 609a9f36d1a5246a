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

void makeDataFiles() {
    fuzzWriteText("LANGUAGE/ENGLISH.TXT", "MesNoLayout \"no layout\"\r\nMesWriteError \"cannot be written\"\r\n");
    fuzzWriteText("LANGUAGE/GERMAN.TXT", "MesNoLayout \"kein\"\r\n");
    fuzzWriteText("LANGUAGE/ENGLISH.HLP", "help");
    fuzzWriteText("LAYOUTS/DEFAULT.MYL", "0 0 0\r\n");
    fuzzWriteText("LAYOUTS/OTHER.MYL", "0 0 0\r\n");
    fuzzWriteText("TILESETS/STANDARD.BMP", "BM");
    fuzzWriteText("TILESETS/OTHER.BMP", "BM");
    fuzzWriteText("BACKGRND/SUNSET.BMP", "BM");
    fuzzWriteText("BACKGRND/OTHER.BMP", "BM");
    for (const char* name : {"SOUNDS/SELECT.WAV", "SOUNDS/REMOVE.WAV", "SOUNDS/BESIDE.WAV", "SOUNDS/OTHER.WAV"})
        fuzzWriteText(name, "RIFF");
    fuzzWriteText("SOUNDS/MOZK478.MID", "MThd");
    fuzzWriteText("SOUNDS/OTHER.MID", "MThd");
}

void checkName(const char* name, const char* directory, bool optional) {
    FUZZ_CHECK(fuzzTerminated(name, FILE_NAME_SIZE));
    if (name[0] == 0) {
        FUZZ_CHECK(optional);
        return;
    }
    FUZZ_CHECK(!std::strchr(name, '/') && !std::strchr(name, '\\') && !std::strstr(name, ".."));
    for (const char* c = name; *c; ++c) FUZZ_CHECK(!(*c >= 'a' && *c <= 'z'));
    if (directory == layoutDirectory && std::strcmp(name, RANDOM_LAYOUT_NAME) == 0) return;
    char path[2 * FILE_NAME_SIZE];
    FUZZ_CHECK(platformResolvePath(directory, name, path, sizeof path));
}

void checkSettings() {
    checkName(Settings.Language, languageDirectory, false);
    checkName(Settings.Layout, layoutDirectory, false);
    checkName(Settings.TileSet, tileSetDirectory, false);
    checkName(Settings.Background, backgroundDirectory, true);
    checkName(Settings.Sound1, soundDirectory, true);
    checkName(Settings.Sound2, soundDirectory, true);
    checkName(Settings.Sound3, soundDirectory, true);
    checkName(Settings.Music, soundDirectory, true);
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
