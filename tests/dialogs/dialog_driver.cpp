#include "tests/dialogs/dialog_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "platform/dialogs.h"
#include "platform/qt/window_qt.h"

int actionsRun = 0;
int dialogsAwaited = 0;

namespace {

// At least 30 s for a dialog to open: the sanitizer builds on a busy machine are slow.
constexpr int POLL_MILLISECONDS = 10;
constexpr int POLL_TRIES = 3000;

void pollAgain(int triesLeft, std::function<bool()> attempt) {
    QTimer::singleShot(POLL_MILLISECONDS, [triesLeft, attempt] {
        if (attempt() || triesLeft == 0) {
            --dialogsAwaited;
            return;
        }
        pollAgain(triesLeft - 1, attempt);
    });
}

void poll(int triesLeft, std::function<bool()> attempt) {
    ++dialogsAwaited;
    pollAgain(triesLeft, attempt);
}

}  // namespace

void whenDialogOpens(int32_t closeId, std::function<void(WindowHandle, QDialog*)> action) {
    poll(POLL_TRIES, [closeId, action] {
        QDialog* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || qobject_cast<QColorDialog*>(dialog) || !dialog->isVisible()) return false;
        WindowHandle handle = platformHandleOf(dialog);
        if (!handle) return false;
        QPointer<QDialog> guard(dialog);
        ++actionsRun;
        action(handle, dialog);
        if (guard && dialogIsOpen(guard)) click(handle, closeId);
        return true;
    });
}

void whenColourChooserOpens(std::function<void(QColorDialog*)> action) {
    poll(POLL_TRIES, [action] {
        QColorDialog* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!chooser || !chooser->isVisible()) return false;
        QPointer<QColorDialog> guard(chooser);
        ++actionsRun;
        action(chooser);
        if (guard && guard->isVisible()) guard->reject();
        return true;
    });
}

QWidget* controlWidget(WindowHandle dialog, int32_t id) {
    PlatformWindow* window = platformLiveWindow(dialog);
    if (!window) return nullptr;
    for (const DialogControl& control : window->controls)
        if (control.id == id) return control.widget.data();
    return nullptr;
}

std::vector<int32_t> controlIds(WindowHandle dialog) {
    std::vector<int32_t> ids;
    PlatformWindow* window = platformLiveWindow(dialog);
    if (window)
        for (const DialogControl& control : window->controls) ids.push_back(control.id);
    return ids;
}

QString itemText(WindowHandle dialog, int32_t id) {
    QWidget* widget = controlWidget(dialog, id);
    if (QLabel* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (QAbstractButton* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (QLineEdit* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (QComboBox* list = qobject_cast<QComboBox*>(widget)) return list->currentText();
    // Group boxes are the window layer's own frames: ask the layer for their title.
    char text[256];
    if (widget && platformGetItemText(dialog, id, text, sizeof text) >= 0) return QString::fromLatin1(text);
    return QStringLiteral("<no control>");
}

bool isChecked(WindowHandle dialog, int32_t id) {
    QAbstractButton* button = qobject_cast<QAbstractButton*>(controlWidget(dialog, id));
    return button && button->isChecked();
}

void click(WindowHandle dialog, int32_t id) {
    if (QAbstractButton* button = qobject_cast<QAbstractButton*>(controlWidget(dialog, id))) button->click();
}

bool dialogIsOpen(QDialog* dialog) { return dialog && dialog->isVisible(); }

QColor swatchColour(WindowHandle dialog, int32_t id) {
    QWidget* swatch = controlWidget(dialog, id);
    if (!swatch) return QColor();
    QImage picture = swatch->grab().toImage();
    if (picture.isNull()) return QColor();
    return picture.pixelColor(picture.width() / 2, picture.height() / 2);
}

QColor asQColor(uint32_t colour) {
    return QColor((int)(colour & 0xFF), (int)((colour >> 8) & 0xFF), (int)((colour >> 16) & 0xFF));
}
