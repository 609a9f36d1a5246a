// The caption bar and frame of the game's dialogs and message boxes. Window
// managers differ in which hints they follow (Openbox shows a minimise and a
// close button on every dialog whatever the hints say), so the dialogs leave
// the window manager no decorations to add and draw their own.
#include "platform/qt/caption.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>
#include <QAbstractButton>
#include <algorithm>

#include "platform/qt/window_qt.h"

namespace {

constexpr int FRAME = 1;        // the frame line around the dialog
constexpr int PADDING = 4;      // between the caption's parts
constexpr int ICON_SIDE = 16;   // the program icon in the caption
const char* const dressedProperty = "mjDressed";

QFont captionFont() {
    QFont font = QApplication::font();
    font.setBold(true);
    return font;
}

int captionHeight() {
    const int text = QFontMetrics(captionFont()).height();
    return std::max(text + 2 * PADDING, ICON_SIDE + 2 * PADDING);
}

// The close box: a cross in the caption's text colour, lit while the mouse is on it.
class CloseBox : public QAbstractButton {
public:
    explicit CloseBox(QWidget* caption) : QAbstractButton(caption) {
        setObjectName(QStringLiteral("mjCloseBox"));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
    }
    QColor colour;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (underMouse()) {
            QColor glow = colour;
            glow.setAlpha(isDown() ? 110 : 60);
            painter.setPen(Qt::NoPen);
            painter.setBrush(glow);
            painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        }
        const qreal inset = width() * 0.3;
        painter.setPen(QPen(colour, std::max(1.5, width() / 10.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(inset, inset), QPointF(width() - inset, height() - inset));
        painter.drawLine(QPointF(width() - inset, inset), QPointF(inset, height() - inset));
    }
};

class CaptionBar : public QWidget {
public:
    CaptionBar(QDialog* dialog, bool closeBox) : QWidget(dialog), dialog_(dialog) {
        setObjectName(QStringLiteral("mjCaption"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        if (closeBox) {
            close_ = new CloseBox(this);
            QObject::connect(close_, &QAbstractButton::clicked, dialog, [dialog] { dialog->close(); });
        }
    }
    int neededWidth() const {
        const int text = QFontMetrics(captionFont()).horizontalAdvance(dialog_->windowTitle());
        return 2 * FRAME + 3 * PADDING + ICON_SIDE + text + 2 * PADDING + (close_ ? buttonSide() + PADDING : 0);
    }
    void place() {
        setGeometry(FRAME, FRAME, dialog_->width() - 2 * FRAME, captionHeight());
        if (close_) {
            const int side = buttonSide();
            close_->setGeometry(width() - side - PADDING / 2, (height() - side) / 2, side, side);
        }
        raise();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const bool active = dialog_->isActiveWindow();
        const QPalette& colours = palette();
        QColor base = active ? colours.color(QPalette::Active, QPalette::Highlight)
                             : colours.color(QPalette::Inactive, QPalette::Mid);
        QLinearGradient shade(0, 0, 0, height());
        shade.setColorAt(0, base.lighter(125));
        shade.setColorAt(1, base);
        painter.fillRect(rect(), shade);
        const int iconTop = (height() - ICON_SIDE) / 2;
        painter.drawPixmap(PADDING, iconTop, platformProgramIcon().pixmap(QSize(ICON_SIDE, ICON_SIDE)));
        painter.setFont(captionFont());
        const QColor ink = active ? colours.color(QPalette::Active, QPalette::HighlightedText)
                                  : colours.color(QPalette::Inactive, QPalette::Light);
        painter.setPen(ink);
        if (close_ && close_->colour != ink) {
            close_->colour = ink;
            close_->update();
        }
        QRect text = rect().adjusted(2 * PADDING + ICON_SIDE, 0, -(close_ ? buttonSide() + PADDING : PADDING), 0);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, dialog_->windowTitle());
    }
    // The caption moves the dialog. (Qt 6.4's startSystemMove on X11 hands the
    // window manager a pointer position off by the window's own position.)
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        dragging_ = true;
        grab_ = event->globalPosition().toPoint() - dialog_->pos();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (dragging_) dialog_->move(event->globalPosition().toPoint() - grab_);
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }

private:
    int buttonSide() const { return height() - PADDING; }
    QDialog* dialog_;
    CloseBox* close_ = nullptr;
    bool dragging_ = false;
    QPoint grab_;
};

// The one-pixel frame, drawn over the dialog's edge.
class FrameLine : public QWidget {
public:
    explicit FrameLine(QWidget* dialog) : QWidget(dialog) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// Keeps caption, frame and width in step with the dialog.
class Dresser : public QObject {
public:
    Dresser(QDialog* dialog, QWidget* owner, bool closeBox)
        : QObject(dialog), dialog_(dialog), owner_(owner),
          caption_(new CaptionBar(dialog, closeBox)), frame_(new FrameLine(dialog)) {
        if (QLayout* layout = dialog->layout()) {
            spacer_ = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
            if (QGridLayout* grid = qobject_cast<QGridLayout*>(layout))
                grid->addItem(spacer_, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
            else if (QBoxLayout* box = qobject_cast<QBoxLayout*>(layout))
                box->addSpacerItem(spacer_);
            else {
                delete spacer_;
                spacer_ = nullptr;
            }
        }
        fitCaption();
        place();
        dialog->installEventFilter(this);
    }
    int neededWidth() const { return caption_->neededWidth(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Resize: place(); break;
            case QEvent::Show: place(); break;
            case QEvent::WindowTitleChange: fitCaption(); caption_->update(); break;
            case QEvent::ActivationChange: caption_->update(); break;
            case QEvent::WindowStateChange: unminimise(); break;
            default: break;
        }
        return false;
    }

private:
    void place() {
        caption_->place();
        frame_->setGeometry(dialog_->rect());
        frame_->raise();
    }
    // A dialog with a layout gets a row as wide as the caption needs; the
    // dialogs built from templates size themselves (dialogCaptionWidth).
    void fitCaption() {
        if (!spacer_) return;
        const QMargins margins = dialog_->contentsMargins();
        const int inner = neededWidth() - margins.left() - margins.right() -
                          dialog_->layout()->contentsMargins().left() - dialog_->layout()->contentsMargins().right();
        spacer_->changeSize(std::max(0, inner), 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
        dialog_->layout()->invalidate();
    }
    // A modal dialog stays on the screen while its owner is there: the window
    // manager's minimise (a key, its window menu) would leave the game locked.
    void unminimise() {
        if (!(dialog_->windowState() & Qt::WindowMinimized)) return;
        if (owner_ && owner_->isMinimized()) return;  // iconified with its owner: comes back with it
        QPointer<QDialog> dialog = dialog_;
        QTimer::singleShot(0, dialog_, [dialog] {
            if (!dialog) return;
            dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
            dialog->show();
            dialog->raise();
            dialog->activateWindow();
        });
    }
    QDialog* dialog_;
    QPointer<QWidget> owner_;
    CaptionBar* caption_;
    FrameLine* frame_;
    QSpacerItem* spacer_ = nullptr;
};

}  // namespace

void platformDressDialog(QDialog* dialog, QWidget* owner, bool closeBox) {
    if (!dialog || dialog->property(dressedProperty).toBool()) return;
    dialog->setProperty(dressedProperty, true);
    // Customised: none of the window manager's buttons; frameless: no caption of its own either.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::FramelessWindowHint;
    if (!owner) flags |= Qt::WindowStaysOnTopHint;  // no window to stay above: above all
    if (dialog->parentWidget() != owner)
        dialog->setParent(owner, flags);
    else
        dialog->setWindowFlags(flags);
    dialog->setContentsMargins(FRAME, FRAME + captionHeight(), FRAME, FRAME);
    new Dresser(dialog, owner, closeBox);
    dialog->winId();  // the native window, so that its hints are there before it shows
    platformKeepOutOfTaskbar(dialog);
}

QMargins dialogContentMargins(const QWidget*) { return QMargins(FRAME, FRAME + captionHeight(), FRAME, FRAME); }

int dialogCaptionWidth(const QWidget* dialog) {
    if (!dialog) return 0;
    for (const QObject* child : dialog->children())
        if (const CaptionBar* caption = dynamic_cast<const CaptionBar*>(child)) return caption->neededWidth();
    return 0;
}

void centreDialog(QWidget* dialog, QWidget* owner) {
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect work = screen->availableGeometry();
    const QRect around = owner && owner->isVisible() ? owner->frameGeometry() : work;
    QRect place(QPoint(0, 0), dialog->frameGeometry().size());
    place.moveCenter(around.center());
    if (place.right() > work.right()) place.moveRight(work.right());
    if (place.bottom() > work.bottom()) place.moveBottom(work.bottom());
    if (place.left() < work.left()) place.moveLeft(work.left());
    if (place.top() < work.top()) place.moveTop(work.top());
    dialog->move(place.topLeft());
}
