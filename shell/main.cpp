// The program entry of Velmora's mah-jong.
#include "platform/app.h"
#include "platform/messages.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    if (!platformInitialise(argc, argv)) return 1;
    if (!prepareProgram()) return 0;
    if (!openMainWindow()) return 1;
    return platformRunMessageLoop();
}
