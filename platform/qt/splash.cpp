// The splash picture: a frameless window centred on the screen.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "platform/qt/window_qt.h"
#include "platform/splash.h"

namespace {
QPointer<QLabel> splash;
constexpr int EXPOSE_WAIT_MS = 500;  // at most, for the window manager to show the splash
}

void platformShowSplash(const Surface* picture) {
    platformHideSplash();
    QImage image = platformSurfaceImage(picture);
    if (image.isNull() || !platformDispatcher()) return;
    QScreen* screen = QGuiApplication::primaryScreen();
    double ratio = screen ? screen->devicePixelRatio() : 1.0;
    // As large as on a normal screen: one picture pixel a logical pixel,
    // smoothly enlarged on a denser screen.
    const QSize size = image.size();
    if (ratio > 1.0)
        image = image.scaled(qRound(size.width() * ratio), qRound(size.height() * ratio), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    QLabel* label = new QLabel(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    label->setAttribute(Qt::WA_DeleteOnClose);
    label->setPixmap(QPixmap::fromImage(image));
    label->setContentsMargins(0, 0, 0, 0);
    label->resize(size);
    QRect work = screen ? screen->availableGeometry() : QRect(0, 0, size.width(), size.height());
    label->move(work.x() + (work.width() - size.width()) / 2, work.y() + (work.height() - size.height()) / 2);
    label->show();
    splash = label;
    // Drawn at once: the program goes on starting before its loop runs. The
    // window must be on the screen first (a window manager maps it a little
    // later), or the picture stays black until the main window replaces it.
    QElapsedTimer waited;
    waited.start();
    while (label->windowHandle() && !label->windowHandle()->isExposed() && waited.elapsed() < EXPOSE_WAIT_MS)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    label->repaint();
    QCoreApplication::processEvents();
}

void platformHideSplash() {
    if (splash) {
        splash->close();
        splash = nullptr;
    }
}

bool platformSplashShown() { return splash && splash->isVisible(); }
