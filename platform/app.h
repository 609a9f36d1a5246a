// The application object of the window layer.
#pragma once

// Creates the application; the program calls it first, before any window,
// dialog, message box or splash. Sets the application name and the program
// icon (resource 907). argv must outlive the program (main's argv does).
// Returns false when no display can be opened. Further calls do nothing and
// return true.
bool platformInitialise(int argc, char** argv);
// Handles the pending events once without waiting (for pictures that must
// show at once, such as the splash, before the message loop runs).
void platformProcessEvents();
