// Runs the dialog tests on one application object (offscreen unless a
// platform is named, so that they can also be watched on a display).
#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "platform/app.h"
#include "tests/dialogs/dialog_suites.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!platformInitialise(argc, argv)) return 2;
    int failures = 0;
    for (QObject* suite : allDialogSuites()) {
        failures += QTest::qExec(suite, argc, argv);
        delete suite;
    }
    return failures == 0 ? 0 : 1;
}
