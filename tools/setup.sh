#!/bin/sh
# Debian packages needed to run the data generators under tools/.
# The game's own build needs none of them: the generated files are committed.
set -e
apt-get install -y python3 python3-pil fonts-noto-cjk fonts-dejavu-core
# tools/music/check_music.py renders the MIDI files with fluidsynth
apt-get install -y fluidsynth fluid-soundfont-gm
