#!/usr/bin/env python3
"""Take the screenshots of the desktop metadata: both programs in a real X
window under Xvfb, driven as the end-to-end tests drive them.

    resources/screenshots/mahjong-3d.png   mahjong in its 3D view, the board turned a little
    resources/screenshots/mahjong-2d.png   mahjong-2d with shadows, some pairs gone and a tile selected

Each window is 1248 x 702 (16:9). The status bar shows the chronometer, so two runs differ a little.

Usage: make_screenshots.py [--build DIR] [--out DIR]   (defaults: build/ and resources/screenshots/)
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import e2e_mahjong as e2e  # noqa: E402

SIZE = (1248, 702)


class Session(e2e.Session):
    def env(self, extra=None):
        env = super().env(extra)
        env["LIBGL_ALWAYS_SOFTWARE"] = "1"
        return env


def window_shot(s, window, path):
    """The window alone, without the screen around it."""
    subprocess.run(["import", "-window", window, path], env=s.env(), check=True, timeout=30,
                   capture_output=True)


def prepare(s):
    """The first start, the window at its final size and the board laid out for it."""
    window, _ = s.first_start()
    s.xdo("windowmove", window, 0, 0)
    s.xdo("windowsize", window, *SIZE)
    e2e.wait_for("the window at %dx%d" % SIZE, lambda: s.geometry(window)[2:] == SIZE, 10)
    board = s.wait_board("a board laid out for the window",
                         lambda b: max(t["x"] for t in b["tiles"]) + b["faceWidth"] <= SIZE[0], 10)
    return window, board


def shot_3d(program, data, out, path):
    with Session(program, data, out, 1280, 800) as s:
        window, _ = prepare(s)
        # Turn and tilt the board a little: the sides of the tiles show.
        s.key(window, "Left", "Left", "Left", "Down", "Down")
        time.sleep(1.0)  # let the last frame reach the screen
        window_shot(s, window, path)
        s.key(window, "F12")
        s.wait_exit(15)


def shot_2d(program, data, out, path):
    with Session(program, data, out, 1280, 800) as s:
        window, board = prepare(s)
        s.key(window, "F9")
        order = board["dealOrder"]
        for k in range(0, 24, 2):
            s.remove_pair(window, order[k], order[k + 1])
        board = s.board()
        s.click_tile(window, board, order[24])
        s.wait_board("a tile selected", lambda b: b["selectedTile"] == order[24], 10)
        time.sleep(1.0)
        window_shot(s, window, path)
        s.key(window, "F12")
        s.wait_exit(15)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--out", default=os.path.join(ROOT, "resources", "screenshots"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    data = os.path.join(ROOT, "data")
    e2e.scenario_deadline = time.monotonic() + 300
    with tempfile.TemporaryDirectory(prefix="mj-shots-") as logs:
        try:
            shot_3d(os.path.join(args.build, "mahjong"), data, logs, os.path.join(args.out, "mahjong-3d.png"))
            shot_2d(os.path.join(args.build, "mahjong-2d"), data, logs, os.path.join(args.out, "mahjong-2d.png"))
        except (e2e.Failure, subprocess.SubprocessError) as failure:
            sys.exit("make_screenshots: %s" % failure)
    print("wrote %s/mahjong-3d.png and mahjong-2d.png" % args.out)


if __name__ == "__main__":
    main()
