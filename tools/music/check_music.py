#!/usr/bin/env python3
"""Renders every data/SOUNDS/*.MID with fluidsynth and the General MIDI
sound font, and checks that each piece plays for two to four minutes and is
audible throughout (no silent stretch longer than a few seconds before its
final chord has died away).  Needs the packages fluidsynth and
fluid-soundfont-gm.  Exit status 0 when every piece passes."""

import array
import math
import os
import subprocess
import sys
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
SOUND_DIRECTORY = os.path.normpath(os.path.join(HERE, "..", "..", "data", "SOUNDS"))
SOUND_FONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
MIN_SECONDS = 120
MAX_SECONDS = 250
QUIET_RMS = 20          # a second this quiet counts as silence
LONGEST_SILENCE = 4     # seconds, not counting the tail after the last chord


def loudness_per_second(path):
    with wave.open(path) as w:
        rate, channels = w.getframerate(), w.getnchannels()
        samples = array.array("h", w.readframes(w.getnframes()))
    window = rate * channels
    levels = []
    for start in range(0, len(samples) - window + 1, window):
        part = samples[start:start + window:5]
        levels.append(math.sqrt(sum(v * v for v in part) / len(part)))
    return levels


def main():
    if not os.path.exists(SOUND_FONT):
        print("no sound font at %s (install fluid-soundfont-gm)" % SOUND_FONT)
        return 1
    names = sorted(n for n in os.listdir(SOUND_DIRECTORY) if n.upper().endswith(".MID"))
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for name in names:
            out = os.path.join(work, name + ".wav")
            subprocess.run(["fluidsynth", "-ni", "-q", SOUND_FONT,
                            os.path.join(SOUND_DIRECTORY, name), "-F", out, "-r", "44100"],
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            levels = loudness_per_second(out)
            last_sound = max(i for i, v in enumerate(levels) if v >= QUIET_RMS)
            longest = run = 0
            for v in levels[:last_sound + 1]:
                run = run + 1 if v < QUIET_RMS else 0
                longest = max(longest, run)
            seconds = last_sound + 1
            ok = MIN_SECONDS <= seconds <= MAX_SECONDS and longest <= LONGEST_SILENCE
            print("%-12s %d:%02d audible, longest silence %d s, median level %d: %s"
                  % (name, seconds // 60, seconds % 60, longest,
                     sorted(levels)[len(levels) // 2], "ok" if ok else "FAILED"))
            failed = failed or not ok
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
