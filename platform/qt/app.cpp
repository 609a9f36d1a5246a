// The application object, the dispatcher of calls posted from other threads,
// the message loop and the quit message.
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <atomic>
#include <deque>
#include <mutex>
#include <utility>

#include "platform/app.h"
#include "platform/messages.h"
#include "platform/qt/window_qt.h"

namespace {
int applicationArgc = 0;
std::atomic<bool> quitPending{false};
std::atomic<int> quitCode{0};

// Calls posted from any thread wait in a queue of the platform's own, under
// a lock of its own, and one empty event a call wakes the dispatcher: all
// that passes between the threads, the event included, passes through that
// lock (Qt's own locks are invisible to ThreadSanitizer).
constexpr QEvent::Type RUN_LATER_EVENT = QEvent::User;
std::mutex laterLock;
std::deque<std::function<void()>> laterCalls;  // guarded by laterLock

// The object on the window thread that runs the posted calls, the oldest
// first, one an event.
class Dispatcher : public QObject {
public:
    bool event(QEvent* event) override {
        bool posted;
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> guard(laterLock);
            posted = event->type() == RUN_LATER_EVENT;
            if (posted && !laterCalls.empty()) {
                call = std::move(laterCalls.front());
                laterCalls.pop_front();
            }
        }
        if (!posted) return QObject::event(event);
        if (call) call();
        return true;
    }
};

Dispatcher* dispatcher = nullptr;
}  // namespace

void platformRunLater(std::function<void()> fn) {
    if (!dispatcher) return;
    QEvent* wake = new QEvent(RUN_LATER_EVENT);  // made before the call is queued
    {
        std::lock_guard<std::mutex> guard(laterLock);
        laterCalls.push_back(std::move(fn));
    }
    QCoreApplication::postEvent(dispatcher, wake);
}

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
    dispatcher = new Dispatcher();
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
