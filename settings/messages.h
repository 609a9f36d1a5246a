// Message boxes titled with the program title, shown by the host.
#pragma once
#include "platform/window.h"

enum MessageKind { MessageInformation, MessageExclamation, MessageError };

void showMessage(WindowHandle owner, const char* text, MessageKind kind);
// "<file name> : <text>" with the exclamation icon.
void showFileMessage(WindowHandle owner, const char* fileName, const char* text);
// OK/Cancel question with the information icon; true on OK.
bool askOkCancel(WindowHandle owner, const char* text);
