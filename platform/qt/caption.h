// Inside the window layer: the frame the game's dialogs and message boxes wear.
// They draw their own caption bar (title, program icon and, where the dialog has
// one, a close box) and a one-pixel frame, so that no window manager adds
// minimise, maximise or close buttons the game does not have. Only platform/
// includes this header.
#pragma once
#include <QDialog>

// Makes dialog a modal transient of owner's window (null: a free window above
// the others): frameless with its own caption, never in the task bar, never
// minimised, at least as wide as its caption needs. closeBox adds a close box
// that closes the dialog as the window manager's would (QWidget::close).
// Call before the dialog shows; its contents go inside dialogContentMargins.
void platformDressDialog(QDialog* dialog, QWidget* owner, bool closeBox);
// The room the frame and caption take at each side of the dialog.
QMargins dialogContentMargins(const QWidget* dialog);
// The width the dialog needs to show its whole caption (title changes included).
int dialogCaptionWidth(const QWidget* dialog);
// Moves the dialog so that it is centred on owner's window (on the screen
// without one), kept inside the screen's work area.
void centreDialog(QWidget* dialog, QWidget* owner);
