#!/usr/bin/env python3
"""Start-up time of mahjong-2d: from the start of the process to its first
frame drawn (the first board file, written right after the first frame is
drawn into the board buffer, before the window is shown) and to its first
frame on the screen (a pixel of the board area, read from the X server with
libX11, stops being the black of the empty screen), under one Xvfb, N starts.

Every start runs in a fresh copy of the data directory that already holds a
settings file, so no language dialog is in the way. Once the frame has stayed
on the screen for a second, the program's resident memory (VmRSS) is read;
then it is ended with F12.

Sound is off (SDL's dummy driver) unless --audio disk is given: SDL then
writes the sound to a file in the start directory, so the music, its sound
font included, is really loaded and played.

    startup_time.py --program build/mahjong-2d --data data [--runs 10] [--screen 1280x800] [--audio disk]
"""
import argparse
import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
import e2e_mahjong as e2e  # noqa: E402

INI = (b"; Velmora's mah-jong v2.0 INI File, do not edit\r\n\r\nEasyMode        = 1")


class ScreenPixel:
    """Reads single pixels of the screen through libX11."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.c_void_p
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                       ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetPixel.restype = ctypes.c_ulong
        self.x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise e2e.Failure("cannot open display %s" % display)
        self.root = self.x11.XDefaultRootWindow(self.display)

    def get(self, x, y):
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        value = self.x11.XGetPixel(image, 0, 0)
        self.x11.XDestroyImage(image)
        return value

    def close(self):
        self.x11.XCloseDisplay(self.display)


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def one_start(session, pixel):
    shutil.rmtree(session.start_dir)
    shutil.copytree(session.data, session.start_dir)
    with open(os.path.join(session.start_dir, "MAH-JONG.INI"), "wb") as f:
        f.write(INI)
    if os.path.exists(session.board_file):
        os.remove(session.board_file)
    start = time.monotonic()
    session.start_program()
    board_at = e2e.wait_for("the first board file", lambda: os.path.exists(session.board_file) and time.monotonic(),
                            30, 0.001)
    board = session.wait_board("the first board", lambda b: True, 10)
    # The window opens at 0, 0: a pixel just inside its board area.
    y = board["menuHeight"] + board["toolbarHeight"] + 5
    # Samples until the main window is up and a second has passed; the frame
    # reached the screen when the pixel first showed its final colour (a
    # widget background painted before the board does not count).
    history = []
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        session.check_running()
        history.append((time.monotonic(), pixel.get(5, y)))
        if history[-1][1] not in (None, 0) and history[-1][0] - history[0][0] > 1.0 and \
                history[-1][0] - next(t for t, v in history if v not in (None, 0)) > 1.0:
            break
        time.sleep(0.001)
    final = history[-1][1]
    if final in (None, 0):
        raise e2e.Failure("the board area stayed black")
    screen_at = next(t for t, v in history if v == final)
    rss = resident_kb(session.proc.pid)
    window = session.wait_window(e2e.MAIN_TITLE, 30)
    session.key(window, "F12")
    session.wait_exit(15)
    # The next start begins on an empty (black) screen again.
    e2e.wait_for("the screen to clear", lambda: pixel.get(5, y) == 0, 10, 0.01)
    return board_at - start, screen_at - start, rss


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--screen", default="1280x800")
    parser.add_argument("--audio", choices=("dummy", "disk"), default="dummy")
    args = parser.parse_args()
    width, height = map(int, args.screen.split("x"))
    out = tempfile.mkdtemp(prefix="mj-startup-")
    frames, windows, residents = [], [], []
    try:
        with e2e.Session(args.program, args.data, out, width, height) as session:
            session.data = os.path.abspath(args.data)
            if args.audio != "dummy":
                plain_env = session.env
                session.env = lambda extra=None: dict(plain_env(extra), SDL_AUDIODRIVER=args.audio)
            pixel = ScreenPixel(session.display)
            try:
                for run in range(args.runs):
                    frame, window, rss = one_start(session, pixel)
                    frames.append(frame)
                    windows.append(window)
                    residents.append(rss)
                    print("run %2d: first frame drawn %.0f ms, on the screen %.0f ms, VmRSS %.1f MB" %
                          (run + 1, frame * 1000, window * 1000, rss / 1024))
            finally:
                pixel.close()
    except e2e.Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        shutil.rmtree(out, ignore_errors=True)
    print("screen %s, %d starts: first frame drawn median %.0f ms (min %.0f, max %.0f); "
          "on the screen median %.0f ms (min %.0f, max %.0f)" %
          (args.screen, len(frames), statistics.median(frames) * 1000, min(frames) * 1000, max(frames) * 1000,
           statistics.median(windows) * 1000, min(windows) * 1000, max(windows) * 1000))
    print("VmRSS after start median %.1f MB (min %.1f, max %.1f)" %
          (statistics.median(residents) / 1024, min(residents) / 1024, max(residents) / 1024))
    return 0


if __name__ == "__main__":
    sys.exit(main())
