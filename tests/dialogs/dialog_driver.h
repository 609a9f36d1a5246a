// Drives the game's modal dialogs from inside their event loops: the test
// arms an action, then opens the dialog, whose run returns once the action
// (or the safety net after it) has pressed OK.
#pragma once
#include <QColor>
#include <QColorDialog>
#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

#include "platform/window.h"

// Runs action on the game dialog once it is open. When the dialog is still
// open after the action (a failed check returned early), closeId is pressed
// so that the run never hangs.
void whenDialogOpens(int32_t closeId, std::function<void(WindowHandle, QDialog*)> action);
// Runs action on the colour chooser once it is open; rejects it afterwards if
// the action left it open.
void whenColourChooserOpens(std::function<void(QColorDialog*)> action);

QWidget* controlWidget(WindowHandle dialog, int32_t id);
QString itemText(WindowHandle dialog, int32_t id);
bool isChecked(WindowHandle dialog, int32_t id);
// Clicks the control as the user would (push buttons, check boxes, radio buttons).
void click(WindowHandle dialog, int32_t id);
bool dialogIsOpen(QDialog* dialog);
// The colour the swatch shows now, read from its picture.
QColor swatchColour(WindowHandle dialog, int32_t id);
QColor asQColor(uint32_t colour);  // 0x00BBGGRR
// The ids of every control of the dialog, in template order.
std::vector<int32_t> controlIds(WindowHandle dialog);
// Counts how many times the action ran (set to 0 before arming).
extern int actionsRun;
// Dialogs armed for and not yet handled (their actions included): a modal window
// is expected while this is above 0.
extern int dialogsAwaited;
