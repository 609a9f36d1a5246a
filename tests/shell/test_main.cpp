// Runs the shell's widget tests on the offscreen platform. A watchdog closes
// any modal window that nobody expected, so that a fault shows as a failed
// test rather than a hung one.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/app.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/shell/shell_suites.h"
#include "tests/shell/shell_support.h"

int unexpectedModals = 0;

namespace {

void startWatchdog() {
    auto* watchdog = new QTimer();
    watchdog->setInterval(3000);
    QObject::connect(watchdog, &QTimer::timeout, [] {
        static QWidget* seen = nullptr;
        QWidget* modal = QApplication::activeModalWidget();
        // A dialog a test armed for is its own business, however slowly it comes.
        if (!modal || !modal->isVisible() || dialogsAwaited > 0) {
            seen = nullptr;
            return;
        }
        if (modal != seen) {  // give the test one period to deal with it
            seen = modal;
            return;
        }
        QString text = modal->windowTitle();
        if (QMessageBox* box = qobject_cast<QMessageBox*>(modal)) text += " / " + box->text();
        std::fprintf(stderr, "watchdog: closing an unexpected modal window: %s\n", text.toLocal8Bit().constData());
        ++unexpectedModals;
        shelltest::closeModal(modal, false);
        seen = nullptr;
    });
    watchdog->start();
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!platformInitialise(argc, argv)) return 2;
    startWatchdog();
    // MJ_SHELL_SUITE names the suites to run, separated by commas (the sound
    // menus need an audio device).
    const char* only = std::getenv("MJ_SHELL_SUITE");
    int failures = 0;
    for (const ShellSuite& suite : shellSuites()) {
        if (only && !QString(only).split(',').contains(suite.name)) continue;
        if (!only && suite.needsAudio) continue;
        std::unique_ptr<QObject> object(suite.make());
        failures += QTest::qExec(object.get(), argc, argv);
    }
    if (unexpectedModals > 0) {
        std::fprintf(stderr, "%d unexpected modal windows\n", unexpectedModals);
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
