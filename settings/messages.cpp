#include "settings/messages.h"

#include <cstdio>

#include "engine/host.h"
#include "settings/settings.h"

void showMessage(WindowHandle owner, const char* text, MessageKind kind) {
    PlatformMessageKind platformKind = PLATFORM_MB_INFORMATION;
    if (kind == MessageExclamation) platformKind = PLATFORM_MB_EXCLAMATION;
    if (kind == MessageError) platformKind = PLATFORM_MB_ERROR;
    host.messageBox(owner, text, platformKind);
}

void showFileMessage(WindowHandle owner, const char* fileName, const char* text) {
    static char message[2 * FILE_NAME_SIZE + 8];
    snprintf(message, sizeof message, "%s : %s", fileName, text);
    showMessage(owner, message, MessageExclamation);
}

bool askOkCancel(WindowHandle owner, const char* text) {
    return host.messageBox(owner, text, PLATFORM_MB_OKCANCEL_INFORMATION);
}
