// The dialog manager: templates in dialog units, the default button, Escape,
// radio groups, edits, sorted lists, swatches, close requests, the owner's focus.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/qt/window_qt.h"
#include "platform/ui.h"
#include "tests/platform_qt/test_suites.h"

namespace {

enum {
    ID_PROMPT = 10,
    ID_EDIT,
    ID_OK,
    ID_MINUS,
    ID_CHECK,
    ID_DARKER,
    ID_INVERT,
    ID_OTHER_A,
    ID_OTHER_B,
    ID_LIST,
    ID_SWATCH,
    ID_FRAME,
    ID_ICON
};

const DialogItem items[] = {
    {DIALOG_STATIC, ID_PROMPT, 5, 7, 100, 8, "Your &name :", 0},
    {DIALOG_EDIT, ID_EDIT, 5, 21, 100, 12, nullptr, 0},
    {DIALOG_GROUPBOX, ID_FRAME, 120, 2, 100, 60, "Mode", 0},
    {DIALOG_RADIO, ID_DARKER, 125, 12, 80, 10, "Darker", 0},
    {DIALOG_RADIO, ID_INVERT, 125, 24, 80, 10, "Invert", 0},
    {DIALOG_RADIO, ID_OTHER_A, 125, 36, 80, 10, "Other A", DIALOG_FLAG_GROUP},
    {DIALOG_RADIO, ID_OTHER_B, 125, 48, 80, 10, "Other B", 0},
    {DIALOG_CHECKBOX, ID_CHECK, 5, 40, 100, 10, "Stretch", 0},
    {DIALOG_BUTTON, ID_MINUS, 5, 55, 14, 14, "-", 0},
    {DIALOG_LIST, ID_LIST, 5, 75, 133, 94, nullptr, 0},
    {DIALOG_SWATCH, ID_SWATCH, 150, 75, 14, 14, nullptr, 0},
    {DIALOG_ICON, ID_ICON, 180, 75, 21, 20, nullptr, 0},
    {DIALOG_DEFAULT_BUTTON, ID_OK, 31, 100, 50, 14, "OK", 0},
};
const DialogTemplate sample = {"Sample \xE9", 230, 120, items, (int32_t)(sizeof items / sizeof items[0])};

struct Event {
    uint32_t message;
    uintptr_t first;
};
std::vector<Event> events;
WindowHandle current = nullptr;
intptr_t initParameter = 0;
bool endOnOk = true;
bool endOnClose = false;
std::function<void()> script;  // runs once the dialog shows

int32_t dialogProc(WindowHandle dialog, uint32_t message, uintptr_t first, intptr_t second) {
    events.push_back({message, first});
    if (message == WM_INITDIALOG) {
        current = dialog;
        initParameter = second;
        platformSetItemText(dialog, ID_OK, "OK");
        QTimer::singleShot(0, [] {
            if (script) script();
        });
    }
    if (message == WM_COMMAND && first == ID_OK && endOnOk) platformEndDialog(dialog, 1);
    if (message == WM_CLOSE && endOnClose) platformEndDialog(dialog, 5);
    if (message == WM_PAINT) platformSetSwatchColour(dialog, ID_SWATCH, 0x00204080u);
    return 0;
}

int count(uint32_t message, uintptr_t first) {
    int n = 0;
    for (const Event& e : events)
        if (e.message == message && e.first == first) ++n;
    return n;
}

QDialog* openDialog() { return qobject_cast<QDialog*>(platformTopWidget(current)); }

template <typename T>
T* control(int id) {
    PlatformWindow* window = platformLiveWindow(current);
    if (!window) return nullptr;
    for (const DialogControl& c : window->controls)
        if (c.id == id) return qobject_cast<T*>(c.widget.data());
    return nullptr;
}

int run(std::function<void()> body) {
    events.clear();
    script = [body] {
        body();
        // Whatever happened, leave through OK.
        if (platformIsWindow(current) && openDialog()->isVisible()) {
            endOnOk = true;
            platformSendMessage(current, WM_COMMAND, ID_OK, 0);
        }
    };
    int result = platformRunDialog(nullptr, &sample, dialogProc, 77);
    script = nullptr;
    return result;
}

}  // namespace

class DialogTests : public QObject {
    Q_OBJECT
private slots:
    void enterPressesTheDefaultButton() {
        endOnOk = true;
        bool visible = false, onTop = false, noCloseBox = false;
        int result = run([&] {
            QDialog* dialog = openDialog();
            visible = dialog && dialog->isVisible();
            Qt::WindowFlags flags = dialog->windowFlags();
            onTop = flags & Qt::WindowStaysOnTopHint;
            noCloseBox = (flags & Qt::CustomizeWindowHint) && !(flags & Qt::WindowCloseButtonHint) &&
                         !(flags & Qt::WindowSystemMenuHint);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QCOMPARE(result, 1);
        QVERIFY(visible);
        QVERIFY(onTop);
        QVERIFY(noCloseBox);
        QCOMPARE(initParameter, (intptr_t)77);
        QCOMPARE(events.front().message, WM_INITDIALOG);
        QCOMPARE(count(WM_COMMAND, ID_OK), 1);
        QVERIFY(!platformIsWindow(current));
    }

    void enterFromTheEditAndOtherButtons() {
        int okFromEdit = 0, okFromButton = 0;
        run([&] {
            endOnOk = false;
            QLineEdit* edit = control<QLineEdit>(ID_EDIT);
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Return);
            okFromEdit = count(WM_COMMAND, ID_OK);
            QPushButton* minus = control<QPushButton>(ID_MINUS);
            minus->setFocus();
            QTest::keyClick(openDialog(), Qt::Key_Enter, Qt::KeypadModifier);
            okFromButton = count(WM_COMMAND, ID_OK) - okFromEdit;
            QCOMPARE(count(WM_COMMAND, ID_MINUS), 0);
            QTest::mouseClick(minus, Qt::LeftButton);
            QCOMPARE(count(WM_COMMAND, ID_MINUS), 1);
        });
        QCOMPARE(okFromEdit, 1);
        QCOMPARE(okFromButton, 1);
    }

    void escapeLeavesItOpen() {
        bool stillOpen = false, closeAsked = false, openAfterClose = false;
        run([&] {
            QDialog* dialog = openDialog();
            QTest::keyClick(dialog, Qt::Key_Escape);
            QCoreApplication::processEvents();
            stillOpen = dialog->isVisible() && platformIsWindow(current);
            dialog->close();  // the window manager's close request
            QCoreApplication::processEvents();
            closeAsked = count(WM_CLOSE, 0) == 1;
            QTest::keyClick(dialog, Qt::Key_F4, Qt::AltModifier);
            closeAsked = closeAsked && count(WM_CLOSE, 0) == 2;
            openAfterClose = dialog->isVisible();
        });
        QVERIFY(stillOpen);
        QVERIFY(closeAsked);
        QVERIFY(openAfterClose);
        QCOMPARE(count(WM_COMMAND, ID_OK), 1);  // only the final OK
    }

    void closeRequestCanEndIt() {
        endOnClose = true;
        events.clear();
        script = [] { openDialog()->close(); };
        int result = platformRunDialog(nullptr, &sample, dialogProc, 0);
        script = nullptr;
        endOnClose = false;
        QCOMPARE(result, 5);
    }

    void radioButtonsExcludeEachOtherInTheirGroup() {
        run([&] {
            QRadioButton* darker = control<QRadioButton>(ID_DARKER);
            QRadioButton* invert = control<QRadioButton>(ID_INVERT);
            QVERIFY(platformSetItemChecked(current, ID_DARKER, true));
            QVERIFY(platformIsItemChecked(current, ID_DARKER));
            QTest::mouseClick(invert, Qt::LeftButton);
            QCOMPARE(count(WM_COMMAND, ID_INVERT), 1);
            QVERIFY(platformIsItemChecked(current, ID_INVERT));
            QVERIFY(!platformIsItemChecked(current, ID_DARKER));
            QVERIFY(!darker->isChecked());
            // Another group keeps its own choice.
            QTest::mouseClick(control<QRadioButton>(ID_OTHER_B), Qt::LeftButton);
            QVERIFY(platformIsItemChecked(current, ID_OTHER_B));
            QVERIFY(platformIsItemChecked(current, ID_INVERT));
            QVERIFY(platformSetItemChecked(current, ID_DARKER, true));
            QVERIFY(!platformIsItemChecked(current, ID_INVERT));
            QVERIFY(platformIsItemChecked(current, ID_OTHER_B));
            QVERIFY(platformSetItemChecked(current, ID_DARKER, false));
            QVERIFY(!platformIsItemChecked(current, ID_DARKER));
            // Check boxes report their clicks too.
            QTest::mouseClick(control<QCheckBox>(ID_CHECK), Qt::LeftButton);
            QCOMPARE(count(WM_COMMAND, ID_CHECK), 1);
            QVERIFY(platformIsItemChecked(current, ID_CHECK));
            QVERIFY(!platformSetItemChecked(current, ID_EDIT, true));
            QVERIFY(!platformIsItemChecked(current, 9999));
        });
    }

    void editTextRoundTrip() {
        QByteArray typed, set, cut, prompt, caption;
        run([&] {
            char buffer[64];
            QLineEdit* edit = control<QLineEdit>(ID_EDIT);
            QCOMPARE(platformGetItemText(current, ID_EDIT, buffer, sizeof buffer), 0);
            QTest::keyClicks(edit, QStringLiteral("Zo"));
            edit->insert(QString::fromUtf8("ë Müller"));  // typed through an input method
            platformGetItemText(current, ID_EDIT, buffer, sizeof buffer);
            typed = buffer;
            QVERIFY(platformSetItemText(current, ID_EDIT, "Ren\xE9 \x80"));
            platformGetItemText(current, ID_EDIT, buffer, sizeof buffer);
            set = buffer;
            QCOMPARE(platformGetItemText(current, ID_EDIT, buffer, 4), 3);
            cut = buffer;
            platformGetItemText(current, ID_PROMPT, buffer, sizeof buffer);
            prompt = buffer;
            platformSetWindowTitle(current, "Caption \xE9");
            caption = toGameTextOf(openDialog()->windowTitle());
            QVERIFY(platformSetItemText(current, ID_FRAME, "Select &mode"));
            platformGetItemText(current, ID_FRAME, buffer, sizeof buffer);
            QCOMPARE(QByteArray(buffer), QByteArray("Select mode"));
            QVERIFY(!platformSetItemText(current, ID_ICON, "x"));
            QCOMPARE(platformGetItemText(current, 4242, buffer, sizeof buffer), 0);
            QCOMPARE(buffer[0], '\0');
        });
        QCOMPARE(typed, QByteArray("Zo\xEB M\xFCller"));
        QCOMPARE(set, QByteArray("Ren\xE9 \x80"));
        QCOMPARE(cut, QByteArray("Ren"));
        QCOMPARE(prompt, QByteArray("Your name :"));
        QCOMPARE(caption, QByteArray("Caption \xE9"));
    }

    void sortedListAndPrefixSelection() {
        run([&] {
            char buffer[32] = "untouched";
            QVERIFY(platformListAdd(current, ID_LIST, "english") >= 0);
            platformListAdd(current, ID_LIST, "Fran\xE7" "ais");
            platformListAdd(current, ID_LIST, "Deutsch");
            platformListAdd(current, ID_LIST, "ESPANOL");
            QCOMPARE(platformListCount(current, ID_LIST), 4);
            QComboBox* list = control<QComboBox>(ID_LIST);
            QCOMPARE(list->itemText(0), QStringLiteral("Deutsch"));
            QCOMPARE(list->itemText(1), QStringLiteral("english"));
            QCOMPARE(list->itemText(2), QStringLiteral("ESPANOL"));
            QCOMPARE(list->itemText(3), QString::fromUtf8("Français"));
            QCOMPARE(platformListSelection(current, ID_LIST), -1);  // adding selects nothing
            QVERIFY(!platformListGetSelectedText(current, ID_LIST, buffer, sizeof buffer));
            QCOMPARE(QByteArray(buffer), QByteArray("untouched"));
            QCOMPARE(platformListSelectPrefix(current, ID_LIST, "ENGLISH"), 1);
            QVERIFY(platformListGetSelectedText(current, ID_LIST, buffer, sizeof buffer));
            QCOMPARE(QByteArray(buffer), QByteArray("english"));
            QCOMPARE(platformListSelectPrefix(current, ID_LIST, "fr"), 3);
            QVERIFY(platformListGetSelectedText(current, ID_LIST, buffer, sizeof buffer));
            QCOMPARE(QByteArray(buffer), QByteArray("Fran\xE7" "ais"));
            QCOMPARE(platformListSelectPrefix(current, ID_LIST, "Italiano"), -1);
            QCOMPARE(platformListSelection(current, ID_LIST), 3);  // unchanged
            platformListAdd(current, ID_LIST, "Aa");  // the selection follows its item
            QCOMPARE(platformListSelection(current, ID_LIST), 4);
            platformListClear(current, ID_LIST);
            QCOMPARE(platformListCount(current, ID_LIST), 0);
            QCOMPARE(platformListAdd(current, 4242, "x"), -1);
        });
    }

    void geometryInDialogUnits() {
        double unitX = 0, unitY = 0;
        QRect ok, edit, list, icon, client;
        int convertedX = 0, convertedY = 0;
        run([&] {
            PlatformWindow* window = platformLiveWindow(current);
            unitX = window->unitX;
            unitY = window->unitY;
            ok = control<QPushButton>(ID_OK)->geometry();
            edit = control<QLineEdit>(ID_EDIT)->geometry();
            list = control<QComboBox>(ID_LIST)->geometry();
            icon = window->controls[11].widget->geometry();
            client = platformClientWidget(current)->rect();
            convertedX = platformDialogUnitsToPixelsX(current, 100);
            convertedY = platformDialogUnitsToPixelsY(current, 100);
            QFontMetrics metrics(openDialog()->font());
            int average = (metrics.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
            QCOMPARE(unitX, average / 4.0);
            QCOMPARE(unitY, metrics.height() / 8.0);
            QCOMPARE(openDialog()->font().pointSizeF(), 8.0);
        });
        QVERIFY(unitX >= 1.0 && unitX <= 4.0);
        QVERIFY(unitY >= 1.0 && unitY <= 4.0);
        QCOMPARE(ok, QRect(qRound(31 * unitX), qRound(100 * unitY), qRound(50 * unitX), qRound(14 * unitY)));
        QCOMPARE(edit.topLeft(), QPoint(qRound(5 * unitX), qRound(21 * unitY)));
        QCOMPARE(client.size(), QSize(qRound(230 * unitX), qRound(120 * unitY)));
        QCOMPARE(list.width(), qRound(133 * unitX));
        QVERIFY(list.height() < qRound(94 * unitY));  // the closed box; 94 is the opened list
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(convertedX, qRound(100 * unitX));
        QCOMPARE(convertedY, qRound(100 * unitY));
        QVERIFY(platformDialogUnitsToPixelsX(nullptr, 4) > 0);
    }

    void swatchShowsItsColour() {
        QColor shown, later;
        run([&] {
            QWidget* swatch = platformLiveWindow(current)->controls[10].widget;
            QVERIFY(QTest::qWaitForWindowExposed(openDialog()));
            QTRY_VERIFY(count(WM_PAINT, 0) >= 1);  // WM_PAINT sets the colour
            QImage picture = swatch->grab().toImage();
            shown = picture.pixelColor(picture.width() / 2, picture.height() / 2);
            QVERIFY(platformSetSwatchColour(current, ID_SWATCH, 0x000000FFu));
            picture = swatch->grab().toImage();
            later = picture.pixelColor(2, 2);
            QVERIFY(!platformSetSwatchColour(current, ID_EDIT, 0));
        });
        QCOMPARE(shown, QColor(0x80, 0x40, 0x20));
        QCOMPARE(later, QColor(0xFF, 0, 0));
        QVERIFY(count(WM_PAINT, 0) >= 1);
    }

    void endingInsideInitShowsNothing() {
        events.clear();
        auto quick = [](WindowHandle dialog, uint32_t message, uintptr_t, intptr_t) -> int32_t {
            if (message == WM_INITDIALOG) platformEndDialog(dialog, 9);
            return 0;
        };
        QCOMPARE(platformRunDialog(nullptr, &sample, quick, 0), 9);
        DialogTemplate broken = {"x", 10, 10, nullptr, 3};
        QCOMPARE(platformRunDialog(nullptr, &broken, quick, 0), -1);
        QCOMPARE(platformRunDialog(nullptr, nullptr, quick, 0), -1);
    }

    void ownerLosesTheFocusWhileTheDialogIsUp() {
        static std::vector<uint32_t> ownerMessages;
        ownerMessages.clear();
        auto ownerProc = [](WindowHandle w, uint32_t message, uintptr_t first, intptr_t second) -> int32_t {
            if (message == WM_SETFOCUS || message == WM_KILLFOCUS) ownerMessages.push_back(message);
            return platformDefaultWindowProc(w, message, first, second);
        };
        WindowHandle owner = platformCreateMainWindow("owner", 10, 10, 400, 300, ownerProc);
        platformShowWindow(owner);
        QVERIFY(QTest::qWaitForWindowActive(platformTopWidget(owner)));
        QTRY_VERIFY(!ownerMessages.empty() && ownerMessages.back() == WM_SETFOCUS);
        bool lostWhileOpen = false;
        events.clear();
        script = [&] {
            QTRY_VERIFY(QApplication::activeWindow() == openDialog());
            lostWhileOpen = !ownerMessages.empty() && ownerMessages.back() == WM_KILLFOCUS;
            platformSendMessage(current, WM_COMMAND, ID_OK, 0);
        };
        endOnOk = true;
        QCOMPARE(platformRunDialog(owner, &sample, dialogProc, 0), 1);
        script = nullptr;
        QVERIFY(lostWhileOpen);
        QTRY_VERIFY(ownerMessages.back() == WM_SETFOCUS);
        platformDestroyWindow(owner);
    }

    // A dialog (and a message box) of the main window is its transient, centred
    // on it, with none of the window manager's buttons, and as wide as its caption.
    void transientOfItsOwnerAndWideEnoughForItsCaption() {
        WindowHandle owner = platformCreateMainWindow("owner", 40, 30, 900, 700, platformDefaultWindowProc);
        platformShowWindow(owner);
        QWidget* ownerWidget = platformTopWidget(owner);
        QVERIFY(QTest::qWaitForWindowExposed(ownerWidget));
        const Qt::WindowFlags buttons = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                        Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
        const char* longCaption = "Velmora's mah-jong v2.0 - a caption much wider than the template";
        const DialogTemplate narrow = {longCaption, 60, 40, items + 12, 1};  // the OK button alone
        Qt::WindowFlags flags;
        QWidget* transientFor = nullptr;
        QRect dialogFrame, clientArea;
        int captionWidth = 0;
        bool closeBox = true;
        events.clear();
        endOnOk = true;
        script = [&] {
            QDialog* dialog = openDialog();
            flags = dialog->windowFlags();
            transientFor = dialog->parentWidget();
            QVERIFY(dialog->windowHandle());
            QCOMPARE(dialog->windowHandle()->transientParent(), ownerWidget->windowHandle());
            dialogFrame = dialog->frameGeometry();
            clientArea = platformClientWidget(current)->geometry();
            QFont bold = QApplication::font();
            bold.setBold(true);
            captionWidth = QFontMetrics(bold).horizontalAdvance(QString::fromLatin1(longCaption));
            closeBox = dialog->findChild<QWidget*>(QStringLiteral("mjCloseBox")) != nullptr;
            platformSendMessage(current, WM_COMMAND, ID_OK, 0);
        };
        QCOMPARE(platformRunDialog(owner, &narrow, dialogProc, 0), 1);
        script = nullptr;
        QCOMPARE(transientFor, ownerWidget);
        QVERIFY(!(flags & buttons));
        QVERIFY(!(flags & Qt::WindowStaysOnTopHint));  // above its owner only
        QVERIFY(!closeBox);
        QVERIFY(qAbs(dialogFrame.center().x() - ownerWidget->frameGeometry().center().x()) <= 2);
        QVERIFY(qAbs(dialogFrame.center().y() - ownerWidget->frameGeometry().center().y()) <= 2);
        QVERIFY(dialogFrame.width() > captionWidth);
        QVERIFY(qAbs(clientArea.center().x() - dialogFrame.width() / 2) <= 1);  // the controls stay centred

        // A message box: the same, and a close box that answers as Escape does.
        QMessageBox* box = nullptr;
        QWidget* boxOwner = nullptr;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            flags = box->windowFlags();
            boxOwner = box->parentWidget();
            QTRY_VERIFY(box->isVisible());
            dialogFrame = box->frameGeometry();
            QFont bold = QApplication::font();
            bold.setBold(true);
            captionWidth = QFontMetrics(bold).horizontalAdvance(QStringLiteral("Velmora's mah-jong v2.0"));
            QAbstractButton* close = box->findChild<QAbstractButton*>(QStringLiteral("mjCloseBox"));
            QVERIFY(close);
            close->click();
        });
        QVERIFY(!platformMessageBox(owner, "Velmora's mah-jong v2.0", "?", PLATFORM_MB_OKCANCEL_INFORMATION));
        QCOMPARE(boxOwner, ownerWidget);
        QVERIFY(!(flags & buttons));
        QVERIFY(dialogFrame.width() > captionWidth);
        QVERIFY(qAbs(dialogFrame.center().x() - ownerWidget->frameGeometry().center().x()) <= 30);
        platformDestroyWindow(owner);
    }

private:
    static QByteArray toGameTextOf(const QString& text);
};

#include "platform/qt/text.h"
QByteArray DialogTests::toGameTextOf(const QString& text) { return toGameText(text); }

QObject* newDialogTests() { return new DialogTests(); }
#include "test_dialogs.moc"
