// The toolbar (tooltips asked of the window procedure) and the status bar.
#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <cmath>
#include <cstring>

#include "platform/messages.h"
#include "platform/qt/text.h"
#include "platform/qt/window_qt.h"
#include "platform/statusbar.h"
#include "platform/toolbar.h"

namespace {

constexpr int ICON_SIZE = 16;
const char* const commandProperty = "mjCommand";

// Asks the window procedure for a button's tip when Qt wants to show one.
class TipFilter : public QObject {
public:
    TipFilter(PlatformWindow* window, QObject* parent) : QObject(parent), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        QWidget* button = qobject_cast<QWidget*>(watched);
        QVariant command = watched->property(commandProperty);
        if (!button || !command.isValid()) return false;
        TooltipRequest request;
        std::memset(&request, 0, sizeof request);
        request.header.code = NOTIFY_TOOLTIP_TEXT;
        request.header.controlId = TOOLBAR_CONTROL_ID;
        request.commandId = command.toUInt();
        platformDeliver(window_, WM_NOTIFY, TOOLBAR_CONTROL_ID, reinterpret_cast<intptr_t>(&request));
        request.text[TOOLTIP_TEXT_SIZE - 1] = '\0';
        QString text = fromGameText(request.text);
        QHelpEvent* help = static_cast<QHelpEvent*>(event);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, button);
        return true;
    }

private:
    PlatformWindow* window_;
};

// Icons are as high as the strip and shown ICON_SIZE logical pixels wide.
QIcon iconFromStrip(const QImage& strip, int index) {
    const int side = strip.height();
    QImage icon = strip.copy(index * side, 0, side, side).convertToFormat(QImage::Format_ARGB32);
    icon.setDevicePixelRatio((double)side / ICON_SIZE);
    for (int y = 0; y < icon.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == 0x00C0C0C0u) line[x] = 0;  // light grey is transparent
    }
    return QIcon(QPixmap::fromImage(icon));
}

double ratioOf(PlatformWindow* window) { return platformDevicePixelRatio(window); }

}  // namespace

QImage platformSurfaceImage(const Surface* surface) {
    if (!surface || !surface->pixels || surface->width <= 0 || surface->height <= 0) return QImage();
    QImage image(surface->width, surface->height, QImage::Format_RGBX8888);
    for (int y = 0; y < surface->height; ++y) {
        const uint32_t* source = surface->pixels + (size_t)y * (size_t)surface->width;
        uint32_t* target = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < surface->width; ++x) target[x] = source[x] | 0xFF000000u;
    }
    return image;
}

int platformCreateToolbar(WindowHandle handle, const Surface* iconStrip, const ToolbarEntry* entries,
                          int count) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || window->kind != WINDOW_KIND_MAIN || (!entries && count > 0) || count < 0) return 0;
    if (window->toolbar) window->toolbar->deleteLater();
    QImage strip = platformSurfaceImage(iconStrip);
    QToolBar* toolbar = new QToolBar(window->client);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setFocusPolicy(Qt::NoFocus);
    toolbar->setIconSize(QSize(ICON_SIZE, ICON_SIZE));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setAttribute(Qt::WA_NoMousePropagation);
    toolbar->setCursor(Qt::ArrowCursor);
    toolbar->setAutoFillBackground(true);
    TipFilter* tips = new TipFilter(window, toolbar);
    for (int i = 0; i < count; ++i) {
        if (entries[i].icon == TOOLBAR_SEPARATOR) {
            toolbar->addSeparator();
            continue;
        }
        QAction* action = toolbar->addAction(QString());
        int index = entries[i].icon;
        if (!strip.isNull() && index >= 0 && (index + 1) * strip.height() <= strip.width())
            action->setIcon(iconFromStrip(strip, index));
        uint32_t command = (uint32_t)entries[i].command;
        QObject::connect(action, &QAction::triggered, toolbar, [window, command] {
            platformDeliver(window, WM_COMMAND, command, 0);
        });
        QWidget* button = toolbar->widgetForAction(action);
        if (button) {
            button->setFocusPolicy(Qt::NoFocus);
            button->setProperty(commandProperty, (uint)command);
            button->installEventFilter(tips);
        }
    }
    window->toolbar = toolbar;
    toolbar->show();
    platformLayoutMainWindow(window);
    return platformToolbarHeight(handle);
}

int platformIconScale(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    return platformDevicePixelRatio(window) >= 2.0 ? 2 : 1;
}

int platformToolbarHeight(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || !window->toolbar) return 0;
    return (int)std::lround(window->toolbar->sizeHint().height() * ratioOf(window));
}

int platformCreateStatusBar(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || window->kind != WINDOW_KIND_MAIN) return 0;
    if (window->statusBar) window->statusBar->deleteLater();
    QStatusBar* bar = new QStatusBar(window->client);
    bar->setAttribute(Qt::WA_NoMousePropagation);
    bar->setCursor(Qt::ArrowCursor);
    bar->setAutoFillBackground(true);
    bar->setSizeGripEnabled(false);
    QLabel* label = new QLabel(bar);
    label->setTextFormat(Qt::PlainText);
    label->setIndent(2);
    bar->addWidget(label, 1);
    window->statusBar = bar;
    window->statusLabel = label;
    bar->show();
    platformLayoutMainWindow(window);
    return platformStatusBarHeight(handle);
}

int platformStatusBarHeight(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || !window->statusBar) return 0;
    return (int)std::lround(window->statusBar->sizeHint().height() * ratioOf(window));
}

void platformSetStatusText(WindowHandle handle, const char* text) {
    PlatformWindow* window = platformKnownWindow(handle);
    if (!window || !text || !platformDispatcher()) return;
    {
        std::lock_guard<std::mutex> lock(window->statusMutex);
        window->pendingStatus = fromGameText(text);
    }
    if (window->statusPending.exchange(true)) return;
    platformRunLater([window] {
        window->statusPending.store(false);
        QString text;
        {
            std::lock_guard<std::mutex> lock(window->statusMutex);
            text = window->pendingStatus;
        }
        if (!window->destroyed.load() && window->statusLabel) window->statusLabel->setText(text);
    });
}
