// The splash picture: a frameless window centred on the screen.
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include "platform/qt/window_qt.h"
#include "platform/splash.h"

namespace {
QPointer<QLabel> splash;
}

void platformShowSplash(const Surface* picture) {
    platformHideSplash();
    QImage image = platformSurfaceImage(picture);
    if (image.isNull() || !platformDispatcher()) return;
    QScreen* screen = QGuiApplication::primaryScreen();
    double ratio = screen ? screen->devicePixelRatio() : 1.0;
    image.setDevicePixelRatio(ratio);
    QLabel* label = new QLabel(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    label->setAttribute(Qt::WA_DeleteOnClose);
    label->setPixmap(QPixmap::fromImage(image));
    label->setContentsMargins(0, 0, 0, 0);
    QSize size(qRound(image.width() / ratio), qRound(image.height() / ratio));
    label->resize(size);
    QRect work = screen ? screen->availableGeometry() : QRect(0, 0, size.width(), size.height());
    label->move(work.x() + (work.width() - size.width()) / 2, work.y() + (work.height() - size.height()) / 2);
    label->show();
    splash = label;
    // Drawn at once: the program goes on starting before its loop runs.
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
