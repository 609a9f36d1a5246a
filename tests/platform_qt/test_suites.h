// The test classes of the window layer, run one after the other.
#pragma once
#include <QObject>
#include <vector>

QObject* newTextTests();
QObject* newWindowTests();
QObject* newDialogTests();
QObject* newCommonDialogTests();

inline std::vector<QObject*> allSuites() {
    return {newTextTests(), newWindowTests(), newDialogTests(), newCommonDialogTests()};
}
