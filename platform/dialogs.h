// Modal dialogs built from templates in dialog units. A dialog is a window
// (WindowHandle) with a procedure of the WindowProcedure type
// (platform/messages.h); its result is ignored. The procedure receives:
//   WM_INITDIALOG  once, before the dialog shows; second = the parameter given
//                  to platformRunDialog
//   WM_COMMAND     first = control id: a push button was pressed (Enter presses
//                  the default button), a check box or radio button clicked
//   WM_PAINT       the dialog is being painted (after its controls are drawn
//                  again, swatches keep the colour last set)
//   WM_CLOSE       the user asked to close it (Alt+F4, the window manager); the
//                  dialog stays open unless the procedure calls platformEndDialog
// The common form: a transient of its owner's window, centred on it (without
// an owner: on the screen, above other windows), out of the task bar, never
// minimised, its own caption bar without close, minimise or maximise button,
// at least as wide as the caption needs (a wider dialog keeps its controls
// centred), the system's sans-serif font at 8 points; one dialog unit
// is a quarter of the font's average character width across and an eighth of
// its height down. Escape does nothing. While a dialog is open its owner
// takes no input and has lost the focus (WM_KILLFOCUS). Window thread only.
// Texts are Windows-1252.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/messages.h"
#include "platform/window.h"

enum DialogItemKind {
    DIALOG_STATIC,          // text, left-aligned, wrapped at word breaks
    DIALOG_BUTTON,          // push button
    DIALOG_DEFAULT_BUTTON,  // the push button pressed by Enter (exactly one a dialog)
    DIALOG_CHECKBOX,        // automatic check box
    DIALOG_RADIO,           // automatic radio button, exclusive within its group
    DIALOG_GROUPBOX,        // frame with a title, drawn beneath the other controls
    DIALOG_EDIT,            // single-line edit with a border
    DIALOG_LIST,            // drop-down list, sorted without regard to case, vertical scroll;
                            // height = the height of the opened list
    DIALOG_ICON,            // the program icon at its 32 x 32 size
    DIALOG_SWATCH           // a rectangle filled with a colour (platformSetSwatchColour)
};

// Flags of an item.
constexpr uint32_t DIALOG_FLAG_GROUP = 0x1;   // a radio button that starts a new group; radio
                                              // buttons following one another form one group
constexpr uint32_t DIALOG_FLAG_CENTRE = 0x2;  // static text centred
constexpr uint32_t DIALOG_FLAG_RIGHT = 0x4;   // static text right-aligned

constexpr int32_t DIALOG_NO_ID = -1;  // for items nobody looks up

struct DialogItem {
    int32_t kind;  // DialogItemKind
    int32_t id;    // control id (DIALOG_NO_ID for none)
    int16_t x, y, width, height;  // dialog units, relative to the client area
    const char* text;             // null for none
    uint32_t flags;
};

struct DialogTemplate {
    const char* caption;
    int16_t width, height;  // client area in dialog units
    const DialogItem* items;
    int32_t itemCount;
};

// Builds the dialog, sends WM_INITDIALOG, shows it modally (owner may be null)
// and returns the result given to platformEndDialog, or -1 when it could not
// be made.
int platformRunDialog(WindowHandle owner, const DialogTemplate* dialogTemplate,
                      WindowProcedure procedure, intptr_t parameter);
// Closes the dialog with result once the current message has been handled.
void platformEndDialog(WindowHandle dialog, int result);

// Converts dialog units of this dialog (or of the common dialog font for a
// null handle) into pixels (logical pixels of the dialog's screen).
int platformDialogUnitsToPixelsX(WindowHandle dialog, int units);
int platformDialogUnitsToPixelsY(WindowHandle dialog, int units);

// platformSetWindowTitle (platform/ui.h) sets the caption.
// Sets the text of a static, button, check box, radio button, group box or edit.
bool platformSetItemText(WindowHandle dialog, int32_t id, const char* text);
// Copies the item's text (at most size - 1 bytes, Windows-1252, zero-terminated)
// and returns its length; 0 (and an empty buffer) for an unknown item.
int platformGetItemText(WindowHandle dialog, int32_t id, char* buffer, size_t size);
// Check boxes and radio buttons; checking a radio button unchecks its group.
bool platformSetItemChecked(WindowHandle dialog, int32_t id, bool checked);
bool platformIsItemChecked(WindowHandle dialog, int32_t id);

// Drop-down lists.
void platformListClear(WindowHandle dialog, int32_t id);
// Inserts at its sorted place; returns the index, or -1.
int platformListAdd(WindowHandle dialog, int32_t id, const char* text);
int platformListCount(WindowHandle dialog, int32_t id);
// Selects the first item beginning with prefix, ignoring case; returns its
// index, or -1 (the selection then stays as it was).
int platformListSelectPrefix(WindowHandle dialog, int32_t id, const char* prefix);
// Index of the selected item, or -1.
int platformListSelection(WindowHandle dialog, int32_t id);
// Copies the selected item's text; false (buffer untouched) when nothing is selected.
bool platformListGetSelectedText(WindowHandle dialog, int32_t id, char* buffer, size_t size);

// Fills a swatch with colour (0x00BBGGRR) and repaints it at once.
bool platformSetSwatchColour(WindowHandle dialog, int32_t id, uint32_t colour);
