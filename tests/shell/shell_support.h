// A running game for the shell's widget tests: a temporary start directory
// with the delivered data, the real start-up up to the shown main window, and
// readers of what the window shows (menus, toolbar, status bar, caption).
#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "platform/window.h"

class QAction;
class QMenuBar;
class QToolBar;
class QWidget;

namespace shelltest {

// The extra settings lines of a test (key = value, CR LF added).
struct GameOptions {
    QStringList settingsLines;
    bool writeSettings = true;  // false: a first run without MAH-JONG.INI
};

// Makes the start directory: LANGUAGE and LAYOUTS copied, TILESETS,
// BACKGRND and SOUNDS linked (tests never write them), SCORES and SAVEGAME
// empty, and MAH-JONG.INI from the options. Returns its path.
QString makeStartDirectory(QTemporaryDir& directory, const GameOptions& options);
// Start-up and window as the program does it; false when it stopped.
bool startGame(const GameOptions& options = GameOptions());
// Destroys the window (shutdown sequence), drains the quit, leaves the
// start directory.
void stopGame();
QString startPath();

// Lets the event loop run (posted status texts, repaints).
void settle();

QMenuBar* menuBarWidget();
QToolBar* toolBarWidget();
QString statusBarText();
QString windowCaption();
// An item's text as the menu shows it: without its mnemonic mark.
QString shownText(const QAction* action);
// The tree of the attached menu bar, one item a line, two spaces a level:
// "text [id]" for items (with " *" when checked), "text >" for submenus,
// "-" for separators.
QString menuTree();
// Lines of menuTree() under the top-level menu (or submenu at any depth)
// whose text is `title`, without indentation.
QStringList menuItems(const QString& title);

// Runs body on the next modal widget that shows up.
void whenModal(std::function<void(QWidget*)> body);
// Closes a modal: a message box by its button (accept: OK, else Cancel), a
// game dialog by ending it.
void closeModal(QWidget* modal, bool accept);

// From now until stopAutoClose, every modal that shows is closed (accepted
// or not) and its caption recorded, message boxes as "caption / text".
void startAutoClose(bool accept = true);
QStringList stopAutoClose();

}  // namespace shelltest
