// Not a test: opens every dialog with the English texts and saves a picture
// of each into the directory named on the command line, to look at the
// layout. With a display (QT_QPA_PLATFORM=xcb) it also takes a picture of the
// whole screen with ImageMagick's import while the dialog is up.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialogs/dialogs.h"
#include "engine/board.h"
#include "gamefiles/halloffame.h"
#include "platform/app.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "settings/directories.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

std::string outputDirectory;

void shoot(const char* name, int32_t okId, void (*open)()) {
    whenDialogOpens(okId, [name](WindowHandle, QDialog* dialog) {
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        std::string file = outputDirectory + "/" + name + ".png";
        dialog->grab().save(QString::fromStdString(file));
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            std::string command = "import -window root '" + outputDirectory + "/" + name + "-screen.png'";
            if (std::system(command.c_str()) != 0) std::fprintf(stderr, "import failed for %s\n", name);
        }
        std::printf("%s\n", file.c_str());
    });
    open();
}

FileListEntry languages[3];
FileListEntry* languageList = nullptr;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s output-directory\n", argv[0]);
        return 2;
    }
    outputDirectory = argv[1];
    QDir().mkpath(QString::fromStdString(outputDirectory));
    if (!platformInitialise(argc, argv)) return 2;

    copyText(startDirectory, QDir::currentPath().toLocal8Bit().constData(), FILE_NAME_SIZE);
    copyText(languageDirectory, MJ_SOURCE_DIR "/data/LANGUAGE", FILE_NAME_SIZE);
    copyText(Settings.Language, "ENGLISH.TXT", FILE_NAME_SIZE);
    if (!loadLanguage()) std::fprintf(stderr, "no English texts; the template texts show\n");

    Settings.AutoPlaySleep = 500;
    Settings.RemoveTileTime = 12300;
    Settings.BorderSize = 8;
    Settings.ShadowSize = 4;
    Settings.StretchTiles = 1;
    Settings.SelectMode = SELECT_DARKER;
    Settings.BackgroundColor = 0x00A000;
    Settings.SidesColor = 0x1878B8;
    Settings.StepRotation = 5.0f;
    for (int i = 0; i < 5; ++i) Settings.RGBLevelColor[i] = 0x202020u * (uint32_t)(i + 2);
    for (int i = 0; i < 4; ++i) Settings.RGBValColor[i] = 0x0000FFu << (i * 4);
    Settings.SelectColor = 0xFF00FF;

    defaultHallOfFame();
    copyText(hallOfFame[0].name, "Maximilian Wolfgang A", sizeof hallOfFame[0].name);
    hallOfFame[5].name[0] = '\0';
    formatTime(360000, hallOfFame[9].time);

    const char* files[3][2] = {{"DEUTSCH.TXT", "Deutsch"}, {"ENGLISH.TXT", "English"}, {"FRANCAIS.TXT", "Francais"}};
    for (int i = 0; i < 3; ++i) {
        copyText(languages[i].fileName, files[i][0], FILE_LIST_NAME_SIZE);
        copyText(languages[i].displayName, files[i][1], FILE_LIST_NAME_SIZE);
        languages[i].next = i < 2 ? &languages[i + 1] : nullptr;
    }
    languageList = &languages[0];

    shoot("about", 10100, [] { aboutDialog(nullptr); });
    shoot("winner", 10200, [] { winnerNameDialog(nullptr); });
    shoot("halloffame", 10300, [] { hallOfFameDialog(nullptr); });
    shoot("language", 10901, [] { languageDialog(languageList); });
    shoot("config2d", 10701, [] { configDialog2D(nullptr); });
    shoot("colors2d", 10400, [] { colorsDialog2D(nullptr); });
    shoot("config3d", 10701, [] { configDialog3D(nullptr); });
    shoot("colors3d", 10400, [] { colorsDialog3D(nullptr); });
    return 0;
}
