// The suites of the shell's widget tests.
#pragma once
#include <QObject>
#include <vector>

struct ShellSuite {
    const char* name;
    bool needsAudio;  // run only when asked for by name (MJ_SHELL_SUITE)
    QObject* (*make)();
};

const std::vector<ShellSuite>& shellSuites();
extern int unexpectedModals;

QObject* makeFileListTests();
QObject* makeStatusBarTests();
QObject* makeWindowTests();
QObject* makeMenuBarTests();
QObject* makeSoundMenuTests();
QObject* makeConcurrencyTests();
