// The colour chooser and the colour swatches of the colour dialogs.
#include "dialogs/dialogs.h"
#include "platform/dialogs.h"
#include "platform/filedialogs.h"

uint32_t pickColor(WindowHandle owner, uint32_t initial) {
    uint32_t chosen = 0;
    if (!platformChooseColour(owner, initial, &chosen)) return 0;
    return chosen & 0x00FFFFFF;  // pure black comes back as 0, the same as cancelling
}

void paintSwatch(WindowHandle dialog, int32_t id, uint32_t colour) {
    platformSetSwatchColour(dialog, id, colour);
}
