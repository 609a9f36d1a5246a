// The shell as the game's host: fills the table of engine/host.h.
#pragma once

// Installs the shell's functions as the host; the program's first step.
void installShellHost();
