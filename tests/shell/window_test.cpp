// The main window: commands from the menu ids, toolbar and tooltips, the
// function keys, the mouse buttons, focus, cursors, the caption and the way
// out through EXIT and the close box.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <cstring>

#include "engine/autoplay.h"
#include "engine/board.h"
#include "engine/board_lock.h"
#include "engine/rules.h"
#include "platform/cursors.h"
#include "platform/messages.h"
#include "platform/qt/window_qt.h"
#include "platform/ui.h"
#include "settings/language.h"
#include "shell/menubar.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "shell/statusbar.h"
#include "view2d/draw2d.h"
#include "view2d/tileset.h"
#include "tests/shell/shell_suites.h"
#include "tests/shell/shell_support.h"

using namespace shelltest;

QWidget* platformHelpBrowser();  // the window layer's help viewer

namespace {

void command(uint32_t id) { platformSendMessage(mainWindow, WM_COMMAND, id, 0); }
void key(uintptr_t vk) { platformSendMessage(mainWindow, WM_KEYDOWN, vk, 0); }

// A client point whose topmost face is the tile's.
bool pointOfTile(int tile, int* x, int* y) {
    const TileRecord& record = tileTable[tile];
    for (int dy = faceHeight / 2; dy < faceHeight; ++dy)
        for (int dx = faceWidth / 2; dx < faceWidth; ++dx) {
            int px = record.screenX + dx, py = record.screenY + toolbarHeight + dy;
            if (tileAtPoint(px, py) == tile) {
                *x = px;
                *y = py;
                return true;
            }
        }
    return false;
}

void clickAt(int x, int y) { platformSendMessage(mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, packPoint(x, y)); }

// Removes one pair by clicking both of its tiles.
bool playOnePair() {
    computeFreeTiles();
    findPairs(0);
    for (int i = 0; i < pairCount; ++i) {
        int ax, ay, bx, by;
        if (!pointOfTile(pairList[i][0], &ax, &ay) || !pointOfTile(pairList[i][1], &bx, &by)) continue;
        const int before = tilesLeft;
        clickAt(ax, ay);
        clickAt(bx, by);
        return tilesLeft == before - 2;
    }
    return false;
}

QByteArray boardPixels() {
    return QByteArray(reinterpret_cast<const char*>(boardBuffer.pixels),
                      boardBuffer.width * boardBuffer.height * 4);
}

QString tooltip(uint32_t commandId) {
    TooltipRequest request;
    std::memset(&request, 0, sizeof request);
    request.header.code = NOTIFY_TOOLTIP_TEXT;
    request.header.controlId = 1;
    request.commandId = commandId;
    platformSendMessage(mainWindow, WM_NOTIFY, 1, reinterpret_cast<intptr_t>(&request));
    return QString::fromLatin1(request.text);
}

// Pairs the automatic player has taken so far, read under the board lock.
int pairsRemoved() {
    BoardLock lock;
    return undoCount;
}

int currentCursor() {
    PlatformWindow* window = platformLiveWindow(mainWindow);
    return window ? window->cursorId : 0;
}

}  // namespace

class WindowTests : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(startGame());
        platformKillTimer(mainWindow, CHRONO_TIMER_ID);  // no tick between the steps of a test
        chronoPaused = false;
    }
    void cleanup() {
        stopAutoClose();
        stopGame();
    }

    void startsWithTheDefaultLayout() {
        QCOMPARE(windowCaption(), QString("Velmora's mah-jong v2.0 - Default.myl"));
        QCOMPARE(tilesLeft, (int16_t)144);
        QVERIFY(toolbarHeight > 0);
        QVERIFY(statusBarHeight > 0);
        QVERIFY(frameHeight > 0);
        QVERIFY(!surfaceIsEmpty(&boardBuffer));
        QVERIFY(statusBarText().startsWith("144 Tiles"));
    }

    void toolbarEntries() {
        QToolBar* toolbar = toolBarWidget();
        QVERIFY(toolbar);
        QStringList entries;
        for (QAction* action : toolbar->actions()) {
            if (action->isSeparator()) {
                entries << "-";
                continue;
            }
            QVERIFY(!action->icon().isNull());
            entries << QString::number(toolbar->widgetForAction(action)->property("mjCommand").toUInt());
        }
        QCOMPARE(entries, QStringList({"40018", "40000", "-", "40004", "40005", "40006", "-", "40023", "40017",
                                       "-", "40021", "40022", "40010"}));
    }

    void toolbarButtonSendsItsCommand() {
        QToolBar* toolbar = toolBarWidget();
        QAction* hint = nullptr;
        for (QAction* action : toolbar->actions())
            if (!action->isSeparator() &&
                toolbar->widgetForAction(action)->property("mjCommand").toUInt() == CMD_HINT)
                hint = action;
        QVERIFY(hint);
        const int32_t before = chronoSeconds;
        hint->trigger();
        QCOMPARE(chronoSeconds, before + 60);
        QVERIFY(hintShown);
    }

    void tooltipTexts() {
        QCOMPARE(tooltip(CMD_NEW_GAME), QString(LanguageTexts.T_NEW_GAME));
        QCOMPARE(tooltip(CMD_UNDO), QString(LanguageTexts.T_UNDO));
        QCOMPARE(tooltip(CMD_HINT), QString(LanguageTexts.T_HINT));
        QCOMPARE(tooltip(CMD_LOAD_LAYOUT), QString(LanguageTexts.T_LOAD_LAYOUT));
        QCOMPARE(tooltip(CMD_PAUSE_CHRONO), QString(LanguageTexts.T_PAUSE_CHRONO));
        QCOMPARE(tooltip(CMD_USE_SOUNDS), QString(LanguageTexts.T_SOUND));
        QCOMPARE(tooltip(CMD_HALL_OF_FAME), QString(LanguageTexts.T_HALL_OF_FAME));
        QCOMPARE(tooltip(CMD_HELP_FILE), QString(LanguageTexts.T_HELP_FILE));
        QCOMPARE(tooltip(CMD_HELP_ABOUT), QString(LanguageTexts.T_HELP_ABOUT));
        QCOMPARE(tooltip(CMD_EXIT), QString("Exit (F12)"));
        QCOMPARE(tooltip(CMD_SHADOWS), QString());  // not a toolbar button
        // A long tip is cut to 79 characters.
        setText(LanguageTexts.T_UNDO, MENU_TEXT_SIZE, QByteArray(100, 'u').constData(), "");
        QCOMPARE(tooltip(CMD_UNDO), QString(79, 'u'));
        // Other notifications are ignored.
        NotifyHeader other = {7, 1};
        QCOMPARE(platformSendMessage(mainWindow, WM_NOTIFY, 1, reinterpret_cast<intptr_t>(&other)), 0);
    }

    void rightButtonUndoesAndF7Too() {
        QVERIFY(playOnePair());
        QCOMPARE(undoCount, (int16_t)1);
        platformSendMessage(mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, packPoint(10, 100));
        QCOMPARE(tilesLeft, (int16_t)144);
        QCOMPARE(undoCount, (int16_t)0);
        QVERIFY(playOnePair());
        key(VK_F7);
        QCOMPARE(tilesLeft, (int16_t)144);
        // Nothing left to undo: the message, and the board unchanged.
        startAutoClose();
        command(CMD_UNDO);
        QStringList shown = stopAutoClose();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().contains(LanguageTexts.MesUndo));
        QCOMPARE(tilesLeft, (int16_t)144);
    }

    void functionKeys() {
        QVERIFY(playOnePair());
        QVERIFY(playOnePair());
        key(VK_F2);  // new game: every move undone, then a new deal
        QCOMPARE(undoCount, (int16_t)0);
        QCOMPARE(tilesLeft, (int16_t)144);

        const uint8_t shadows = Settings.Shadows;
        key(VK_F9);
        QCOMPARE(Settings.Shadows, (uint8_t)(shadows ? 0 : 1));
        key(VK_F9);
        QCOMPARE(Settings.Shadows, shadows);

        const uint8_t chrono = Settings.ShowChrono;
        key(VK_F11);
        QCOMPARE(Settings.ShowChrono, (uint8_t)(chrono ? 0 : 1));
        QCOMPARE(statusBarText().contains("Time :"), chrono == 0);
        key(VK_F11);
        QCOMPARE(Settings.ShowChrono, chrono);

        key(VK_F5);
        QVERIFY(chronoPaused);
        key(VK_F5);
        QVERIFY(!chronoPaused);

        const int32_t seconds = chronoSeconds;
        key(VK_F6);
        QVERIFY(hintShown);
        QCOMPARE(chronoSeconds, seconds + 60);

        // F10 and other keys do nothing.
        hintShown = true;
        const QByteArray board = QByteArray((const char*)tileTable, sizeof tileTable);
        const SettingsRecord settings = Settings;
        key(VK_F10);
        key('A');
        key(VK_SPACE);
        key(VK_LEFT);
        QVERIFY(hintShown);
        QCOMPARE(QByteArray((const char*)tileTable, sizeof tileTable), board);
        QVERIFY(std::memcmp(&settings, &Settings, sizeof settings) == 0);
    }

    void realKeyPressReachesTheWindow() {
        QWidget* client = platformClientWidget(mainWindow);
        QVERIFY(client);
        const uint8_t shadows = Settings.Shadows;
        QTest::keyClick(client, Qt::Key_F9);
        QCOMPARE(Settings.Shadows, (uint8_t)(shadows ? 0 : 1));
    }

    void restartPutsEveryTileBack() {
        QByteArray faces;
        for (const TileRecord& record : tileTable) faces.append((char)record.face);
        QVERIFY(playOnePair());
        key(VK_F3);
        QCOMPARE(tilesLeft, (int16_t)144);
        QCOMPARE(undoCount, (int16_t)0);
        QByteArray after;
        for (const TileRecord& record : tileTable) after.append((char)record.face);
        QCOMPARE(after, faces);
    }

    void commandsClearTheHint() {
        hintShown = true;
        command(CMD_USE_SOUNDS);
        QVERIFY(!hintShown);
        hintShown = true;
        command(12345);  // means nothing, still clears it
        QVERIFY(!hintShown);
    }

    void toggles() {
        const uint8_t sounds = Settings.SoundEffects;
        command(CMD_USE_SOUNDS);
        QCOMPARE(Settings.SoundEffects, (uint8_t)(sounds ? 0 : 1));
        Settings.NewCursors = 0;
        command(CMD_CHANGE_CURSOR);
        QCOMPARE(Settings.NewCursors, (uint8_t)1);
        QCOMPARE(normalCursor, CURSOR_RESOURCE_NORMAL);
        QCOMPARE(pressedCursor, CURSOR_RESOURCE_PRESSED);
        QCOMPARE(currentCursor(), CURSOR_RESOURCE_NORMAL);
        command(CMD_CHANGE_CURSOR);
        QCOMPARE(normalCursor, CURSOR_ARROW);
        QCOMPARE(pressedCursor, CURSOR_APPSTARTING);
        // The check marks follow the settings before the next message.
        Settings.Shadows = 1;
        Settings.EasyMode = 0;
        platformSendMessage(mainWindow, WM_TIMER, CHRONO_TIMER_ID, 0);
        QVERIFY(platformIsMenuItemChecked(menuBar, CMD_SHADOWS));
        QVERIFY(!platformIsMenuItemChecked(menuBar, CMD_EASYMODE));
    }

    void mouseMoveChoosesTheCursor() {
        platformSendMessage(mainWindow, WM_MOUSEMOVE, MK_LBUTTON, packPoint(5, 50));
        QCOMPARE(currentCursor(), pressedCursor);
        platformSendMessage(mainWindow, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, packPoint(5, 50));
        QCOMPARE(currentCursor(), normalCursor);
        platformSendMessage(mainWindow, WM_MOUSEMOVE, MK_LBUTTON, packPoint(5, 50));
        platformSendMessage(mainWindow, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, packPoint(5, 50));
        QCOMPARE(currentCursor(), normalCursor);
        platformSendMessage(mainWindow, WM_MOUSEMOVE, 0, packPoint(5, 50));
        QCOMPARE(currentCursor(), normalCursor);
    }

    void leftButtonSelectsAndStopsAutomaticPlay() {
        computeFreeTiles();
        findPairs(0);
        QVERIFY(pairCount > 0);
        int x, y;
        QVERIFY(pointOfTile(pairList[0][0], &x, &y));
        autoplayRunning = true;
        hintShown = true;
        clickAt(x, y);
        QVERIFY(!autoplayRunning);
        QVERIFY(!hintShown);
        QCOMPARE(selectedTile, (int16_t)pairList[0][0]);
        QCOMPARE(currentCursor(), normalCursor);
        // A click on the empty corner of the board area drops the selection.
        clickAt(1, toolbarHeight + 1);
        QCOMPARE(selectedTile, (int16_t)NO_TILE);
    }

    void clickStopsTheAutomaticPlayer() {
        QCOMPARE(Settings.EasyMode, (uint8_t)1);
        command(CMD_AUTOPLAY);
        QVERIFY(autoplayActive());
        QTRY_VERIFY_WITH_TIMEOUT(pairsRemoved() > 0, 10000);
        clickAt(1, toolbarHeight + 1);
        QVERIFY(!autoplayActive());  // stopped and waited for before the click
        QCOMPARE(tilesLeft, (int16_t)144);  // the player puts the deal back
        QCOMPARE(undoCount, (int16_t)0);
        QCOMPARE(selectedTile, (int16_t)NO_TILE);
    }

    void boardCommandsStopTheAutomaticPlayer() {
        command(CMD_AUTOPLAY);
        QVERIFY(autoplayActive());
        key(VK_F2);
        QVERIFY(!autoplayActive());
        QCOMPARE(tilesLeft, (int16_t)144);
        // Other commands leave it playing.
        command(CMD_AUTOPLAY);
        QVERIFY(autoplayActive());
        key(VK_F9);
        command(CMD_SHOW_CHRONO);
        QVERIFY(autoplayActive());
        command(CMD_RESTART_GAME);
        QVERIFY(!autoplayActive());
    }

    void emptyBoardOfTheAutomaticPlayerIsNoWin() {
        Settings.AutoPlaySleep = 1;
        startAutoClose();
        command(CMD_AUTOPLAY);
        QTRY_VERIFY_WITH_TIMEOUT(!autoplayActive(), 60000);
        settle();
        QTest::qWait(50);
        QCOMPARE(stopAutoClose(), QStringList());  // no winner's dialog, no message
        QVERIFY(!gameFinished);
        QCOMPARE(tilesLeft, (int16_t)144);
    }

    void wheelChangesNothingIn2D() {
        const QByteArray board = QByteArray((const char*)tileTable, sizeof tileTable);
        QCOMPARE(platformSendMessage(mainWindow, WM_MOUSEWHEEL, (uintptr_t)(intptr_t)-120, packPoint(50, 50)), 0);
        QCOMPARE(QByteArray((const char*)tileTable, sizeof tileTable), board);
    }

    void middleButtonOpensTheColours() {
        startAutoClose(false);
        platformSendMessage(mainWindow, WM_MBUTTONDOWN, MK_MBUTTON, packPoint(50, 50));
        QStringList shown = stopAutoClose();
        QCOMPARE(shown, QStringList({QString::fromLatin1(LanguageTexts.COLORSCAPTION)}));
    }

    void dialogsOfTheMenus() {
        startAutoClose(false);
        command(CMD_CONFIG);
        command(CMD_HALL_OF_FAME);
        command(CMD_HELP_ABOUT);
        QStringList shown = stopAutoClose();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(0), QString::fromLatin1(LanguageTexts.CONFIGCAPTION));
        QCOMPARE(shown.at(1), QString::fromLatin1(LanguageTexts.HALLFAMECAPTION));
    }

    void easyModeAsksFirst() {
        const uint8_t easy = Settings.EasyMode;
        QVERIFY(playOnePair());
        startAutoClose(false);
        command(CMD_EASYMODE);
        QStringList shown = stopAutoClose();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().contains(LanguageTexts.MesEasyMode));
        QCOMPARE(Settings.EasyMode, easy);
        QCOMPARE(undoCount, (int16_t)1);  // Cancel changes nothing
        startAutoClose(true);
        command(CMD_EASYMODE);
        stopAutoClose();
        QCOMPARE(Settings.EasyMode, (uint8_t)(easy ? 0 : 1));
        QCOMPARE(undoCount, (int16_t)0);  // and a new game started at once
        QCOMPARE(tilesLeft, (int16_t)144);
    }

    void focusLossHidesAndPauses() {
        const QByteArray shown = boardPixels();
        hintShown = true;
        platformSendMessage(mainWindow, WM_KILLFOCUS, 0, 0);
        QVERIFY(chronoPaused);
        QVERIFY(!hintShown);
        QVERIFY(boardPixels() != shown);  // the faces are hidden
        const int32_t seconds = chronoSeconds;
        tickChronometer(mainWindow);
        QCOMPARE(chronoSeconds, seconds);
        platformSendMessage(mainWindow, WM_SETFOCUS, 0, 0);
        QVERIFY(!chronoPaused);
        QCOMPARE(boardPixels(), shown);
        // A pause of the user's own is resumed by the focus coming back.
        command(CMD_PAUSE_CHRONO);
        QVERIFY(chronoPaused);
        platformSendMessage(mainWindow, WM_KILLFOCUS, 0, 0);
        platformSendMessage(mainWindow, WM_SETFOCUS, 0, 0);
        QVERIFY(!chronoPaused);
    }

    void resizeFitsTheBoard() {
        QWidget* top = platformTopWidget(mainWindow);
        const int face = faceWidth;
        top->resize(1000, 760);
        settle();
        int width, height;
        platformGetClientSize(mainWindow, &width, &height);
        QCOMPARE(boardBuffer.width, width);
        QCOMPARE(boardBuffer.height, height - toolbarHeight - statusBarHeight);
        QVERIFY(faceWidth >= face);
    }

    void helpFileOpensBesideTheGame() {
        QWidget* before = QApplication::activeModalWidget();
        command(CMD_HELP_FILE);
        settle();
        QCOMPARE(QApplication::activeModalWidget(), before);  // not modal, and no error box
        QWidget* help = platformHelpBrowser();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QTextBrowser* browser = qobject_cast<QTextBrowser*>(help);
        QVERIFY(browser);
        QVERIFY(browser->source().toLocalFile().endsWith("ENGLISH.HLP", Qt::CaseInsensitive));
        // The help file is looked up in the language directory; the start
        // directory is current again afterwards.
        QCOMPARE(QDir::currentPath(), QDir(startPath()).canonicalPath());
    }

    void exitWritesTheSettingsOnce() {
        const QString ini = startPath() + "/MAH-JONG.INI";
        QFile::remove(ini);
        key(VK_F12);
        QVERIFY(QFile::exists(ini));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("; Velmora's mah-jong v2.0 INI File, do not edit\r\n"));
        QVERIFY(!menuBar);
        QVERIFY(surfaceIsEmpty(&boardBuffer));
        QCOMPARE(platformRunMessageLoop(), 0);  // the quit message ends the loop at once
        // The destruction that follows writes nothing more.
        QFile::remove(ini);
        platformDestroyWindow(mainWindow);
        QVERIFY(!QFile::exists(ini));
    }

    void layoutWithout144TilesEndsWithoutSaving() {
        QFile bad(startPath() + "/LAYOUTS/BAD.MYL");
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("1 1 0\r\n1 3 0\r\n");
        bad.close();
        buildMenuBar(mainWindow);
        const QString ini = startPath() + "/MAH-JONG.INI";
        QFile::remove(ini);
        startAutoClose();
        command(LAYOUT_LIST_FIRST + 1);  // ARENA, BAD, ...
        QStringList shown = stopAutoClose();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().contains(LanguageTexts.MesNo144Tiles));
        QVERIFY(!menuBar);
        QCOMPARE(platformRunMessageLoop(), 0);  // the quit is posted
        platformDestroyWindow(mainWindow);
        QVERIFY(!QFile::exists(ini));  // and no settings are written
    }

    void closeBoxWritesTheSettings() {
        const QString ini = startPath() + "/MAH-JONG.INI";
        QFile::remove(ini);
        platformSendMessage(mainWindow, WM_CLOSE, 0, 0);
        QVERIFY(!platformIsWindow(mainWindow));
        QVERIFY(QFile::exists(ini));
        QCOMPARE(platformRunMessageLoop(), 0);
    }
};

QObject* makeWindowTests() { return new WindowTests(); }

#include "window_test.moc"
