// The status bar line to the character, the chronometer tick and the
// end-of-game check reached from another thread.
#include <QTest>
#include <cstring>
#include <thread>

#include "engine/board.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "settings/settings.h"
#include "shell/mainwindow.h"
#include "shell/statusbar.h"
#include "tests/shell/shell_suites.h"
#include "tests/shell/shell_support.h"

using namespace shelltest;

namespace {

const QString SPACES(20, ' ');

void setState(int tiles, bool chrono, int32_t seconds, bool paused, bool hint, int index, int pairs) {
    tilesLeft = (int16_t)tiles;
    Settings.ShowChrono = chrono ? 1 : 0;
    chronoSeconds = seconds;
    chronoPaused = paused;
    hintShown = hint;
    hintIndex = (int16_t)index;
    pairCount = (int16_t)pairs;
}

QString composed() {
    composeStatusText();
    return QString::fromLatin1(statusText);
}

}  // namespace

class StatusBarTests : public QObject {
    Q_OBJECT
    char savedTiles[MENU_TEXT_SIZE];

private slots:
    void initTestCase() {
        QVERIFY(startGame());
        platformKillTimer(mainWindow, CHRONO_TIMER_ID);  // the tests tick it themselves
    }
    void cleanupTestCase() { stopGame(); }
    void init() {
        std::memcpy(savedTiles, LanguageTexts.Tiles, sizeof savedTiles);
        gameFinished = false;
        autoplayRunning = false;
    }
    void cleanup() {
        std::memcpy(LanguageTexts.Tiles, savedTiles, sizeof savedTiles);
        setState(144, false, 0, false, false, 0, 0);
        gameFinished = false;
        autoplayRunning = false;
    }

    void composesEachPart_data() {
        QTest::addColumn<int>("tiles");
        QTest::addColumn<bool>("chrono");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<bool>("hint");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tiles only") << 144 << false << 75 << false << false << 0 << 0 << "144 Tiles";
        QTest::newRow("chronometer") << 142 << true << 3725 << false << false << 0 << 0
                                     << "142 Tiles" + SPACES + "Time : 01:02:05";
        QTest::newRow("paused") << 142 << true << 3725 << true << false << 0 << 0
                                << "142 Tiles" + SPACES + "Time : Paused";
        QTest::newRow("hint counter") << 120 << false << 0 << false << true << 2 << 7
                                      << "120 Tiles" + SPACES + "Pair 3 / 7";
        QTest::newRow("chrono and hint") << 120 << true << 59 << false << true << 0 << 1
                                         << "120 Tiles" + SPACES + "Time : 00:00:59" + SPACES + "Pair 1 / 1";
        QTest::newRow("no pair left") << 8 << false << 0 << false << true << 0 << 0
                                      << "8 Tiles" + SPACES + "No more pairs can be removed.";
        QTest::newRow("index past the list") << 8 << false << 0 << false << true << 3 << 3
                                             << "8 Tiles" + SPACES + "No more pairs can be removed.";
        QTest::newRow("empty board") << 0 << false << 0 << false << true << 0 << 0
                                     << "0 Tiles" + SPACES + "Board cleared: you have won!";
        QTest::newRow("hours past a day") << 2 << true << 100000 << false << false << 0 << 0
                                          << "2 Tiles" + SPACES + "Time : 27:46:40";
    }
    void composesEachPart() {
        QFETCH(int, tiles);
        QFETCH(bool, chrono);
        QFETCH(int, seconds);
        QFETCH(bool, paused);
        QFETCH(bool, hint);
        QFETCH(int, index);
        QFETCH(int, pairs);
        QFETCH(QString, expected);
        setState(tiles, chrono, seconds, paused, hint, index, pairs);
        QCOMPARE(composed(), expected);
    }

    void cutAtOneHundredCharacters() {
        setText(LanguageTexts.Tiles, MENU_TEXT_SIZE, QByteArray(120, 'x').constData(), "");
        setState(144, true, 0, false, false, 0, 0);
        QString text = composed();
        QCOMPARE(text.size(), STATUS_TEXT_LIMIT);
        QCOMPARE(text, ("144 " + QString(120, 'x')).left(100));
    }

    void theBarShowsTheText() {
        setState(130, true, 61, false, false, 0, 0);
        updateStatusBar(mainWindow);
        QCOMPARE(statusBarText(), "130 Tiles" + SPACES + "Time : 00:01:01");
    }

    void timerTicksTheChronometer() {
        setState(140, true, 10, false, false, 0, 0);
        tickChronometer(mainWindow);
        QCOMPARE(chronoSeconds, 11);
        QCOMPARE(statusBarText(), "140 Tiles" + SPACES + "Time : 00:00:11");
        chronoPaused = true;
        tickChronometer(mainWindow);
        QCOMPARE(chronoSeconds, 11);
        chronoPaused = false;
        gameFinished = true;
        tickChronometer(mainWindow);
        QCOMPARE(chronoSeconds, 11);
        gameFinished = false;
        // Without the chronometer shown the tick leaves the bar alone.
        Settings.ShowChrono = 0;
        tilesLeft = 100;
        tickChronometer(mainWindow);
        QCOMPARE(chronoSeconds, 12);
        QCOMPARE(statusBarText(), "140 Tiles" + SPACES + "Time : 00:00:11");
        // At 99,999 hours the chronometer stops instead of wrapping.
        Settings.ShowChrono = 1;
        chronoSeconds = CHRONO_LIMIT;
        tickChronometer(mainWindow);
        QCOMPARE(chronoSeconds, CHRONO_LIMIT);
        QCOMPARE(statusBarText(), "100 Tiles" + SPACES + "Time : 99999:00:00");
    }

    void endOfGameFromAnotherThreadRunsOnTheWindowThread() {
        setState(0, false, 30, false, false, 0, 0);
        std::thread::id dialogThread;
        startAutoClose();
        std::thread other([] { updateStatusBar(mainWindow); });
        other.join();
        QVERIFY(!gameFinished);  // not checked on the other thread
        QTRY_VERIFY(gameFinished);
        QTest::qWait(100);
        QStringList closed = stopAutoClose();
        QVERIFY(!closed.isEmpty());
        QVERIFY2(closed.first().contains(LanguageTexts.WINCAPTION), qPrintable(closed.join(" | ")));
    }

    void noEndOfGameWhileTheAutomaticPlayerRuns() {
        setState(0, false, 30, false, false, 0, 0);
        autoplayRunning = true;
        startAutoClose();
        std::thread other([] { updateStatusBar(mainWindow); });
        other.join();
        updateStatusBar(mainWindow);
        QTest::qWait(100);
        QCOMPARE(stopAutoClose(), QStringList());
        QVERIFY(!gameFinished);
    }
};

QObject* makeStatusBarTests() { return new StatusBarTests(); }

#include "statusbar_test.moc"
