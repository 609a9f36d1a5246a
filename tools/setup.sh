#!/bin/sh
# The data generators' packages (Pillow, the fonts, fluidsynth) are in the project's one install list.
exec "$(dirname "$0")/../scripts/install-deps.sh"
