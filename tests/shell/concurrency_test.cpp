// Automatic play against the real window: resizes, repaints, timer ticks,
// focus changes, and the configuration and colour dialogs changing settings
// the player reads, while it plays; then a click that stops it. The deal
// comes back whole. scripts/test.sh runs this suite under ThreadSanitizer.
#include <QColorDialog>
#include <QTest>

#include "dialogs/templates.h"
#include "engine/autoplay.h"
#include "engine/board.h"
#include "engine/board_lock.h"
#include "platform/messages.h"
#include "platform/qt/window_qt.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/shell/shell_suites.h"
#include "tests/shell/shell_support.h"
#include "view2d/tileset.h"

using namespace shelltest;

namespace {

void command(uint32_t id) { platformSendMessage(mainWindow, WM_COMMAND, id, 0); }

// Pairs the player has taken so far, read under the board lock.
int pairsRemoved() {
    BoardLock lock;
    return undoCount;
}

QByteArray dealtFaces() {
    BoardLock lock;
    QByteArray faces;
    for (const TileRecord& record : tileTable) faces.append((char)record.face);
    return faces;
}

// One round of everything the window does while the player plays.
void workTheWindow(int round) {
    QWidget* top = platformTopWidget(mainWindow);
    top->resize(640 + 60 * (round % 3), 480 + 40 * (round % 2));
    settle();
    platformSendMessage(mainWindow, WM_PAINT, 0, 0);
    platformInvalidateWindow(mainWindow);
    platformSendMessage(mainWindow, WM_KILLFOCUS, 0, 0);
    platformSendMessage(mainWindow, WM_SETFOCUS, 0, 0);
    platformSendMessage(mainWindow, WM_TIMER, CHRONO_TIMER_ID, 0);
    command(CMD_SHADOWS);
    // The delays, the selection mode and the sizes, stepped while the player reads them.
    whenDialogOpens(CONFIG_OK, [](WindowHandle dialog, QDialog*) {
        for (int32_t id : {CONFIG_AUTOPLAY_PLUS, CONFIG_AUTOPLAY_MINUS, CONFIG_REMOVE_PLUS, CONFIG_REMOVE_MINUS,
                           CONFIG_SELECT_INVERT, CONFIG_SELECT_DARKER, CONFIG_BORDER_MINUS, CONFIG_BORDER_PLUS}) {
            click(dialog, id);
            QTest::qWait(5);
        }
    });
    command(CMD_CONFIG);
    // The colour of the tiles' sides, which every frame of the player reads.
    whenDialogOpens(COLORS_OK, [round](WindowHandle dialog, QDialog*) {
        whenColourChooserOpens([round](QColorDialog* chooser) {
            chooser->setCurrentColor(QColor(180, 100 + round, 24));
            chooser->accept();
        });
        click(dialog, COLORS_2D_SIDE);
    });
    command(CMD_CHANGE_COLORS);
}

}  // namespace

class ConcurrencyTests : public QObject {
    Q_OBJECT

private slots:
    void init() {
        GameOptions options;
        options.settingsLines << "AutoPlaySleep   = 150";
        QVERIFY(startGame(options));  // the chronometer's timer runs
    }
    void cleanup() { stopGame(); }

    void theWindowWorksWhileThePlayerPlays() {
        const QByteArray dealt = dealtFaces();
        command(CMD_AUTOPLAY);
        QVERIFY(autoplayActive());
        QTRY_VERIFY_WITH_TIMEOUT(pairsRemoved() > 0, 20000);
        for (int round = 0; round < 4; ++round) workTheWindow(round);
        qInfo("automatic play still running: %s, %d pairs taken", autoplayActive() ? "yes" : "no", pairsRemoved());
        QCOMPARE(Settings.SidesColor, (Colour)(180u | (103u << 8) | (24u << 16)));
        // A click stops the player, which puts the deal back.
        platformSendMessage(mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, packPoint(1, toolbarHeight + 1));
        QVERIFY(!autoplayActive());
        QCOMPARE(tilesLeft, (int16_t)144);
        QCOMPARE(undoCount, (int16_t)0);
        QCOMPARE(dealtFaces(), dealt);
        // Played again, and stopped at once by the next click.
        command(CMD_AUTOPLAY);
        QTRY_VERIFY_WITH_TIMEOUT(pairsRemoved() > 0, 20000);
        workTheWindow(4);
        platformSendMessage(mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, packPoint(1, toolbarHeight + 1));
        QVERIFY(!autoplayActive());
        QCOMPARE(dealtFaces(), dealt);
    }
};

QObject* makeConcurrencyTests() { return new ConcurrencyTests(); }

#include "concurrency_test.moc"
