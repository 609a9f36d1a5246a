// The main window: its widgets, the translation of Qt's events into window
// messages, timers, repaint requests, presenting frames and its geometry.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <cmath>
#include <cstring>

#include "platform/messages.h"
#include "platform/qt/text.h"
#include "platform/qt/window_qt.h"
#include "platform/splash.h"
#include "platform/surface.h"
#include "platform/ui.h"

void platformMenuWindowGone(PlatformWindow* window);  // menus.cpp

namespace {

std::mutex registryMutex;
// Never freed, see PlatformWindow; held through a pointer so that the list
// outlives the static destructors (and the records stay reachable).
std::vector<PlatformWindow*>& allWindows = *new std::vector<PlatformWindow*>();

// Window sizes and positions come from the settings file unchecked: absurd
// ones are held to a range in which adding frames and margins cannot overflow.
int deviceRound(double value) {
    constexpr double LIMIT = 1 << 24;
    if (!(value > -LIMIT)) value = -LIMIT;
    if (value > LIMIT) value = LIMIT;
    return (int)std::lround(value);
}

uintptr_t virtualKey(const QKeyEvent* event) {
    const int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (uintptr_t)(key - Qt::Key_F1);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? VK_NUMPAD0 : 0x30) + (uintptr_t)(key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return (uintptr_t)key;  // same codes
    switch (key) {
        case Qt::Key_Space: return VK_SPACE;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Down: return VK_DOWN;
        case Qt::Key_Home: return VK_HOME;
        case Qt::Key_End: return VK_END;
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        case Qt::Key_Insert: return VK_INSERT;
        case Qt::Key_Delete: return VK_DELETE;
        case Qt::Key_Clear: return 0x0C;  // keypad 5 without Num Lock
        case Qt::Key_Escape: return VK_ESCAPE;
        case Qt::Key_Return:
        case Qt::Key_Enter: return VK_RETURN;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return VK_TAB;
        case Qt::Key_Backspace: return VK_BACK;
        case Qt::Key_Shift: return VK_SHIFT;
        case Qt::Key_Control: return VK_CONTROL;
        case Qt::Key_Alt: return VK_MENU;
        case Qt::Key_Pause: return VK_PAUSE;
        case Qt::Key_Asterisk: return keypad ? VK_MULTIPLY : 0;
        case Qt::Key_Plus: return keypad ? VK_ADD : 0xBB;
        case Qt::Key_Minus: return keypad ? VK_SUBTRACT : 0xBD;
        case Qt::Key_Period: return keypad ? VK_DECIMAL : 0xBE;
        case Qt::Key_Slash: return keypad ? VK_DIVIDE : 0xBF;
        case Qt::Key_Comma: return 0xBC;
        default: return 0;
    }
}

uintptr_t mouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    uintptr_t flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

// Frame margins of the window manager, measured on the first main window shown.
struct FrameMargins {
    bool measured = false;
    int left = 0, top = 0, right = 0, bottom = 0;  // logical pixels
} frameMargins;

void deliverKey(PlatformWindow* window, QKeyEvent* event, bool down) {
    uintptr_t key = virtualKey(event);
    if (key == 0) {
        event->ignore();
        return;
    }
    event->accept();
    // With Alt held (and Alt itself, and F10, the menu key) a key is a system
    // key: Alt+F4 closes, F10 opens the menu bar.
    const bool system = (event->modifiers() & Qt::AltModifier) || key == VK_MENU || key == VK_F10;
    uint32_t message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    platformDeliver(window, message, key, event->isAutoRepeat() ? KEY_REPEAT_FLAG : 0);
}

void sendFocus(PlatformWindow* window, bool active) {
    if (window->active == active || window->destroyed.load()) return;
    window->active = active;
    platformDeliver(window, active ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

class ClientWidget : public QWidget {
public:
    ClientWidget(PlatformWindow* window, QWidget* parent) : QWidget(parent), window_(window) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        std::lock_guard<std::recursive_mutex> surfaces(platformSurfaceLock());
        std::lock_guard<std::mutex> lock(window_->frameMutex);
        const Surface* surface = window_->shownSurface;
        if (surface && !surfaceIsEmpty(surface)) {
            // The surface's own pixels, 0x00BBGGRR: red, green, blue and an unused
            // byte in memory. Drawn on the opaque window, that byte is ignored.
            QImage image(reinterpret_cast<const uchar*>(surface->pixels), surface->width, surface->height,
                         surface->width * 4, QImage::Format_RGBX8888);
            const double ratio = platformDevicePixelRatio(window_);
            image.setDevicePixelRatio(ratio);
            const QRectF shown(window_->shownX / ratio, window_->shownY / ratio, surface->width / ratio,
                               surface->height / ratio);
            const QRegion uncovered = QRegion(rect()) - QRegion(shown.toAlignedRect());
            for (const QRect& part : uncovered) painter.fillRect(part, Qt::black);
            painter.drawImage(shown.topLeft(), image);
        } else if (!window_->frame.isNull()) {
            painter.drawImage(QPointF(0, 0), window_->frame);
        } else {
            painter.fillRect(rect(), Qt::black);
        }
    }
    void keyPressEvent(QKeyEvent* event) override { deliverKey(window_, event, true); }
    void keyReleaseEvent(QKeyEvent* event) override { deliverKey(window_, event, false); }
    bool focusNextPrevChild(bool) override { return false; }  // Tab is a key like any other
    void mousePressEvent(QMouseEvent* event) override { button(event, true); }
    void mouseReleaseEvent(QMouseEvent* event) override { button(event, false); }
    void mouseMoveEvent(QMouseEvent* event) override {
        platformDeliver(window_, WM_MOUSEMOVE, mouseFlags(event->buttons(), event->modifiers()),
                        point(event->position()));
    }
    void wheelEvent(QWheelEvent* event) override {
        int delta = event->angleDelta().y();
        if (delta == 0) {
            event->ignore();
            return;
        }
        platformDeliver(window_, WM_MOUSEWHEEL, (uintptr_t)(intptr_t)delta, point(event->position()));
    }

private:
    intptr_t point(QPointF position) const {
        double ratio = platformDevicePixelRatio(window_);
        return packPoint((int)std::floor(position.x() * ratio), (int)std::floor(position.y() * ratio));
    }
    void button(QMouseEvent* event, bool down) {
        uint32_t message;
        switch (event->button()) {
            case Qt::LeftButton: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
            case Qt::RightButton: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
            case Qt::MiddleButton: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
            default: event->ignore(); return;
        }
        if (down) setFocus(Qt::MouseFocusReason);
        platformDeliver(window_, message, mouseFlags(event->buttons(), event->modifiers()),
                        point(event->position()));
    }
    PlatformWindow* window_;
};

class MainWidget : public QWidget {
public:
    explicit MainWidget(PlatformWindow* window) : QWidget(nullptr), window_(window) {
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();  // the procedure decides; its default destroys the window
        platformDeliver(window_, WM_CLOSE, 0, 0);
    }
    void resizeEvent(QResizeEvent*) override {
        platformLayoutMainWindow(window_);
        settleFrame();
    }
    void moveEvent(QMoveEvent*) override { settleFrame(); }
    void showEvent(QShowEvent*) override {
        platformLayoutMainWindow(window_);
        platformInvalidateWindow((WindowHandle)window_);
        QTimer::singleShot(0, this, [this] { settleFrame(); });
        // Without a window manager no frame ever comes; stop waiting for one.
        QTimer::singleShot(3000, this, [this] { window_->frameSettled = true; });
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange) sendFocus(window_, isActiveWindow());
        QWidget::changeEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override { deliverKey(window_, event, true); }
    void keyReleaseEvent(QKeyEvent* event) override { deliverKey(window_, event, false); }
    void timerEvent(QTimerEvent* event) override {
        for (const auto& timer : window_->timers)
            if (timer.second == event->timerId()) {
                platformDeliver(window_, WM_TIMER, timer.first, 0);
                return;
            }
    }

private:
    // Once the window manager has put its frame around the window, the outer
    // rectangle is made the one asked for at creation.
    void settleFrame() {
        if (window_->frameSettled || !isVisible()) return;
        QRect outer = frameGeometry(), inner = geometry();
        int left = inner.left() - outer.left(), top = inner.top() - outer.top();
        int right = outer.right() - inner.right(), bottom = outer.bottom() - inner.bottom();
        if (left == 0 && top == 0 && right == 0 && bottom == 0) return;
        window_->frameSettled = true;
        frameMargins = {true, left, top, right, bottom};
        double ratio = platformDevicePixelRatio(window_);
        int width = deviceRound(window_->requestedWidth / ratio) - left - right;
        int height = deviceRound(window_->requestedHeight / ratio) - top - bottom;
        if (width > 0 && height > 0) resize(width, height);
        move(deviceRound(window_->requestedX / ratio), deviceRound(window_->requestedY / ratio));
    }
    PlatformWindow* window_;
};

// F10: the first menu of the bar opens, as a click on it would.
void openFirstMenu(QMenuBar* bar) {
    for (QAction* action : bar->actions())
        if (action->menu() && action->isVisible() && action->isEnabled()) {
            bar->setActiveAction(action);
            return;
        }
}

double screenRatio() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

}  // namespace

PlatformWindow* platformNewWindowRecord() {
    PlatformWindow* window = new PlatformWindow();
    std::lock_guard<std::mutex> lock(registryMutex);
    allWindows.push_back(window);
    return window;
}

PlatformWindow* platformLiveWindow(WindowHandle handle) {
    if (!handle) return nullptr;
    PlatformWindow* window = handle;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        bool known = false;
        for (PlatformWindow* w : allWindows)
            if (w == window) known = true;
        if (!known) return nullptr;
    }
    if (window->destroyed.load() || !window->widget) return nullptr;
    return window;
}

PlatformWindow* platformKnownWindow(WindowHandle handle) {
    if (!handle) return nullptr;
    std::lock_guard<std::mutex> lock(registryMutex);
    for (PlatformWindow* w : allWindows)
        if (w == handle) return w->destroyed.load() ? nullptr : w;
    return nullptr;
}

WindowHandle platformHandleOf(QWidget* widget) {
    std::lock_guard<std::mutex> lock(registryMutex);
    for (PlatformWindow* w : allWindows)
        if (!w->destroyed.load() && w->widget == widget) return w;
    return nullptr;
}

QWidget* platformClientWidget(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    return window ? window->client.data() : nullptr;
}

QWidget* platformTopWidget(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    return window ? window->widget.data() : nullptr;
}

void platformReactivate(QWidget* owner) {
    if (!owner || !owner->isVisible()) return;
    QWidget* active = QApplication::activeWindow();
    if (active && active != owner) return;  // the user went elsewhere meanwhile
    owner->activateWindow();
}

double platformDevicePixelRatio(PlatformWindow* window) {
    if (window && window->widget) return window->widget->devicePixelRatioF();
    return screenRatio();
}

int32_t platformDeliver(PlatformWindow* window, uint32_t message, uintptr_t first, intptr_t second) {
    if (!window || window->destroyed.load() || !window->procedure) return 0;
    return window->procedure((WindowHandle)window, message, first, second);
}

void platformLayoutMainWindow(PlatformWindow* window) {
    if (!window || window->kind != WINDOW_KIND_MAIN || !window->widget || !window->client) return;
    QWidget* top = window->widget;
    int menuHeight = 0;
    if (window->menuBar) {
        menuHeight = window->menuBar->heightForWidth(top->width());
        if (menuHeight <= 0) menuHeight = window->menuBar->sizeHint().height();
    }
    int barsHeight = menuHeight;
    if (window->toolbar) barsHeight += window->toolbar->sizeHint().height();
    if (window->statusBar) barsHeight += window->statusBar->sizeHint().height();
    const bool limited = window->minimumBoardWidth > 0 || window->minimumBoardHeight > 0;
    const QSize minimum = limited ? QSize(window->minimumBoardWidth, window->minimumBoardHeight + barsHeight)
                                  : QSize(0, 0);
    if (top->minimumSize() != minimum) top->setMinimumSize(minimum);  // a smaller window grows
    const int width = top->width(), height = top->height();
    if (window->menuBar) {
        menuHeight = window->menuBar->heightForWidth(width);
        if (menuHeight <= 0) menuHeight = window->menuBar->sizeHint().height();
        window->menuBar->setGeometry(0, 0, width, menuHeight);
    }
    const int clientHeight = height > menuHeight ? height - menuHeight : 0;
    window->client->setGeometry(0, menuHeight, width, clientHeight);
    if (window->toolbar)
        window->toolbar->setGeometry(0, 0, width, window->toolbar->sizeHint().height());
    if (window->statusBar) {
        int statusHeight = window->statusBar->sizeHint().height();
        window->statusBar->setGeometry(0, clientHeight - statusHeight, width, statusHeight);
    }
    const double ratio = platformDevicePixelRatio(window);
    const int deviceWidth = deviceRound(width * ratio), deviceHeight = deviceRound(clientHeight * ratio);
    {
        std::lock_guard<std::mutex> lock(window->frameMutex);
        window->deviceWidth = deviceWidth > 0 ? deviceWidth : 1;
        window->deviceHeight = deviceHeight > 0 ? deviceHeight : 1;
        // A 3D frame keeps what it showed, as far as it fits, until the next one.
        if (!window->frame.isNull() && (window->frame.width() != deviceWidth || window->frame.height() != deviceHeight ||
                                        window->frame.devicePixelRatio() != ratio)) {
            QImage frame(deviceWidth > 0 ? deviceWidth : 1, deviceHeight > 0 ? deviceHeight : 1,
                         QImage::Format_RGBX8888);
            frame.fill(Qt::black);
            if (!window->frame.isNull()) {
                QPainter painter(&frame);
                QImage old = window->frame;
                old.setDevicePixelRatio(1.0);
                painter.drawImage(0, 0, old);
            }
            frame.setDevicePixelRatio(ratio);
            window->frame = frame;
        }
    }
    if (window->creating) return;
    if (deviceWidth != window->lastClientWidth || deviceHeight != window->lastClientHeight) {
        window->lastClientWidth = deviceWidth;
        window->lastClientHeight = deviceHeight;
        uintptr_t kind = top->isMaximized() ? SIZE_MAXIMIZED : top->isMinimized() ? SIZE_MINIMIZED
                                                                                 : SIZE_RESTORED;
        platformDeliver(window, WM_SIZE, kind, packPoint(deviceWidth, deviceHeight));
        platformInvalidateWindow((WindowHandle)window);
    }
}

int32_t platformDefaultWindowProc(WindowHandle handle, uint32_t message, uintptr_t first, intptr_t) {
    if (message == WM_SYSKEYDOWN && first == VK_F10) {
        PlatformWindow* window = platformLiveWindow(handle);
        if (window && window->menuBar) openFirstMenu(window->menuBar);
        return 0;
    }
    if (message == WM_SYSKEYDOWN && first == VK_F4) {
        PlatformWindow* window = platformLiveWindow(handle);
        if (window && window->kind == WINDOW_KIND_MAIN) platformDeliver(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_CLOSE) {
        PlatformWindow* window = platformLiveWindow(handle);
        if (window && window->kind == WINDOW_KIND_MAIN) platformDestroyWindow(handle);
    }
    return 0;
}

WindowHandle platformCreateMainWindow(const char* title, int x, int y, int width, int height,
                                      WindowProcedure procedure) {
    if (!QApplication::instance() || !platformDispatcher() || !procedure) return nullptr;
    PlatformWindow* window = platformNewWindowRecord();
    window->kind = WINDOW_KIND_MAIN;
    window->procedure = procedure;
    window->requestedX = x;
    window->requestedY = y;
    window->requestedWidth = width;
    window->requestedHeight = height;
    MainWidget* top = new MainWidget(window);
    window->widget = top;
    top->setWindowTitle(fromGameText(title));
    top->setWindowIcon(platformProgramIcon());
    ClientWidget* client = new ClientWidget(window, top);
    window->client = client;
    top->setFocusProxy(client);

    const double ratio = screenRatio();
    int frameWidth = frameMargins.left + frameMargins.right;
    int frameHeight = frameMargins.top + frameMargins.bottom;
    int logicalWidth = deviceRound(width / ratio) - frameWidth;
    int logicalHeight = deviceRound(height / ratio) - frameHeight;
    top->resize(logicalWidth > 100 ? logicalWidth : 100, logicalHeight > 100 ? logicalHeight : 100);
    top->move(deviceRound(x / ratio), deviceRound(y / ratio));
    window->frameSettled = frameMargins.measured;

    window->creating = true;
    platformLayoutMainWindow(window);
    platformDeliver(window, WM_CREATE, 0, 0);
    window->creating = false;
    if (window->destroyed.load()) return nullptr;
    platformLayoutMainWindow(window);  // the first WM_SIZE
    return window;
}

void platformShowWindow(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window) return;
    window->widget->show();
    window->widget->raise();
    window->widget->activateWindow();
    window->client->setFocus(Qt::ActiveWindowFocusReason);
    platformHideSplash();
}

void platformDestroyWindow(WindowHandle handle) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window) return;
    platformDeliver(window, WM_DESTROY, 0, 0);
    QWidget* top = window->widget;
    for (const auto& timer : window->timers)
        if (top) top->killTimer(timer.second);
    window->timers.clear();
    platformMenuWindowGone(window);
    window->destroyed.store(true);
    {
        std::lock_guard<std::mutex> lock(window->frameMutex);
        window->frame = QImage();
        window->shownSurface = nullptr;
    }
    if (top) {
        top->hide();
        top->deleteLater();
    }
}

bool platformIsWindow(WindowHandle handle) { return platformLiveWindow(handle) != nullptr; }

int32_t platformSendMessage(WindowHandle handle, uint32_t message, uintptr_t first, intptr_t second) {
    return platformDeliver(platformLiveWindow(handle), message, first, second);
}

bool platformPostMessage(WindowHandle handle, uint32_t message, uintptr_t first, intptr_t second) {
    PlatformWindow* window = platformKnownWindow(handle);
    if (!window || !platformDispatcher()) return false;
    platformRunLater([window, message, first, second] {
        platformDeliver(window, message, first, second);
    });
    return true;
}

void platformInvalidateWindow(WindowHandle handle) {
    PlatformWindow* window = platformKnownWindow(handle);
    if (!window || !platformDispatcher() || window->paintPending.exchange(true)) return;
    platformRunLater([window] {
        window->paintPending.store(false);
        if (window->destroyed.load() || !window->widget || !window->widget->isVisible()) return;
        platformDeliver(window, WM_PAINT, 0, 0);
    });
}

bool platformSetTimer(WindowHandle handle, uint32_t id, uint32_t milliseconds) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window) return false;
    auto existing = window->timers.find(id);
    if (existing != window->timers.end()) {
        window->widget->killTimer(existing->second);
        window->timers.erase(existing);
    }
    int qtId = window->widget->startTimer((int)(milliseconds > 0x7FFFFFFF ? 0x7FFFFFFF : milliseconds));
    if (qtId == 0) return false;
    window->timers[id] = qtId;
    return true;
}

void platformKillTimer(WindowHandle handle, uint32_t id) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window) return;
    auto existing = window->timers.find(id);
    if (existing == window->timers.end()) return;
    window->widget->killTimer(existing->second);
    window->timers.erase(existing);
}

void platformPresentSurface(WindowHandle handle, const Surface* surface, int x, int y) {
    PlatformWindow* window = platformKnownWindow(handle);
    if (!window || window->kind != WINDOW_KIND_MAIN) return;
    {
        std::lock_guard<std::mutex> lock(window->frameMutex);
        window->shownSurface = surface;
        window->shownX = x;
        window->shownY = y;
        window->frame = QImage();  // a 3D frame shown before is not needed any more
    }
    if (!window->updatePending.exchange(true)) {
        platformRunLater([window] {
            window->updatePending.store(false);
            if (!window->destroyed.load() && window->client) window->client->update();
        });
    }
}

void platformSetWindowTitle(WindowHandle handle, const char* title) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (window) window->widget->setWindowTitle(fromGameText(title));
}

void platformSetMinimumBoardSize(WindowHandle handle, int width, int height) {
    PlatformWindow* window = platformLiveWindow(handle);
    if (!window || window->kind != WINDOW_KIND_MAIN) return;
    window->minimumBoardWidth = width > 0 ? width : 0;
    window->minimumBoardHeight = height > 0 ? height : 0;
    platformLayoutMainWindow(window);
}

void platformGetClientSize(WindowHandle handle, int* width, int* height) {
    PlatformWindow* window = platformLiveWindow(handle);
    int w = 0, h = 0;
    if (window && window->client) {
        double ratio = platformDevicePixelRatio(window);
        w = deviceRound(window->client->width() * ratio);
        h = deviceRound(window->client->height() * ratio);
    }
    if (width) *width = w;
    if (height) *height = h;
}

void platformGetWindowRect(WindowHandle handle, int* left, int* top, int* right, int* bottom) {
    PlatformWindow* window = platformLiveWindow(handle);
    QRect outer;
    double ratio = 1.0;
    if (window) {
        ratio = platformDevicePixelRatio(window);
        outer = window->widget->frameGeometry();
        if (!window->widget->isVisible() || outer == window->widget->geometry())
            outer = window->widget->geometry().marginsAdded(
                QMargins(frameMargins.left, frameMargins.top, frameMargins.right, frameMargins.bottom));
    }
    if (left) *left = deviceRound(outer.x() * ratio);
    if (top) *top = deviceRound(outer.y() * ratio);
    if (right) *right = deviceRound((outer.x() + outer.width()) * ratio);
    if (bottom) *bottom = deviceRound((outer.y() + outer.height()) * ratio);
}

int platformMetric(PlatformMetric metric) {
    const double ratio = screenRatio();
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int frameX = (frameMargins.left + frameMargins.right) / 2;
    const int frameY = frameMargins.bottom;
    switch (metric) {
        case METRIC_MAXIMIZED_WIDTH: return deviceRound((work.width() + 2 * frameX) * ratio);
        case METRIC_MAXIMIZED_HEIGHT: return deviceRound((work.height() + 2 * frameY) * ratio);
        case METRIC_FRAME_WIDTH:
        case METRIC_DIALOG_FRAME_WIDTH: return deviceRound(frameX * ratio);
        case METRIC_FRAME_HEIGHT: return deviceRound(frameY * ratio);
        case METRIC_CAPTION_HEIGHT: {
            int caption = frameMargins.top - frameMargins.bottom;
            return deviceRound((caption > 0 ? caption : 0) * ratio);
        }
        case METRIC_MENU_HEIGHT: {
            std::lock_guard<std::mutex> lock(registryMutex);
            for (PlatformWindow* w : allWindows)
                if (!w->destroyed.load() && w->menuBar && w->widget)
                    return deviceRound(w->menuBar->sizeHint().height() * ratio);
            QMenuBar probe;
            probe.addMenu(QStringLiteral("Game"));
            return deviceRound(probe.sizeHint().height() * ratio);
        }
        case METRIC_MENU_CHECK_WIDTH:
        case METRIC_MENU_CHECK_HEIGHT:
            return deviceRound(QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize) * ratio);
    }
    return 0;
}
