// The dialog manager: modal dialogs built from templates in dialog units.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/dialogs.h"
#include "platform/qt/caption.h"
#include "platform/qt/text.h"
#include "platform/qt/window_qt.h"

namespace {

constexpr double DIALOG_FONT_POINTS = 8.0;

QFont dialogFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(DIALOG_FONT_POINTS);
    return font;
}

// Pixels per dialog unit, the old way: a quarter of the average width of the
// letters, an eighth of the font's height.
void dialogUnits(const QFont& font, double* unitX, double* unitY) {
    QFontMetrics metrics(font);
    int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    int average = (letters / 26 + 1) / 2;
    *unitX = (average > 0 ? average : 1) / 4.0;
    *unitY = (metrics.height() > 0 ? metrics.height() : 8) / 8.0;
}

int unitsToPixels(double unit, int units) { return (int)std::lround(units * unit); }

// "&&" is a plain "&"; a single "&" marks a mnemonic, not shown by statics.
QString withoutMnemonics(const QString& text) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) result += QLatin1Char('&');
            ++i;
            if (i < text.size() && text[i] != QLatin1Char('&')) result += text[i];
            continue;
        }
        result += text[i];
    }
    return result;
}

class Swatch : public QWidget {
public:
    explicit Swatch(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    bool setColour(QColor colour) {
        bool changed = !hasColour_ || colour != colour_;
        colour_ = colour;
        hasColour_ = true;
        return changed;
    }
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), hasColour_ ? colour_ : palette().color(QPalette::Window));
    }

private:
    QColor colour_;
    bool hasColour_ = false;
};

// Check boxes and radio buttons take a click anywhere in their rectangle,
// not only on the mark and the text.
template <typename Button>
class WholeButton : public Button {
public:
    WholeButton(const QString& text, QWidget* parent) : Button(text, parent) {}

protected:
    bool hitButton(const QPoint& position) const override { return this->rect().contains(position); }
};

// A group box as the old dialogs drew it: an etched frame whose top line runs
// through the middle of the title.
class GroupFrame : public QWidget {
public:
    GroupFrame(const QString& title, QWidget* parent) : QWidget(parent), title_(title) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setTitle(const QString& title) {
        title_ = title;
        update();
    }
    QString title() const { return title_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QFontMetrics metrics(font());
        const int lineY = metrics.height() / 2;
        const int textLeft = metrics.averageCharWidth() + 2;
        const int textWidth = title_.isEmpty() ? 0 : metrics.horizontalAdvance(title_) + 4;
        QRect frame(0, lineY, width() - 2, height() - lineY - 2);
        const QColor dark = palette().color(QPalette::Mid), light = palette().color(QPalette::Light);
        for (int pass = 0; pass < 2; ++pass) {
            painter.setPen(pass == 0 ? light : dark);
            QRect r = frame.translated(pass == 0 ? 1 : 0, pass == 0 ? 1 : 0);
            painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
            painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
            painter.drawLine(r.left(), r.top(), textWidth ? textLeft - 2 : r.right(), r.top());
            if (textWidth) painter.drawLine(textLeft + textWidth - 2, r.top(), r.right(), r.top());
        }
        if (textWidth) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QRect(textLeft, 0, textWidth, metrics.height()), Qt::AlignCenter, title_);
        }
    }

private:
    QString title_;
};

void fitDialog(PlatformWindow* window);

class DialogWidget : public QDialog {
public:
    DialogWidget(PlatformWindow* window, QWidget* parent) : QDialog(parent), window_(window) {}
    QPushButton* defaultButton = nullptr;
    bool painting = false;

    void reject() override {}  // Escape and the like never close a dialog

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Escape: event->accept(); return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (event->modifiers() & ~Qt::KeypadModifier) break;
                if (defaultButton && defaultButton->isEnabled()) defaultButton->click();
                event->accept();
                return;
            case Qt::Key_F4:
                if (event->modifiers() & Qt::AltModifier) {  // without a window manager
                    event->accept();
                    platformDeliver(window_, WM_CLOSE, 0, 0);
                    return;
                }
                break;
            default: break;
        }
        QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        platformDeliver(window_, WM_CLOSE, 0, 0);
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange) fitDialog(window_);
        QDialog::changeEvent(event);
    }
    void paintEvent(QPaintEvent* event) override {
        QDialog::paintEvent(event);
        painting = true;
        platformDeliver(window_, WM_PAINT, 0, 0);
        painting = false;
    }

private:
    PlatformWindow* window_;
};

PlatformWindow* liveDialog(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    return window && window->kind == WINDOW_KIND_DIALOG ? window : nullptr;
}

DialogControl* findControl(WindowHandle handle, int32_t id) {
    PlatformWindow* window = liveDialog(handle);
    if (!window) return nullptr;
    for (DialogControl& control : window->controls)
        if (control.id == id && control.widget) return &control;
    return nullptr;
}

QComboBox* findList(WindowHandle handle, int32_t id) {
    DialogControl* control = findControl(handle, id);
    return control ? qobject_cast<QComboBox*>(control->widget.data()) : nullptr;
}

// The dialog is as wide as its caption needs; the client area keeps the
// template's size, centred below the caption.
void fitDialog(PlatformWindow* window) {
    QWidget* dialog = window->widget;
    QWidget* client = window->client;
    if (!dialog || !client) return;
    const QMargins margins = dialogContentMargins(dialog);
    const int inner = client->width();
    const int width = std::max(inner + margins.left() + margins.right(), dialogCaptionWidth(dialog));
    dialog->setFixedSize(width, client->height() + margins.top() + margins.bottom());
    client->move(margins.left() + (width - margins.left() - margins.right() - inner) / 2, margins.top());
}

void buildItem(PlatformWindow* window, DialogWidget* dialog, const DialogItem& item,
               std::vector<QButtonGroup*>& groups, bool& previousWasRadio) {
    QWidget* client = window->client;
    const QString text = fromGameText(item.text);
    const int32_t id = item.id;
    QRect box(unitsToPixels(window->unitX, item.x), unitsToPixels(window->unitY, item.y),
              unitsToPixels(window->unitX, item.width), unitsToPixels(window->unitY, item.height));
    QWidget* widget = nullptr;
    int group = -1;
    auto command = [window, id] { platformDeliver(window, WM_COMMAND, (uintptr_t)(uint32_t)id, 0); };
    switch (item.kind) {
        case DIALOG_STATIC: {
            QLabel* label = new QLabel(withoutMnemonics(text), client);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            Qt::Alignment horizontal = (item.flags & DIALOG_FLAG_CENTRE) ? Qt::AlignHCenter
                                     : (item.flags & DIALOG_FLAG_RIGHT)  ? Qt::AlignRight
                                                                         : Qt::AlignLeft;
            label->setAlignment(horizontal | Qt::AlignTop);
            label->setContentsMargins(0, 0, 0, 0);
            widget = label;
            break;
        }
        case DIALOG_BUTTON:
        case DIALOG_DEFAULT_BUTTON: {
            QPushButton* button = new QPushButton(text, client);
            button->setAutoDefault(false);
            if (item.kind == DIALOG_DEFAULT_BUTTON && !dialog->defaultButton) {
                button->setDefault(true);
                dialog->defaultButton = button;
            }
            QObject::connect(button, &QPushButton::clicked, dialog, command);
            widget = button;
            break;
        }
        case DIALOG_CHECKBOX: {
            QCheckBox* box = new WholeButton<QCheckBox>(text, client);
            QObject::connect(box, &QCheckBox::clicked, dialog, command);
            widget = box;
            break;
        }
        case DIALOG_RADIO: {
            QRadioButton* radio = new WholeButton<QRadioButton>(text, client);
            radio->setAutoExclusive(false);
            if (!previousWasRadio || (item.flags & DIALOG_FLAG_GROUP) || groups.empty()) {
                QButtonGroup* buttons = new QButtonGroup(dialog);
                buttons->setExclusive(true);
                groups.push_back(buttons);
            }
            groups.back()->addButton(radio);
            group = (int)groups.size() - 1;
            QObject::connect(radio, &QRadioButton::clicked, dialog, command);
            widget = radio;
            break;
        }
        case DIALOG_GROUPBOX: {
            widget = new GroupFrame(withoutMnemonics(text), client);
            break;
        }
        case DIALOG_EDIT: {
            QLineEdit* edit = new QLineEdit(text, client);
            edit->setFrame(true);
            widget = edit;
            break;
        }
        case DIALOG_LIST: {
            QComboBox* list = new QComboBox(client);
            list->setEditable(false);
            list->setFont(dialog->font());
            int closedHeight = list->sizeHint().height();
            int itemHeight = QFontMetrics(dialog->font()).height() + 2;
            int rows = (box.height() - closedHeight) / (itemHeight > 0 ? itemHeight : 1);
            list->setMaxVisibleItems(rows > 1 ? rows : 1);
            box.setHeight(closedHeight);
            widget = list;
            break;
        }
        case DIALOG_ICON: {
            QLabel* icon = new QLabel(client);
            icon->setPixmap(platformProgramIcon().pixmap(QSize(32, 32)));
            box.setSize(QSize(32, 32));
            widget = icon;
            break;
        }
        case DIALOG_SWATCH: widget = new Swatch(client); break;
        default: return;
    }
    previousWasRadio = item.kind == DIALOG_RADIO;
    widget->setGeometry(box);
    window->controls.push_back({id, item.kind, widget, group});
}

}  // namespace

int platformDialogUnitsToPixelsX(WindowHandle handle, int units) {
    PlatformWindow* window = liveDialog(handle);
    double unitX = 0, unitY = 0;
    if (window)
        unitX = window->unitX;
    else
        dialogUnits(dialogFont(), &unitX, &unitY);
    return unitsToPixels(unitX, units);
}

int platformDialogUnitsToPixelsY(WindowHandle handle, int units) {
    PlatformWindow* window = liveDialog(handle);
    double unitX = 0, unitY = 0;
    if (window)
        unitY = window->unitY;
    else
        dialogUnits(dialogFont(), &unitX, &unitY);
    return unitsToPixels(unitY, units);
}

int platformRunDialog(WindowHandle owner, const DialogTemplate* dialogTemplate, WindowProcedure procedure,
                      intptr_t parameter) {
    if (!platformDispatcher() || !dialogTemplate || !procedure ||
        (dialogTemplate->itemCount > 0 && !dialogTemplate->items) || dialogTemplate->itemCount < 0)
        return -1;
    PlatformWindow* window = platformNewWindowRecord();
    window->kind = WINDOW_KIND_DIALOG;
    window->procedure = procedure;
    window->dialogParameter = parameter;
    QWidget* ownerWidget = platformTopWidget(owner);
    DialogWidget* dialog = new DialogWidget(window, ownerWidget);
    window->widget = dialog;
    QFont font = dialogFont();
    dialog->setFont(font);
    dialogUnits(font, &window->unitX, &window->unitY);
    dialog->setWindowTitle(fromGameText(dialogTemplate->caption));
    dialog->setModal(true);
    dialog->setWindowModality(Qt::ApplicationModal);
    platformDressDialog(dialog, ownerWidget, false);
    QWidget* client = new QWidget(dialog);
    client->resize(unitsToPixels(window->unitX, dialogTemplate->width),
                   unitsToPixels(window->unitY, dialogTemplate->height));
    window->client = client;
    fitDialog(window);

    std::vector<QButtonGroup*> groups;
    bool previousWasRadio = false;
    for (int i = 0; i < dialogTemplate->itemCount; ++i)
        buildItem(window, dialog, dialogTemplate->items[i], groups, previousWasRadio);
    for (DialogControl& control : window->controls)  // frames beneath the controls they hold
        if (control.kind == DIALOG_GROUPBOX && control.widget) control.widget->lower();

    platformDeliver(window, WM_INITDIALOG, 0, parameter);
    int result = window->dialogResult;
    if (!window->endRequested) {
        centreDialog(dialog, ownerWidget);  // at its final size: the caption may have changed
        dialog->exec();
        result = window->dialogResult;
        platformReactivate(dialog->parentWidget());
    }
    window->destroyed.store(true);
    window->controls.clear();
    delete dialog;
    return result;
}

void platformEndDialog(WindowHandle handle, int result) {
    PlatformWindow* window = liveDialog(handle);
    if (!window) return;
    window->dialogResult = result;
    window->endRequested = true;
    if (window->widget->isVisible()) static_cast<QDialog*>(window->widget.data())->done(result);
}

bool platformSetItemText(WindowHandle dialog, int32_t id, const char* text) {
    DialogControl* control = findControl(dialog, id);
    if (!control) return false;
    QString value = fromGameText(text);
    QWidget* widget = control->widget;
    if (QLabel* label = qobject_cast<QLabel*>(widget)) {
        if (control->kind == DIALOG_ICON) return false;
        label->setText(withoutMnemonics(value));
    } else if (QAbstractButton* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (GroupFrame* frame = dynamic_cast<GroupFrame*>(widget)) {
        frame->setTitle(withoutMnemonics(value));
    } else if (QLineEdit* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else {
        return false;
    }
    return true;
}

int platformGetItemText(WindowHandle dialog, int32_t id, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    DialogControl* control = findControl(dialog, id);
    if (!control) return 0;
    QWidget* widget = control->widget;
    QString value;
    if (QLabel* label = qobject_cast<QLabel*>(widget))
        value = label->text();
    else if (QAbstractButton* button = qobject_cast<QAbstractButton*>(widget))
        value = button->text();
    else if (GroupFrame* frame = dynamic_cast<GroupFrame*>(widget))
        value = frame->title();
    else if (QLineEdit* edit = qobject_cast<QLineEdit*>(widget))
        value = edit->text();
    else if (QComboBox* list = qobject_cast<QComboBox*>(widget))
        value = list->currentIndex() >= 0 ? list->currentText() : QString();
    return copyGameText(value, buffer, size);
}

bool platformSetItemChecked(WindowHandle dialog, int32_t id, bool checked) {
    DialogControl* control = findControl(dialog, id);
    if (!control) return false;
    QAbstractButton* button = qobject_cast<QAbstractButton*>(control->widget.data());
    if (!button || !button->isCheckable()) return false;
    QButtonGroup* group = button->group();
    if (group && !checked) {  // an exclusive group would refuse to clear its button
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
    } else {
        button->setChecked(checked);
    }
    return true;
}

bool platformIsItemChecked(WindowHandle dialog, int32_t id) {
    DialogControl* control = findControl(dialog, id);
    if (!control) return false;
    QAbstractButton* button = qobject_cast<QAbstractButton*>(control->widget.data());
    return button && button->isCheckable() && button->isChecked();
}

void platformListClear(WindowHandle dialog, int32_t id) {
    if (QComboBox* list = findList(dialog, id)) list->clear();
}

int platformListAdd(WindowHandle dialog, int32_t id, const char* text) {
    QComboBox* list = findList(dialog, id);
    if (!list || !text) return -1;
    QString value = fromGameText(text);
    int index = 0;
    while (index < list->count() && QString::compare(list->itemText(index), value, Qt::CaseInsensitive) <= 0)
        ++index;
    const int selected = list->currentIndex();
    list->insertItem(index, value);
    if (selected < 0) list->setCurrentIndex(-1);  // adding selects nothing
    return index;
}

int platformListCount(WindowHandle dialog, int32_t id) {
    QComboBox* list = findList(dialog, id);
    return list ? list->count() : 0;
}

int platformListSelectPrefix(WindowHandle dialog, int32_t id, const char* prefix) {
    QComboBox* list = findList(dialog, id);
    if (!list || !prefix) return -1;
    QString value = fromGameText(prefix);
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).startsWith(value, Qt::CaseInsensitive)) {
            list->setCurrentIndex(i);
            return i;
        }
    return -1;
}

int platformListSelection(WindowHandle dialog, int32_t id) {
    QComboBox* list = findList(dialog, id);
    return list ? list->currentIndex() : -1;
}

bool platformListGetSelectedText(WindowHandle dialog, int32_t id, char* buffer, size_t size) {
    QComboBox* list = findList(dialog, id);
    if (!list || list->currentIndex() < 0 || !buffer || size == 0) return false;
    copyGameText(list->itemText(list->currentIndex()), buffer, size);
    return true;
}

bool platformSetSwatchColour(WindowHandle dialog, int32_t id, uint32_t colour) {
    DialogControl* control = findControl(dialog, id);
    if (!control || control->kind != DIALOG_SWATCH) return false;
    Swatch* swatch = static_cast<Swatch*>(control->widget.data());
    bool changed = swatch->setColour(QColor((int)(colour & 0xFF), (int)((colour >> 8) & 0xFF),
                                            (int)((colour >> 16) & 0xFF)));
    DialogWidget* owner = static_cast<DialogWidget*>(liveDialog(dialog)->widget.data());
    // Asked for while the dialog paints: repaint only what changed, or it never ends.
    if (!owner->painting)
        swatch->repaint();
    else if (changed)
        swatch->update();
    return true;
}
