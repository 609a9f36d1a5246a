// The menu bar of mahjong-2d: its tree, the language switch, the layout
// commands (list, open dialog, random, save), tile set and background.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cstring>
#include <functional>

#include "engine/board.h"
#include "engine/layout.h"
#include "platform/menus.h"
#include "platform/messages.h"
#include "settings/language.h"
#include "shell/menubar.h"
#include "settings/settings.h"
#include "shell/commands.h"
#include "shell/filelists.h"
#include "shell/mainwindow.h"
#include "shell/sound.h"
#include "shell/toolbar.h"
#include "platform/ui.h"
#include "view2d/tileset.h"
#include "tests/shell/shell_suites.h"
#include "tests/shell/shell_support.h"

using namespace shelltest;

namespace {

void command(uint32_t id) { platformSendMessage(mainWindow, WM_COMMAND, id, 0); }

QStringList topLevel() {
    QStringList titles;
    if (QMenuBar* bar = menuBarWidget())
        for (QAction* action : bar->actions()) titles << shownText(action);
    return titles;
}

const char* const treeWithoutSounds =
    "Game >\n"
    "  New game\tF2 [40000]\n"
    "  Restart this game\tF3 [40001]\n"
    "  Easy mode [40002] *\n"
    "  Automatic play [40003]\n"
    "  -\n"
    "  Pause\tF5 [40004]\n"
    "  Hint\tF6 [40005]\n"
    "  Undo\tF7 [40006]\n"
    "  -\n"
    "  Save game... [40007]\n"
    "  Load game... [40008]\n"
    "  -\n"
    "  Exit\tF12 [40010]\n"
    "Options >\n"
    "  Show the time\tF11 [40013] *\n"
    "  Shadows\tF9 [40012]\n"
    "  Mah-jong cursors [40026]\n"
    "  -\n"
    "  Language >\n"
    "    ENGLISH [20000] *\n"
    "    FRENCH [20001]\n"
    "    GERMAN [20002]\n"
    "  Settings... [40016]\n"
    "Graphics >\n"
    "  Tile set >\n"
    "    JADE [21000]\n"
    "    MODERN [21001]\n"
    "    NIGHT [21002]\n"
    "    STANDARD [21003] *\n"
    "  Background >\n"
    "    None [27000]\n"
    "    -\n"
    "    FELT [27001]\n"
    "    JADE [27002]\n"
    "    NIGHT [27003]\n"
    "    SUNSET [27004] *\n"
    "  Colours... [40014]\n"
    "Layout >\n"
    "  Open a layout...\tF4 [40018]\n"
    "  Save the layout... [40019]\n"
    "  Hall of fame\tF8 [40017]\n"
    "  -\n"
    "  ARENA [22000]\n"
    "  BRIDGE [22001]\n"
    "  CROSS [22002]\n"
    "  DEFAULT [22003] *\n"
    "  DRAGON [22004]\n"
    "  FORTRESS [22005]\n"
    "  PYRAMID [22006]\n"
    "  TOWERS [22007]\n"
    "  WINGS [22008]\n"
    "  -\n"
    "  Random layout [40020]\n"
    "Help >\n"
    "  Contents\tF1 [40021]\n"
    "  About... [40022]\n";

QStringList checkedIn(const QString& menu) {
    QStringList checked;
    for (const QString& item : menuItems(menu))
        if (item.endsWith(" *")) checked << item;
    return checked;
}

// Answers the next file dialog with a typed name (or cancels it).
void answerFileDialog(const QString& name) {
    whenModal([name](QWidget* modal) {
        QFileDialog* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        if (name.isEmpty()) {
            dialog->reject();
            return;
        }
        QLineEdit* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

}  // namespace

class MenuBarTests : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startGame()); }
    void cleanup() { stopGame(); }

    void treeOfMahjong2D() {
        QVERIFY(!hasWaveDevice());  // this run has no audio device
        QCOMPARE(topLevel(), QStringList({"Game", "Options", "Graphics", "Layout", "Help"}));
        QCOMPARE(menuTree(), QString(treeWithoutSounds));
    }

    void rebuildingKeepsTheTree() {
        const QString before = menuTree();
        buildMenuBar(mainWindow);
        buildMenuBar(mainWindow);
        QCOMPARE(menuTree(), before);
    }

    void languageSwitchRebuildsTheMenus() {
        command(LANGUAGE_LIST_FIRST + 1);
        QCOMPARE(QString(Settings.Language), QString("FRENCH.TXT"));
        QCOMPARE(topLevel().first(), QString("Partie"));
        QCOMPARE(menuItems("Partie").first(), QString("Nouvelle partie\tF2 [40000]"));
        QVERIFY(menuItems("Langue").contains("FRENCH [20001] *"));
        QVERIFY(!menuItems("Langue").contains("ENGLISH [20000] *"));
        QVERIFY(statusBarText().startsWith("144 tuiles"));
        command(LANGUAGE_LIST_FIRST + 2);
        QCOMPARE(QString(Settings.Language), QString("GERMAN.TXT"));
        command(LANGUAGE_LIST_FIRST);
        QCOMPARE(menuTree(), QString(treeWithoutSounds));
        // Past the list: nothing changes.
        command(LANGUAGE_LIST_FIRST + 3);
        QCOMPARE(QString(Settings.Language), QString("ENGLISH.TXT"));
    }

    void tileSetFromTheList() {
        const int width = loadedTileSet.width;
        command(TILESET_LIST_FIRST);
        QCOMPARE(QString(Settings.TileSet), QString("JADE.BMP"));
        QCOMPARE(checkedIn("Tile set"), QStringList({"JADE [21000] *"}));
        QVERIFY(!surfaceIsEmpty(&loadedTileSet));
        QVERIFY(width > 0);
    }

    void backgroundNoneAndBack() {
        command(BACKGROUND_NONE);
        QCOMPARE(QString(Settings.Background), QString());
        QCOMPARE(checkedIn("Background"), QStringList({"None [27000] *"}));
        command(BACKGROUND_LIST_FIRST);
        QCOMPARE(QString(Settings.Background), QString("FELT.BMP"));
        QCOMPARE(checkedIn("Background"), QStringList({"FELT [27001] *"}));
        QVERIFY(!surfaceIsEmpty(&loadedBackground));
        // A rebuilt bar with no background checks None.
        command(BACKGROUND_NONE);
        buildMenuBar(mainWindow);
        QCOMPARE(checkedIn("Background"), QStringList({"None [27000] *"}));
    }

    void layoutFromTheList() {
        chronoSeconds = 99;
        command(LAYOUT_LIST_FIRST + 6);
        QCOMPARE(QString(layoutName), QString("PYRAMID.MYL"));
        QCOMPARE(windowCaption(), QString("Velmora's mah-jong v2.0 - Pyramid.myl"));
        QCOMPARE(checkedIn("Layout"), QStringList({"PYRAMID [22006] *"}));
        QCOMPARE(tilesLeft, (int16_t)144);
        QCOMPARE(chronoSeconds, 0);
    }

    void layoutFromTheOpenDialog() {
        answerFileDialog("TOWERS.MYL");
        command(CMD_LOAD_LAYOUT);
        QCOMPARE(QString(layoutName), QString("TOWERS.MYL"));
        QCOMPARE(checkedIn("Layout"), QStringList({"TOWERS [22007] *"}));
        QCOMPARE(windowCaption(), QString("Velmora's mah-jong v2.0 - Towers.myl"));
        QCOMPARE(tilesLeft, (int16_t)144);
        // Cancel changes nothing.
        answerFileDialog(QString());
        command(CMD_LOAD_LAYOUT);
        QCOMPARE(QString(layoutName), QString("TOWERS.MYL"));
        QCOMPARE(checkedIn("Layout"), QStringList({"TOWERS [22007] *"}));
    }

    void layoutTypedInLowerCaseIsCheckedInUpperCase() {
        QVERIFY(QFile::copy(startPath() + "/LAYOUTS/CROSS.MYL", startPath() + "/LAYOUTS/lower.myl"));
        buildMenuBar(mainWindow);
        answerFileDialog("lower.myl");
        command(CMD_LOAD_LAYOUT);
        QCOMPARE(QString(layoutName), QString("LOWER.MYL"));
        QCOMPARE(checkedIn("Layout"), QStringList({"lower [22009] *"}));
        QCOMPARE(windowCaption(), QString("Velmora's mah-jong v2.0 - Lower.myl"));
    }

    void randomLayout() {
        command(CMD_RANDOM_LAYOUT);
        QCOMPARE(QString(layoutName), QString("RANDOM.MYL"));
        QCOMPARE(checkedIn("Layout"), QStringList({"Random layout [40020] *"}));
        QCOMPARE(tilesLeft, (int16_t)144);
        // A tile set keeps the mark, a listed layout takes it away.
        command(TILESET_LIST_FIRST + 1);
        QCOMPARE(checkedIn("Layout"), QStringList({"Random layout [40020] *"}));
        buildMenuBar(mainWindow);
        QCOMPARE(checkedIn("Layout"), QStringList({"Random layout [40020] *"}));
        command(LAYOUT_LIST_FIRST);
        QCOMPARE(checkedIn("Layout"), QStringList({"ARENA [22000] *"}));
    }

    void savedLayoutIsListedInItsPlace() {
        answerFileDialog("Bravo");
        command(CMD_SAVE_LAYOUT);
        QVERIFY(QFile::exists(startPath() + "/LAYOUTS/Bravo.MYL"));
        QCOMPARE(QString(layoutName), QString("BRAVO.MYL"));
        QStringList layouts = menuItems("Layout").mid(4, 10);
        QCOMPARE(layouts, QStringList({"ARENA [22000]", "BRIDGE [22001]", "Bravo [22002] *", "CROSS [22003]",
                                       "DEFAULT [22004]", "DRAGON [22005]", "FORTRESS [22006]",
                                       "PYRAMID [22007]", "TOWERS [22008]", "WINGS [22009]"}));
        QCOMPARE(windowCaption(), QString("Velmora's mah-jong v2.0 - Bravo.myl"));
        // The saved layout loads back as the same board.
        QByteArray grid((const char*)layoutGrid, sizeof layoutGrid);
        command(LAYOUT_LIST_FIRST);
        command(LAYOUT_LIST_FIRST + 2);
        QCOMPARE(QString(layoutName), QString("BRAVO.MYL"));
        QCOMPARE(QByteArray((const char*)layoutGrid, sizeof layoutGrid), grid);
    }

    void menuIconsWithCoolMenu() {
        Settings.CoolMenu = 1;
        buildMenuBar(mainWindow);
        QStringList withIcons;
        std::function<void(QWidget*)> walk = [&](QWidget* menu) {
            for (QAction* action : menu->actions()) {
                if (action->menu()) walk(action->menu());
                else if (!action->icon().isNull()) withIcons << QString::number(action->property("mjCommand").toUInt());
            }
        };
        walk(menuBarWidget());
        withIcons.sort();
        QCOMPARE(withIcons, QStringList({"40000", "40004", "40005", "40006", "40010", "40017", "40018", "40021",
                                         "40022"}));
        // The icons' grey background takes the menu's colour.
        const uint32_t menuColour = platformMenuBackgroundColour();
        for (int i = 0; i < MENU_ICON_COUNT; ++i) {
            QCOMPARE(menuIcons[i].width, platformMetric(METRIC_MENU_CHECK_WIDTH));
            QCOMPARE(menuIcons[i].height, platformMetric(METRIC_MENU_CHECK_HEIGHT));
            QCOMPARE(getPixel(&menuIcons[i], 0, 0) & 0xFFFFFF, menuColour);
        }
    }
};

QObject* makeMenuBarTests() { return new MenuBarTests(); }

#include "menubar_test.moc"
