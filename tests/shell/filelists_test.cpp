// File lists: sorting by shown name, names and extensions, MORE submenus,
// check marks, choosing a listed file and the random-layout mark.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#include "engine/layout.h"
#include "platform/files.h"
#include "platform/menus.h"
#include "settings/language.h"
#include "shell/menubar.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "settings/directories.h"
#include "shell/filelists.h"
#include "shell/mainwindow.h"
#include "tests/shell/shell_suites.h"
#include "tests/shell/shell_support.h"

using namespace shelltest;

namespace {

QString makeFiles(QTemporaryDir& directory, const QStringList& names) {
    for (const QString& name : names) {
        QFile file(directory.path() + "/" + name);
        file.open(QIODevice::WriteOnly);
        file.write("x");
    }
    return directory.path();
}

QStringList listed(FileListEntry* head) {
    QStringList out;
    for (FileListEntry* entry = head; entry; entry = entry->next)
        out << QString::fromLatin1(entry->displayName) + "=" + QString::fromLatin1(entry->fileName);
    return out;
}

QStringList numberedFiles(int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i) names << QString("L%1.MYL").arg(i, 2, 10, QChar('0'));
    return names;
}

// Fills a fresh test menu "T" on its own bar, attaches the bar and returns
// the tree under "T". The game's bar is put back afterwards.
QStringList testMenu(const QString& directory, const char* current, FileListEntry** head) {
    MenuHandle bar = platformCreateMenuBar();
    MenuHandle menu = platformCreatePopupMenu();
    platformAppendSubmenu(bar, menu, "T");
    fillFileMenu("*.MYL", directory.toLocal8Bit().constData(), current, menu, 500, head);
    platformAttachMenuBar(mainWindow, bar);
    QStringList items = menuItems("T");
    platformAttachMenuBar(mainWindow, menuBar);
    platformDestroyMenu(bar);
    return items;
}

}  // namespace

class FileListTests : public QObject {
    Q_OBJECT
    FileListEntry* head = nullptr;

private slots:
    void initTestCase() { QVERIFY(startGame()); }
    void cleanupTestCase() { stopGame(); }
    void cleanup() {
        freeFileList(&head);
        menuListLimit = 10;
    }

    void sortsByShownNameBytewise() {
        QTemporaryDir directory;
        makeFiles(directory, {"b.txt", "A.TXT", "Zeta.txt", "apple.Txt", "notes.doc"});
        QCOMPARE(fillFileMenu("*.TXT", directory.path().toLocal8Bit().constData(), "", nullptr, 0, &head), 4);
        QCOMPARE(listed(head), QStringList({"A=A.TXT", "Zeta=ZETA.TXT", "apple=APPLE.TXT", "b=B.TXT"}));
        // The start directory is current again.
        char current[4096];
        QVERIFY(platformGetCurrentDirectory(current, sizeof current));
        QCOMPARE(QString(current), QString(startDirectory));
    }

    void dropsOnlyTheLastExtension() {
        QTemporaryDir directory;
        makeFiles(directory, {"x.y.bmp", "plain.bmp"});
        fillFileMenu("*.BMP", directory.path().toLocal8Bit().constData(), "", nullptr, 0, &head);
        QCOMPARE(listed(head), QStringList({"plain=PLAIN.BMP", "x.y=X.Y.BMP"}));
    }

    void missingDirectoryKeepsTheList() {
        QTemporaryDir directory;
        makeFiles(directory, {"ONE.TXT"});
        fillFileMenu("*.TXT", directory.path().toLocal8Bit().constData(), "", nullptr, 0, &head);
        QCOMPARE(fillFileMenu("*.TXT", "/nonexistent/directory/", "", nullptr, 0, &head), 0);
        QCOMPARE(listed(head), QStringList({"ONE=ONE.TXT"}));
        // A directory without matching files keeps it too.
        QTemporaryDir empty;
        QCOMPARE(fillFileMenu("*.TXT", empty.path().toLocal8Bit().constData(), "", nullptr, 0, &head), 0);
        QCOMPARE(listed(head), QStringList({"ONE=ONE.TXT"}));
        char current[4096];
        QVERIFY(platformGetCurrentDirectory(current, sizeof current));
        QCOMPARE(QString(current), QString(startDirectory));
    }

    void refillReplacesTheList() {
        QTemporaryDir first, second;
        makeFiles(first, {"OLD.TXT", "OLDER.TXT"});
        makeFiles(second, {"NEW.TXT"});
        fillFileMenu("*.TXT", first.path().toLocal8Bit().constData(), "", nullptr, 0, &head);
        fillFileMenu("*.TXT", second.path().toLocal8Bit().constData(), "", nullptr, 0, &head);
        QCOMPARE(listed(head), QStringList({"NEW=NEW.TXT"}));
    }

    void moreSubmenus_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expected");
        QStringList ten;
        for (int i = 1; i <= 10; ++i) ten << QString("L%1 [%2]").arg(i, 2, 10, QChar('0')).arg(499 + i);
        QTest::newRow("10") << 10 << ten;
        QStringList eleven = QStringList({"More >"}) + ten;
        eleven << "L11 [510]";
        QTest::newRow("11") << 11 << eleven;
        QStringList twentyFive = QStringList({"More >"}) + ten;
        twentyFive << "More >";
        for (int i = 11; i <= 20; ++i) twentyFive << QString("L%1 [%2]").arg(i).arg(499 + i);
        for (int i = 21; i <= 25; ++i) twentyFive << QString("L%1 [%2]").arg(i).arg(499 + i);
        QTest::newRow("25") << 25 << twentyFive;
    }
    void moreSubmenus() {
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        QTemporaryDir directory;
        makeFiles(directory, numberedFiles(count));
        menuListLimit = 10;
        QStringList items = testMenu(directory.path(), "", &head);
        QCOMPARE(items, expected);
    }

    void moreSubmenusNest() {
        // The MORE popups hold their entries one level down.
        QTemporaryDir directory;
        makeFiles(directory, numberedFiles(11));
        MenuHandle bar = platformCreateMenuBar();
        MenuHandle menu = platformCreatePopupMenu();
        platformAppendSubmenu(bar, menu, "T");
        fillFileMenu("*.MYL", directory.path().toLocal8Bit().constData(), "L05.MYL", menu, 500, &head);
        platformAttachMenuBar(mainWindow, bar);
        QStringList more = menuItems("More");
        QCOMPARE(more.size(), 10);
        QCOMPARE(more.first(), QString("L01 [500]"));
        QCOMPARE(more.at(4), QString("L05 [504] *"));  // the current file is checked
        platformAttachMenuBar(mainWindow, menuBar);
        platformDestroyMenu(bar);
    }

    void aLimitBelowOneStillEnds() {
        QTemporaryDir directory;
        makeFiles(directory, numberedFiles(3));
        menuListLimit = 0;
        QStringList items = testMenu(directory.path(), "", &head);
        QCOMPARE(items, QStringList({"More >", "L01 [500]", "More >", "L02 [501]", "L03 [502]"}));
    }

    void ampersandsShowAsTheyAre() {
        QTemporaryDir directory;
        makeFiles(directory, {"R&D.MYL"});
        QStringList items = testMenu(directory.path(), "", &head);
        QCOMPARE(items, QStringList({"R&D [500]"}));  // shown as named: the item holds "R&&D", no mnemonic
        QCOMPARE(listed(head), QStringList({"R&D=R&D.MYL"}));
    }

    void selectingMovesTheCheckMark() {
        QCOMPARE(QString(layoutName), QString("DEFAULT.MYL"));
        char current[FILE_LIST_NAME_SIZE] = "STANDARD.BMP";
        // The tile sets: JADE, MODERN, NIGHT, STANDARD.
        QVERIFY(platformIsMenuItemChecked(menuBar, TILESET_LIST_FIRST + 3));
        QVERIFY(selectListedFile(TILESET_LIST_FIRST + 1, current, menuBar, TILESET_LIST_FIRST, tileSetList));
        QCOMPARE(QString(current), QString("MODERN.BMP"));
        for (uint32_t id = 0; id < 4; ++id)
            QCOMPARE(platformIsMenuItemChecked(menuBar, TILESET_LIST_FIRST + id), id == 1);
        // An identifier past the list hits nothing and leaves no mark.
        QVERIFY(!selectListedFile(TILESET_LIST_FIRST + 4, current, menuBar, TILESET_LIST_FIRST, tileSetList));
        QCOMPARE(QString(current), QString("MODERN.BMP"));
        QVERIFY(!platformIsMenuItemChecked(menuBar, TILESET_LIST_FIRST + 1));
        // By name: the name itself is not changed.
        QVERIFY(selectListedFileByName("NIGHT.BMP", menuBar, TILESET_LIST_FIRST, tileSetList));
        QVERIFY(platformIsMenuItemChecked(menuBar, TILESET_LIST_FIRST + 2));
        QVERIFY(!selectListedFileByName("GONE.BMP", menuBar, TILESET_LIST_FIRST, tileSetList));
        QVERIFY(!platformIsMenuItemChecked(menuBar, TILESET_LIST_FIRST + 2));
    }

    void randomLayoutMarkFollowsTheLayout() {
        copyText(layoutName, RANDOM_LAYOUT_NAME, FILE_NAME_SIZE);
        char current[FILE_LIST_NAME_SIZE] = "";
        // Choosing from another list keeps the random mark.
        platformCheckMenuItem(menuBar, CMD_RANDOM_LAYOUT, true);
        QVERIFY(selectListedFile(TILESET_LIST_FIRST, current, menuBar, TILESET_LIST_FIRST, tileSetList));
        QVERIFY(platformIsMenuItemChecked(menuBar, CMD_RANDOM_LAYOUT));
        // The random layout itself, by name: no listed layout is checked.
        QVERIFY(!selectListedFileByName(layoutName, menuBar, LAYOUT_LIST_FIRST, layoutList));
        QVERIFY(platformIsMenuItemChecked(menuBar, CMD_RANDOM_LAYOUT));
        for (uint32_t id = 0; id < 9; ++id) QVERIFY(!platformIsMenuItemChecked(menuBar, LAYOUT_LIST_FIRST + id));
        // A listed layout taken into layoutName removes the mark.
        QVERIFY(selectListedFile(LAYOUT_LIST_FIRST, layoutName, menuBar, LAYOUT_LIST_FIRST, layoutList));
        QCOMPARE(QString(layoutName), QString("ARENA.MYL"));
        QVERIFY(!platformIsMenuItemChecked(menuBar, CMD_RANDOM_LAYOUT));
        QVERIFY(platformIsMenuItemChecked(menuBar, LAYOUT_LIST_FIRST));
        copyText(layoutName, "DEFAULT.MYL", FILE_NAME_SIZE);
    }

    void commandsOutsideEveryRangeDoNothing() {
        QVERIFY(!runFileListCommand(mainWindow, 19999));
        QVERIFY(!runFileListCommand(mainWindow, 28000));
        QVERIFY(!runFileListCommand(mainWindow, 40009));
    }
};

QObject* makeFileListTests() { return new FileListTests(); }

#include "filelists_test.moc"
