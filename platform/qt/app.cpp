// The application object, the dispatcher of calls posted from other threads,
// the message loop and the quit message.
#include <QApplication>
#include <QIcon>
#include <atomic>

#include "platform/app.h"
#include "platform/messages.h"
#include "platform/qt/window_qt.h"

namespace {
int applicationArgc = 0;
QObject* dispatcher = nullptr;
std::atomic<bool> quitPending{false};
std::atomic<int> quitCode{0};
}  // namespace

QObject* platformDispatcher() { return dispatcher; }

bool platformInitialise(int argc, char** argv) {
    if (dispatcher) return true;
    platformEnsureResources();
    if (!QApplication::instance()) {
        static char fallbackName[] = "mahjong";
        static char* fallbackArgv[] = {fallbackName, nullptr};
        applicationArgc = argc > 0 && argv ? argc : 1;
        // Kept until the process ends: the automatic player's thread may still
        // post frames while the program returns from main.
        new QApplication(applicationArgc, argc > 0 && argv ? argv : fallbackArgv);
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    QCoreApplication::setApplicationName(QStringLiteral("mahjong"));
    QApplication::setQuitOnLastWindowClosed(false);  // only the quit message ends the loop
    QApplication::setWindowIcon(platformProgramIcon());
    dispatcher = new QObject();
    return true;
}

void platformProcessEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

int platformRunMessageLoop() {
    if (!quitPending.load()) QCoreApplication::exec();
    quitPending.store(false);
    return quitCode.load();
}

void platformPostQuitMessage(int code) {
    quitCode.store(code);
    quitPending.store(true);
    if (dispatcher) platformRunLater([] {
        if (quitPending.load()) QCoreApplication::exit(quitCode.load());
    });
}
