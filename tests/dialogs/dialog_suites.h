// The test classes of the dialogs, run one after the other.
#pragma once
#include <QObject>
#include <vector>

QObject* newInfoDialogTests();
QObject* newSettingsDialogTests();
QObject* newDialogs3DTests();

inline std::vector<QObject*> allDialogSuites() {
#if MJ_DIALOG_TESTS_3D
    return {newDialogs3DTests()};
#else
    return {newInfoDialogTests(), newSettingsDialogTests()};
#endif
}
