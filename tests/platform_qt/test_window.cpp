// The main window: messages, menus, toolbar, status bar, presenting frames,
// cursors, resources and the splash.
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <atomic>
#include <climits>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/cursors.h"
#include "platform/menus.h"
#include "platform/messages.h"
#include "platform/qt/window_qt.h"
#include "platform/resources.h"
#include "platform/splash.h"
#include "platform/statusbar.h"
#include "platform/surface.h"
#include "platform/toolbar.h"
#include "platform/ui.h"
#include "tests/platform_qt/test_suites.h"

namespace {

struct Received {
    uint32_t message;
    uintptr_t first;
    intptr_t second;
};

std::vector<Received> received;
bool createdInsideCreation = false;
bool creationReturned = false;
int toolbarHeightSeen = 0, statusHeightSeen = 0;
MenuHandle bar = nullptr;
MenuHandle gameMenu = nullptr, optionsMenu = nullptr, languageMenu = nullptr;
uint32_t tooltipCommand = 0;
bool closeDestroys = true;

constexpr uint32_t NEW_GAME = 40000, EASY = 40002, EXIT = 40010, SHADOWS = 40012, HINT = 40005;
constexpr uint32_t LANGUAGE_FIRST = 20000;

std::vector<uint32_t> stripPixels(160 * 16);
Surface iconStrip() {
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 160; ++x)
            stripPixels[(size_t)(y * 160 + x)] = (x % 16 < 2 || y < 2) ? 0x00C0C0C0u : 0x000000FFu * (uint32_t)(x / 16 % 2);
    return Surface{160, 16, stripPixels.data()};
}

int32_t recordingProc(WindowHandle window, uint32_t message, uintptr_t first, intptr_t second) {
    received.push_back({message, first, second});
    switch (message) {
        case WM_CREATE: {
            createdInsideCreation = !creationReturned;
            bar = platformCreateMenuBar();
            gameMenu = platformCreatePopupMenu();
            platformAppendMenuItem(gameMenu, NEW_GAME, "&New game\tF2");
            platformAppendMenuItem(gameMenu, EASY, "&Easy mode");
            platformAppendSeparator(gameMenu);
            platformAppendMenuItem(gameMenu, EXIT, "E&xit\tF12");
            platformAppendSubmenu(bar, gameMenu, "&Game");
            optionsMenu = platformCreatePopupMenu();
            platformAppendMenuItem(optionsMenu, SHADOWS, "Shadows\tF9");
            languageMenu = platformCreatePopupMenu();
            platformAppendMenuItem(languageMenu, LANGUAGE_FIRST, "English");
            platformAppendMenuItem(languageMenu, LANGUAGE_FIRST + 1, "Fran\xE7" "ais");
            platformAppendSubmenu(optionsMenu, languageMenu, "Language");
            platformAppendSubmenu(bar, optionsMenu, "&Options");
            platformAttachMenuBar(window, bar);
            Surface strip = iconStrip();
            ToolbarEntry entries[] = {{NEW_GAME, 1}, {0, TOOLBAR_SEPARATOR}, {HINT, 3}, {EXIT, 9}};
            toolbarHeightSeen = platformCreateToolbar(window, &strip, entries, 4);
            statusHeightSeen = platformCreateStatusBar(window);
            return 0;
        }
        case WM_NOTIFY: {
            NotifyHeader* header = reinterpret_cast<NotifyHeader*>(second);
            if (header->code == NOTIFY_TOOLTIP_TEXT) {
                TooltipRequest* request = reinterpret_cast<TooltipRequest*>(second);
                tooltipCommand = request->commandId;
                std::snprintf(request->text, sizeof request->text, "Tip for %u \xE9",
                              (unsigned)request->commandId);
            }
            return 0;
        }
        case WM_CLOSE:
            if (!closeDestroys) return 0;
            break;
        default: break;
    }
    return platformDefaultWindowProc(window, message, first, second);
}

int countOf(uint32_t message) {
    int count = 0;
    for (const Received& r : received)
        if (r.message == message) ++count;
    return count;
}

const Received* lastOf(uint32_t message) {
    for (auto it = received.rbegin(); it != received.rend(); ++it)
        if (it->message == message) return &*it;
    return nullptr;
}

QAction* findAction(QWidget* menu, const QString& start) {
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(start)) return action;
        if (action->menu())
            if (QAction* inner = findAction(action->menu(), start)) return inner;
    }
    return nullptr;
}

// Every popup menu there is (menus have no parent widget until shown).
QList<QMenu*> findMenus() {
    QList<QMenu*> menus;
    for (QWidget* widget : QApplication::allWidgets())
        if (QMenu* menu = qobject_cast<QMenu*>(widget)) menus.append(menu);
    return menus;
}

}  // namespace

class WindowTests : public QObject {
    Q_OBJECT
    WindowHandle window = nullptr;
    QWidget* top() { return platformTopWidget(window); }
    QWidget* client() { return platformClientWidget(window); }

private slots:
    void initTestCase() {
        received.clear();
        creationReturned = false;
        window = platformCreateMainWindow("Test \xE9", 20, 30, 640, 480, recordingProc);
        creationReturned = true;
        QVERIFY(window);
        platformShowWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(top()));
        QCoreApplication::processEvents();
    }

    void createArrivesInsideCreationFirst() {
        QVERIFY(createdInsideCreation);
        QVERIFY(!received.empty());
        QCOMPARE(received.front().message, WM_CREATE);
        QVERIFY(countOf(WM_SIZE) >= 1);
        QCOMPARE(top()->windowTitle(), QString::fromUtf8("Test é"));
    }

    void clientAreaIsBelowTheMenuBar() {
        QMenuBar* menuBar = top()->findChild<QMenuBar*>();
        QVERIFY(menuBar && menuBar->isVisible());
        int width = 0, height = 0;
        platformGetClientSize(window, &width, &height);
        double ratio = top()->devicePixelRatioF();
        QCOMPARE(width, qRound(top()->width() * ratio));
        QCOMPARE(height, qRound((top()->height() - menuBar->height()) * ratio));
        QCOMPARE(client()->y(), menuBar->height());
        const Received* size = lastOf(WM_SIZE);
        QVERIFY(size);
        QCOMPARE(pointX(size->second), width);
        QCOMPARE(pointY(size->second), height);
        QVERIFY(toolbarHeightSeen > 0);
        QVERIFY(statusHeightSeen > 0);
        QCOMPARE(platformToolbarHeight(window), toolbarHeightSeen);
        QCOMPARE(platformMetric(METRIC_MENU_HEIGHT), qRound(menuBar->sizeHint().height() * ratio));
        int left, topEdge, right, bottom;
        platformGetWindowRect(window, &left, &topEdge, &right, &bottom);
        QVERIFY(right - left >= width);
        QVERIFY(bottom - topEdge >= height);
        if (top()->frameGeometry() == top()->geometry()) {  // no window manager: the rectangle asked for
            QCOMPARE(left, 20);
            QCOMPARE(topEdge, 30);
            QCOMPARE(right - left, 640);
            QCOMPARE(bottom - topEdge, 480);
        }
        QVERIFY(platformMetric(METRIC_MAXIMIZED_WIDTH) > 0);
    }

    void menuCommandArrivesSynchronously() {
        QMenuBar* menuBar = top()->findChild<QMenuBar*>();
        QAction* easy = findAction(menuBar, QStringLiteral("&Easy"));
        QVERIFY(easy);
        received.clear();
        easy->trigger();
        QCOMPARE(countOf(WM_COMMAND), 1);  // before the event loop ran
        QCOMPARE(lastOf(WM_COMMAND)->first, (uintptr_t)EASY);
        QVERIFY(!easy->isChecked());  // a click does not check it by itself
        QAction* french = findAction(menuBar, QString::fromUtf8("Français"));
        QVERIFY(french);
        french->trigger();
        QCOMPARE(lastOf(WM_COMMAND)->first, (uintptr_t)(LANGUAGE_FIRST + 1));
    }

    void checkingByIdAcrossSubmenus() {
        QMenuBar* menuBar = top()->findChild<QMenuBar*>();
        QAction* french = findAction(menuBar, QString::fromUtf8("Français"));
        QVERIFY(platformCheckMenuItem(bar, LANGUAGE_FIRST + 1, true));
        QVERIFY(french->isChecked());
        QVERIFY(platformIsMenuItemChecked(bar, LANGUAGE_FIRST + 1));
        QVERIFY(!platformIsMenuItemChecked(bar, LANGUAGE_FIRST));
        QVERIFY(!platformCheckMenuItem(bar, 12345, true));  // unknown ids are ignored
        french->trigger();  // choosing it keeps the mark the program set
        QVERIFY(french->isChecked());
        QVERIFY(platformCheckMenuItem(bar, LANGUAGE_FIRST + 1, false));
        QVERIFY(!french->isChecked());
        QVERIFY(platformCheckMenuItem(languageMenu, LANGUAGE_FIRST, true));
        QVERIFY(platformIsMenuItemChecked(bar, LANGUAGE_FIRST));
        platformCheckMenuItem(bar, LANGUAGE_FIRST, false);
    }

    void shortcutTailIsShownButNotBound() {
        QMenuBar* menuBar = top()->findChild<QMenuBar*>();
        QAction* newGame = findAction(menuBar, QStringLiteral("&New game"));
        QVERIFY(newGame);
        QVERIFY(newGame->shortcut().isEmpty());
        // The tail is laid out as Qt lays out a key hint: the menu is as wide as
        // one whose item has F2 as its shortcut.
        MenuHandle withTail = platformCreatePopupMenu();
        MenuHandle without = platformCreatePopupMenu();
        platformAppendMenuItem(withTail, 1, "&New game\tF2");
        platformAppendMenuItem(without, 1, "&New game");
        QMenu* tailMenu = nullptr;
        QMenu* plainMenu = nullptr;
        for (QMenu* menu : findMenus())
            for (QAction* action : menu->actions()) {
                if (action->text() == QStringLiteral("&New game\tF2") && menu->actions().size() == 1) tailMenu = menu;
                if (action->text() == QStringLiteral("&New game")) plainMenu = menu;
            }
        QVERIFY(tailMenu && plainMenu);
        QMenu reference;
        reference.addAction(QStringLiteral("&New game"))->setShortcut(QKeySequence(Qt::Key_F2));
        QCOMPARE(tailMenu->sizeHint().width(), reference.sizeHint().width());
        QVERIFY(tailMenu->sizeHint().width() > plainMenu->sizeHint().width());
        platformDestroyMenu(withTail);
        platformDestroyMenu(without);

        received.clear();
        client()->setFocus();
        QTest::keyClick(client(), Qt::Key_F2);
        QCOMPARE(countOf(WM_COMMAND), 0);
        QCOMPARE(countOf(WM_KEYDOWN), 1);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, VK_F2);
    }

    void keysKeepTheirVirtualCodes() {
        received.clear();
        QTest::keyClick(client(), Qt::Key_Space);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, VK_SPACE);
        QCOMPARE(countOf(WM_COMMAND), 0);  // nor does Space press a toolbar button
        QTest::keyClick(client(), Qt::Key_7);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, (uintptr_t)0x37);
        QTest::keyClick(client(), Qt::Key_7, Qt::KeypadModifier);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, (uintptr_t)0x67);
        QTest::keyClick(client(), Qt::Key_PageUp);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, VK_PRIOR);
        QTest::keyClick(client(), Qt::Key_Delete);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, VK_DELETE);
        QTest::keyClick(client(), Qt::Key_F12);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, VK_F12);
        QTest::keyClick(client(), Qt::Key_Tab);
        QCOMPARE(lastOf(WM_KEYDOWN)->first, VK_TAB);
        QVERIFY(client()->hasFocus());

        // Alt+F4 is no F4: a system key, which the default procedure makes a close request.
        received.clear();
        closeDestroys = false;
        QTest::keyClick(client(), Qt::Key_F4, Qt::AltModifier);
        closeDestroys = true;
        QCOMPARE(countOf(WM_KEYDOWN), 0);
        QCOMPARE(lastOf(WM_SYSKEYDOWN)->first, VK_F4);
        QCOMPARE(countOf(WM_CLOSE), 1);
        QVERIFY(platformIsWindow(window));
    }

    // F10 is the menu key, Alt with an underlined letter opens that menu, and
    // a letter in an open menu picks its item.
    void menusFromTheKeyboard() {
        QMenuBar* menuBar = top()->findChild<QMenuBar*>();
        QVERIFY(QTest::qWaitForWindowActive(top()));
        received.clear();
        QTest::keyClick(client(), Qt::Key_F10);
        QCOMPARE(countOf(WM_KEYDOWN), 0);
        QCOMPARE(lastOf(WM_SYSKEYDOWN)->first, VK_F10);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(menuBar->activeAction()->text(), QStringLiteral("&Game"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTest::keyClick(menuBar, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());

        client()->setFocus();
        QTest::keyClick(client(), Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(menuBar->activeAction()->text(), QStringLiteral("&Options"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTest::keyClick(menuBar, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        client()->setFocus();
        received.clear();
        QTest::keyClick(client(), Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_E);  // "&Easy mode", not "E&xit"
        QTRY_COMPARE(countOf(WM_COMMAND), 1);
        QCOMPARE(lastOf(WM_COMMAND)->first, (uintptr_t)EASY);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        client()->setFocus();
    }

    void smallestWindowKeepsItsBoardArea() {
        const QSize before = top()->size();
        platformSetMinimumBoardSize(window, 300, 200);
        top()->resize(50, 50);
        QCoreApplication::processEvents();
        int width = 0, height = 0;
        platformGetClientSize(window, &width, &height);
        const double ratio = top()->devicePixelRatioF();
        QVERIFY(width >= qRound(300 * ratio));
        QVERIFY(height - platformToolbarHeight(window) - platformStatusBarHeight(window) >= qRound(200 * ratio));
        platformSetMinimumBoardSize(window, 0, 0);
        top()->resize(before);
        QCoreApplication::processEvents();
        QCOMPARE(top()->size(), before);
    }

    void mouseCoordinatesIncludeTheToolbar() {
        received.clear();
        const double ratio = top()->devicePixelRatioF();
        const int toolbarLogical = qRound(toolbarHeightSeen / ratio);
        QTest::mouseClick(client(), Qt::LeftButton, Qt::NoModifier, QPoint(15, toolbarLogical + 7));
        const Received* down = lastOf(WM_LBUTTONDOWN);
        QVERIFY(down);
        QCOMPARE(pointX(down->second), qRound(15 * ratio));
        QCOMPARE(pointY(down->second), qRound((toolbarLogical + 7) * ratio));
        QVERIFY(down->first & MK_LBUTTON);
        QVERIFY(lastOf(WM_LBUTTONUP));
        QTest::mouseClick(client(), Qt::RightButton, Qt::ShiftModifier, QPoint(30, toolbarLogical + 40));
        QVERIFY(lastOf(WM_RBUTTONDOWN));
        QCOMPARE(lastOf(WM_RBUTTONDOWN)->first, MK_RBUTTON | MK_SHIFT);
        QTest::mouseClick(client(), Qt::MiddleButton, Qt::NoModifier, QPoint(30, toolbarLogical + 40));
        QVERIFY(lastOf(WM_MBUTTONDOWN));
        QTest::mouseMove(client(), QPoint(50, toolbarLogical + 60));
        QTRY_VERIFY(lastOf(WM_MOUSEMOVE));
        QCOMPARE(pointY(lastOf(WM_MOUSEMOVE)->second), qRound((toolbarLogical + 60) * ratio));

        QWheelEvent wheel(QPointF(40, toolbarLogical + 20), client()->mapToGlobal(QPointF(40, toolbarLogical + 20)),
                          QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(client(), &wheel);
        QVERIFY(lastOf(WM_MOUSEWHEEL));
        QCOMPARE(wheelDelta(lastOf(WM_MOUSEWHEEL)->first), -120);

        // A click on the toolbar is the toolbar's, not the board's.
        received.clear();
        QToolBar* toolbar = client()->findChild<QToolBar*>();
        QTest::mouseClick(toolbar, Qt::LeftButton, Qt::NoModifier, QPoint(toolbar->width() - 3, 3));
        QCOMPARE(countOf(WM_LBUTTONDOWN), 0);
    }

    void toolbarButtonsSendCommandsAndAskForTips() {
        QToolBar* toolbar = client()->findChild<QToolBar*>();
        QVERIFY(toolbar);
        QCOMPARE(toolbar->y(), 0);
        QList<QToolButton*> buttons = toolbar->findChildren<QToolButton*>();
        QToolButton* hint = nullptr;
        for (QToolButton* button : buttons)
            if (button->property("mjCommand").toUInt() == HINT) hint = button;
        QVERIFY(hint);
        QCOMPARE(hint->focusPolicy(), Qt::NoFocus);
        received.clear();
        QTest::mouseClick(hint, Qt::LeftButton);
        QCOMPARE(countOf(WM_COMMAND), 1);
        QCOMPARE(lastOf(WM_COMMAND)->first, (uintptr_t)HINT);

        tooltipCommand = 0;
        QPoint centre = hint->rect().center();
        QHelpEvent help(QEvent::ToolTip, centre, hint->mapToGlobal(centre));
        QApplication::sendEvent(hint, &help);
        QCOMPARE(tooltipCommand, HINT);
        const Received* notify = lastOf(WM_NOTIFY);
        QVERIFY(notify);
        QCOMPARE(notify->first, (uintptr_t)TOOLBAR_CONTROL_ID);
        QTRY_COMPARE(QToolTip::text(), QString::fromUtf8("Tip for 40005 é"));
        QToolTip::hideText();
    }

    void statusTextFromAnotherThread() {
        QLabel* label = client()->findChild<QStatusBar*>()->findChild<QLabel*>();
        QVERIFY(label);
        std::thread poster([this] {
            platformSetStatusText(window, "first");
            platformSetStatusText(window, "144 Tiles   Chrono : 00:01:05 \x80");
        });
        poster.join();
        QTRY_COMPARE(label->text(), QString::fromUtf8("144 Tiles   Chrono : 00:01:05 €"));
        platformSetStatusText(window, "");
        QTRY_COMPARE(label->text(), QString());
    }

    void presentFromAnotherThreadShowsThePixels() {
        int width = 0, height = 0;
        platformGetClientSize(window, &width, &height);
        const int boardHeight = height - toolbarHeightSeen - statusHeightSeen;
        QVERIFY(boardHeight > 50);
        std::vector<uint32_t> pixels((size_t)width * (size_t)boardHeight);
        for (int y = 0; y < boardHeight; ++y)
            for (int x = 0; x < width; ++x)
                pixels[(size_t)(y * width + x)] = (uint32_t)(x & 0xFF) | ((uint32_t)(y & 0xFF) << 8) | (0x40u << 16);
        Surface board{width, boardHeight, pixels.data()};
        std::atomic<bool> done{false};
        std::thread painter([&] {
            platformPresentSurface(window, &board, 0, toolbarHeightSeen);
            done = true;
        });
        painter.join();
        QVERIFY(done);
        QCoreApplication::processEvents();
        QImage shot = client()->grab().toImage();
        shot.setDevicePixelRatio(1.0);
        auto expect = [&](int x, int y) {
            QColor colour = shot.pixelColor(x, toolbarHeightSeen + y);
            QCOMPARE(colour.red(), x & 0xFF);
            QCOMPARE(colour.green(), y & 0xFF);
            QCOMPARE(colour.blue(), 0x40);
        };
        expect(5, 5);
        expect(100, 37);
        expect(width - 1, boardHeight / 2);
        // The window shows the surface itself, not a copy taken when it was presented.
        {
            std::lock_guard<std::recursive_mutex> lock(platformSurfaceLock());
            pixels[(size_t)(5 * width + 5)] = 0x00010203u;
        }
        shot = client()->grab().toImage();
        shot.setDevicePixelRatio(1.0);
        QCOMPARE(shot.pixelColor(5, toolbarHeightSeen + 5), QColor(3, 2, 1));
        // Partly outside: clipped, no harm.
        Surface small{4, 4, pixels.data()};
        platformPresentSurface(window, &small, -2, -2);
        platformPresentSurface(window, &small, width - 1, height - 1);
        platformPresentSurface(window, nullptr, 0, 0);
    }

    void paintRequestsComeAsOnePaint() {
        QCoreApplication::processEvents();
        received.clear();
        platformInvalidateWindow(window);
        platformInvalidateWindow(window);
        platformInvalidateWindow(window);
        std::thread other([this] { platformInvalidateWindow(window); });
        other.join();
        QCOMPARE(countOf(WM_PAINT), 0);
        QCoreApplication::processEvents();
        QCOMPARE(countOf(WM_PAINT), 1);
        platformInvalidateWindow(window);  // a new request after the paint: a new paint
        QCoreApplication::processEvents();
        QCOMPARE(countOf(WM_PAINT), 2);
    }

    void timersAndPostedMessages() {
        received.clear();
        QVERIFY(platformSetTimer(window, 900, 5));
        QTRY_VERIFY(countOf(WM_TIMER) >= 2);
        QCOMPARE(lastOf(WM_TIMER)->first, (uintptr_t)900);
        platformKillTimer(window, 900);
        QCoreApplication::processEvents();
        int ticks = countOf(WM_TIMER);
        QTest::qWait(30);
        QCOMPARE(countOf(WM_TIMER), ticks);

        std::thread poster([this] { QVERIFY(platformPostMessage(window, WM_USER + 3, 7, 9)); });
        poster.join();
        QTRY_VERIFY(lastOf(WM_USER + 3));
        QCOMPARE(lastOf(WM_USER + 3)->first, (uintptr_t)7);
        QCOMPARE(platformSendMessage(window, WM_COMMAND, 40001, 0), 0);
        QCOMPARE(lastOf(WM_COMMAND)->first, (uintptr_t)40001);
    }

    void cursorsAndResources() {
        QVERIFY(platformSetCursor(window, CURSOR_RESOURCE_NORMAL));
        QCOMPARE(client()->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(client()->cursor().hotSpot(), QPoint(8, 3));
        QVERIFY(platformSetCursor(window, CURSOR_RESOURCE_PRESSED));
        QCOMPARE(client()->cursor().hotSpot(), QPoint(7, 11));
        QVERIFY(platformSetCursor(window, CURSOR_APPSTARTING));
        QCOMPARE(client()->cursor().shape(), Qt::BusyCursor);
        QVERIFY(platformSetCursor(window, CURSOR_ARROW));
        QCOMPARE(client()->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!platformSetCursor(window, 12345));
        QVERIFY(!platformSetCursor(nullptr, CURSOR_ARROW));

        const uint8_t* data = nullptr;
        size_t size = 0;
        QVERIFY(platformResourceData(RESOURCE_ICON_STRIP, &data, &size));
        QVERIFY(size > 54);
        QCOMPARE(data[0], (uint8_t)'B');
        QCOMPARE(data[1], (uint8_t)'M');
        QVERIFY(platformResourceData(RESOURCE_LARGE_ICON_STRIP, &data, &size));  // for dense screens
        QCOMPARE(data[18] | data[19] << 8, 320);
        QVERIFY(platformResourceData(RESOURCE_PROGRAM_ICON, &data, &size));
        QVERIFY(!platformResourceData(999, &data, &size));
        QVERIFY(!QApplication::windowIcon().isNull());
        QVERIFY(QApplication::windowIcon().availableSizes().size() >= 4);
    }

    void menuIconsAndDestruction() {
        std::vector<uint32_t> pixels(16 * 16, 0x000000FFu);
        Surface icon{16, 16, pixels.data()};
        QVERIFY(platformSetMenuItemIcon(bar, NEW_GAME, &icon));
        QAction* newGame = findAction(top()->findChild<QMenuBar*>(), QStringLiteral("&New game"));
        QVERIFY(!newGame->icon().isNull());
        QVERIFY(!platformSetMenuItemIcon(bar, 4242, &icon));

        // Rebuilding the way the game does: submenus first, then the bar.
        platformDestroyMenu(languageMenu);
        QVERIFY(!platformCheckMenuItem(bar, LANGUAGE_FIRST, true));
        platformDestroyMenu(optionsMenu);
        platformDestroyMenu(gameMenu);
        platformDestroyMenu(bar);
        platformDestroyMenu(bar);  // twice: ignored
        QVERIFY(!platformCheckMenuItem(bar, NEW_GAME, true));
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(client()->y(), 0);  // no bar any more

        MenuHandle newBar = platformCreateMenuBar();
        MenuHandle popup = platformCreatePopupMenu();
        QVERIFY(platformAppendMenuItem(popup, 40021, "Help\tF1"));
        QVERIFY(platformAppendSubmenu(newBar, popup, "&Help"));
        QVERIFY(!platformAppendSubmenu(newBar, popup, "again"));  // one parent only
        QVERIFY(platformAttachMenuBar(window, newBar));
        QCoreApplication::processEvents();
        QVERIFY(client()->y() > 0);
        received.clear();
        findAction(top()->findChild<QMenuBar*>(), QStringLiteral("Help"))->trigger();
        QCOMPARE(lastOf(WM_COMMAND)->first, (uintptr_t)40021);
        bar = newBar;
    }

    void closingAsksTheProcedure() {
        closeDestroys = false;
        top()->close();
        QCoreApplication::processEvents();
        QVERIFY(platformIsWindow(window));
        QCOMPARE(lastOf(WM_CLOSE) != nullptr, true);
        closeDestroys = true;
        received.clear();
        QWidget* widget = top();
        widget->close();
        QCOMPARE(countOf(WM_DESTROY), 1);
        QVERIFY(!platformIsWindow(window));
        QVERIFY(!widget->isVisible());
        // A stale handle is harmless, from any thread.
        std::vector<uint32_t> pixels(4, 0);
        Surface surface{2, 2, pixels.data()};
        std::thread late([this, &surface] {
            platformPresentSurface(window, &surface, 0, 0);
            platformSetStatusText(window, "late");
            QVERIFY(!platformPostMessage(window, WM_USER, 0, 0));
        });
        late.join();
        QCoreApplication::processEvents();
        QVERIFY(!platformSetTimer(window, 1, 10));
        platformDestroyMenu(bar);
        QCOMPARE(countOf(WM_DESTROY), 1);
        window = nullptr;
    }

    void quitMessageEndsTheLoop() {
        platformPostQuitMessage(7);
        QCOMPARE(platformRunMessageLoop(), 7);  // posted before the loop: at once
        std::thread poster([] { platformPostQuitMessage(3); });
        const int code = platformRunMessageLoop();  // the quit may come before any timer would
        poster.join();
        QCOMPARE(code, 3);
    }

    void splashGoesWhenTheWindowShows() {
        std::vector<uint32_t> pixels(120 * 80, 0x00336699u);
        Surface picture{120, 80, pixels.data()};
        platformShowSplash(&picture);
        QVERIFY(platformSplashShown());
        QWidget* splash = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && (widget->windowFlags() & Qt::SplashScreen) == Qt::SplashScreen) splash = widget;
        QVERIFY(splash);
        QCOMPARE(splash->size(), QSize(120, 80));  // as on a normal screen, whatever the pixel ratio
        QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(splash->geometry().center().x() / 4, work.center().x() / 4);
        WindowHandle second = platformCreateMainWindow("second", 0, 0, 300, 200, recordingProc);
        QVERIFY(second);
        platformShowWindow(second);
        QVERIFY(!platformSplashShown());
        platformDestroyWindow(second);
        QVERIFY(!platformIsWindow(second));
        Surface empty{0, 0, nullptr};
        platformShowSplash(&empty);
        QVERIFY(!platformSplashShown());
    }

    // Window values come from the settings file unchecked: a negative size once
    // wrapped around to the largest window the toolkit allows.
    void absurdGeometryFromTheSettingsStaysInRange() {
        WindowHandle odd = platformCreateMainWindow("odd", INT_MAX, INT_MIN, INT_MIN, INT_MIN, recordingProc);
        QVERIFY(odd);
        QVERIFY(platformTopWidget(odd)->width() <= 100);
        QVERIFY(platformTopWidget(odd)->height() <= 100);
        platformDestroyWindow(odd);
    }
};

QObject* newWindowTests() { return new WindowTests(); }
#include "test_window.moc"
