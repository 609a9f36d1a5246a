// Runs the widget tests of the window layer on one application object.
#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "platform/app.h"
#include "tests/platform_qt/test_suites.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!platformInitialise(argc, argv)) return 2;
    int failures = 0;
    for (QObject* suite : allSuites()) {
        failures += QTest::qExec(suite, argc, argv);
        delete suite;
    }
    return failures == 0 ? 0 : 1;
}
