#include "tests/shell/shell_suites.h"

const std::vector<ShellSuite>& shellSuites() {
    static const std::vector<ShellSuite> suites = {
        {"filelists", false, makeFileListTests},
        {"statusbar", false, makeStatusBarTests},
        {"window", false, makeWindowTests},
        {"menubar", false, makeMenuBarTests},
        {"soundmenus", true, makeSoundMenuTests},
        {"concurrency", false, makeConcurrencyTests},
    };
    return suites;
}
