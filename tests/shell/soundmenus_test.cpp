// The SOUNDS menu, present with an audio device: its place and tree, and the
// NONE items of the sounds and the music. Run with an audio driver that
// counts as a device (MJ_SHELL_SUITE=soundmenus).
#include <QAction>
#include <QMenuBar>
#include <QTest>

#include "platform/audio.h"
#include "platform/messages.h"
#include "shell/menubar.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "shell/sound.h"
#include "tests/shell/shell_suites.h"
#include "tests/shell/shell_support.h"

using namespace shelltest;

namespace {

void command(uint32_t id) { platformSendMessage(mainWindow, WM_COMMAND, id, 0); }

QStringList checkedIn(const QString& menu) {
    QStringList checked;
    for (const QString& item : menuItems(menu))
        if (item.endsWith(" *")) checked << item;
    return checked;
}

}  // namespace

class SoundMenuTests : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startGame()); }
    void cleanup() { stopGame(); }

    void soundsStandThird() {
        QVERIFY(hasWaveDevice());
        QStringList titles;
        for (QAction* action : menuBarWidget()->actions()) titles << shownText(action);
        QCOMPARE(titles, QStringList({"Game", "Options", "Sounds", "Graphics", "Layout", "Help"}));
        QCOMPARE(menuItems("Sounds"),
                 QStringList({"Music >", "None [26000]", "-", "CANON [26001]", "MOZK478 [26002] *",
                              "PAGODA [26003]", "Sound when a tile is selected >", "None [23000]", "-",
                              "BELL [23001]", "BESIDE [23002]", "BLIP [23003]", "CHIME [23004]", "CLICK [23005]",
                              "POP [23006]", "REMOVE [23007]", "SELECT [23008] *", "WOOD [23009]",
                              "Sound when a pair is removed >", "None [24000]", "-", "BELL [24001]",
                              "BESIDE [24002]", "BLIP [24003]", "CHIME [24004]", "CLICK [24005]", "POP [24006]",
                              "REMOVE [24007] *", "SELECT [24008]", "WOOD [24009]",
                              "Sound when a click misses >", "None [25000]", "-", "BELL [25001]",
                              "BESIDE [25002] *", "BLIP [25003]", "CHIME [25004]", "CLICK [25005]", "POP [25006]",
                              "REMOVE [25007]", "SELECT [25008]", "WOOD [25009]", "Sound effects [40023] *"}));
    }

    void noneEmptiesASound() {
        command(SOUND1_NONE);
        QCOMPARE(QString(Settings.Sound1), QString());
        QCOMPARE(checkedIn("Sound when a tile is selected"), QStringList({"None [23000] *"}));
        command(SOUND1_LIST_FIRST + 4);
        QCOMPARE(QString(Settings.Sound1), QString("CLICK.WAV"));
        QCOMPARE(checkedIn("Sound when a tile is selected"), QStringList({"CLICK [23005] *"}));
        // The other lists keep theirs.
        QCOMPARE(QString(Settings.Sound2), QString("REMOVE.WAV"));
        command(SOUND3_NONE);
        QCOMPARE(QString(Settings.Sound3), QString());
        QCOMPARE(checkedIn("Sound when a click misses"), QStringList({"None [25000] *"}));
        command(SOUND2_LIST_FIRST);
        QCOMPARE(QString(Settings.Sound2), QString("BELL.WAV"));
    }

    void noneStopsTheMusic() {
        // The start-up music is loaded on a thread of its own; the synthesiser
        // reads its whole sound font first, which takes seconds on a busy machine.
        QTRY_VERIFY_WITH_TIMEOUT(platformMusicPlaying(), 60000);
        command(MUSIC_NONE);
        QCOMPARE(QString(Settings.Music), QString());
        QVERIFY(!platformMusicPlaying());
        QCOMPARE(checkedIn("Music"), QStringList({"None [26000] *"}));
        buildMenuBar(mainWindow);
        QCOMPARE(checkedIn("Music"), QStringList({"None [26000] *"}));
        command(MUSIC_LIST_FIRST + 2);
        QCOMPARE(QString(Settings.Music), QString("PAGODA.MID"));
        QCOMPARE(checkedIn("Music"), QStringList({"PAGODA [26003] *"}));
        QVERIFY(platformMusicPlaying());
    }
};

QObject* makeSoundMenuTests() { return new SoundMenuTests(); }

#include "soundmenus_test.moc"
