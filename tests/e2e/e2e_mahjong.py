#!/usr/bin/env python3
"""End-to-end tests of mahjong-2d: the real program in a real X window under
Xvfb, driven with xdotool.

Every scenario starts its own Xvfb (a free display chosen with -displayfd) and
runs the program in a fresh copy of the data directory without a settings
file. The program writes its board file (MAHJONG_BOARD_FILE) after every status
refresh; the driver reads the tile positions from it and checks the effect of
every action there, in the window names and in the files the game writes.
Every wait is bounded; every child process dies with the driver.

    e2e_mahjong.py --program PATH --data DIR --out DIR --scenario NAME
"""
import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TITLE = "Velmora's mah-jong v2.0"
MAIN_TITLE = TITLE + " - Default.myl"
WIN_CAPTION = "Congratulations!"
HALL_CAPTION = "Hall of fame"
INI_HEADER = b"; " + TITLE.encode() + b" INI File, do not edit\r\n"

# Keyboard steps from the GAME title to each item (separators are skipped).
GAME_MENU_STEPS = {"New game": 1, "Restart": 2, "Easy mode": 3, "Automatic play": 4,
                   "Pause": 5, "Hint": 6, "Undo": 7, "Save game": 8, "Load game": 9, "Exit": 10}


class Failure(Exception):
    pass


def die_with_parent():
    """Children get SIGKILL when the driver goes, whatever ends it."""
    try:
        libc = ctypes.CDLL("libc.so.6", use_errno=True)
        libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except OSError:
        pass


# The whole scenario ends by this time (time.monotonic()), well before the
# test runner's own limit, so that a failure is reported and cleaned up.
scenario_deadline = float("inf")


def wait_for(what, predicate, timeout, interval=0.05):
    """Polls predicate until it returns a true value or timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        now = time.monotonic()
        if now >= scenario_deadline:
            raise Failure("the scenario's time limit passed while waiting for %s" % what)
        if now >= deadline:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def ere_escape(text):
    return re.sub(r"([.\[\]()*+?{}|^$\\])", r"\\\1", text)


class Session:
    """One Xvfb, one data directory, at most one program at a time."""

    def __init__(self, program, data, out, width=1280, height=800, keep_dir=False):
        self.program = os.path.abspath(program)
        self.out = out
        self.width, self.height = width, height
        self.xvfb = None
        self.proc = None
        self.display = None
        self.keep_dir = keep_dir
        self.dir = tempfile.mkdtemp(prefix="mj-e2e-")
        self.start_dir = os.path.join(self.dir, "data")
        shutil.copytree(data, self.start_dir)
        ini = os.path.join(self.start_dir, "MAH-JONG.INI")
        if os.path.exists(ini):
            os.remove(ini)
        self.board_file = os.path.join(self.dir, "board.txt")
        self.log = open(os.path.join(self.dir, "program.log"), "wb")

    # --- processes -----------------------------------------------------------------
    def __enter__(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (self.width, self.height),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=die_with_parent)
        os.close(write_end)
        text = b""
        deadline = time.monotonic() + 20
        while not text.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or self.xvfb.poll() is not None:
                os.close(read_end)
                raise Failure("Xvfb did not report a display number")
            ready, _, _ = select.select([read_end], [], [], left)
            if ready:
                chunk = os.read(read_end, 64)
                if not chunk:
                    break
                text += chunk
        os.close(read_end)
        if not text.strip().isdigit():
            raise Failure("Xvfb reported no display number")
        self.display = ":" + text.strip().decode()
        return self

    def __exit__(self, *exc):
        self.stop_program()
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
        self.log.close()
        if exc[0] is not None:
            # Keep the program's output next to the screenshots for the failure.
            try:
                shutil.copy(os.path.join(self.dir, "program.log"), os.path.join(self.out, "program.log"))
                if os.path.exists(self.board_file):
                    shutil.copy(self.board_file, os.path.join(self.out, "board.txt"))
            except OSError:
                pass
        if not self.keep_dir:
            shutil.rmtree(self.dir, ignore_errors=True)
        return False

    def env(self, extra=None):
        env = dict(os.environ)
        env.update({"DISPLAY": self.display, "QT_QPA_PLATFORM": "xcb", "SDL_AUDIODRIVER": "dummy",
                    "MAHJONG_BOARD_FILE": self.board_file})
        for key in ("WAYLAND_DISPLAY", "XAUTHORITY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"):
            env.pop(key, None)
        if extra:
            env.update(extra)
        return env

    def start_program(self):
        if os.path.exists(self.board_file):
            os.remove(self.board_file)
        self.proc = subprocess.Popen([self.program], cwd=self.start_dir, env=self.env(), stdout=self.log,
                                     stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                     preexec_fn=die_with_parent)

    def stop_program(self):
        if self.proc is None:
            return
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None

    def wait_exit(self, timeout):
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %d s" % timeout)
        self.proc = None
        return code

    def check_running(self):
        if self.proc is not None and self.proc.poll() is not None:
            raise Failure("the program ended unexpectedly with code %s" % self.proc.returncode)

    # --- X ---------------------------------------------------------------------------
    def xdo(self, *args, check=True):
        try:
            result = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env(), capture_output=True,
                                    text=True, timeout=15)
        except subprocess.TimeoutExpired:
            raise Failure("xdotool %s did not answer" % " ".join(map(str, args)))
        if check and result.returncode != 0:
            raise Failure("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr.strip()))
        return result.stdout

    def windows_named(self, name):
        """Visible windows whose name is exactly name."""
        found = []
        out = self.xdo("search", "--onlyvisible", "--name", "^%s$" % ere_escape(name), check=False)
        for line in out.split():
            if line.isdigit() and self.xdo("getwindowname", line, check=False).rstrip("\n") == name:
                found.append(line)
        return found

    def visible_windows(self):
        return [w for w in self.xdo("search", "--onlyvisible", "--name", "", check=False).split() if w.isdigit()]

    def wait_window(self, name, timeout=20):
        def find():
            self.check_running()
            windows = self.windows_named(name)
            return windows[-1] if windows else None
        return wait_for("a window named %r" % name, find, timeout, 0.1)

    def wait_window_gone(self, window, timeout=10):
        def gone():
            self.check_running()
            return window not in self.visible_windows()
        wait_for("window %s to close" % window, gone, timeout, 0.1)

    def geometry(self, window):
        out = self.xdo("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def focus(self, window):
        # No window manager: the input focus is set directly.
        self.xdo("windowfocus", "--sync", window)

    def key(self, window, *keys):
        self.focus(window)
        self.xdo("key", "--clearmodifiers", *keys)

    def type_text(self, window, text):
        self.focus(window)
        self.xdo("type", "--delay", 30, text)

    def click(self, x, y, button=1):
        self.xdo("mousemove", x, y)
        self.xdo("click", button)

    def screenshot(self, name):
        path = os.path.join(self.out, name)
        try:
            subprocess.run(["import", "-window", "root", path], env=self.env(), check=True, timeout=30,
                           capture_output=True)
        except (subprocess.SubprocessError, OSError) as error:
            raise Failure("screenshot %s failed: %s" % (name, error))
        return path

    # --- the board file -----------------------------------------------------------------
    def board(self):
        try:
            with open(self.board_file) as f:
                text = f.read()
        except OSError:
            return None
        return parse_board(text)

    def wait_board(self, what, predicate, timeout=20):
        def check():
            self.check_running()
            b = self.board()
            return b if b is not None and predicate(b) else None
        return wait_for(what, check, timeout)

    def tile_point(self, window, board, tile):
        x, y, _, _ = self.geometry(window)
        t = board["tiles"][tile]
        return (x + t["x"] + board["faceWidth"] // 2,
                y + board["menuHeight"] + board["toolbarHeight"] + t["y"] + board["faceHeight"] // 2)

    def click_tile(self, window, board, tile):
        self.click(*self.tile_point(window, board, tile))

    def remove_pair(self, window, a, b, timeout=15):
        before = self.board()
        self.click_tile(window, before, a)
        self.click_tile(window, before, b)
        left = before["tilesLeft"] - 2
        return self.wait_board("tilesLeft %d after the pair %d, %d" % (left, a, b),
                               lambda x: x["tilesLeft"] == left and x["tiles"][a]["face"] == 0
                               and x["tiles"][b]["face"] == 0, timeout)

    def open_game_menu_item(self, window, item):
        """Clicks the GAME title at the left of the menu bar, then walks to the item."""
        board = self.board()
        x, y, _, _ = self.geometry(window)
        before = set(self.visible_windows())
        self.focus(window)
        self.click(x + 20, y + max(board["menuHeight"] // 2, 5))

        # The menu takes the keyboard once its popup is shown below the title.
        def popup():
            self.check_running()
            for w in self.visible_windows():
                if w not in before:
                    px, py, _, _ = self.geometry(w)
                    if abs(px - x) < 40 and y < py <= y + board["menuHeight"] + 10:
                        return w
            return None
        wait_for("the GAME menu to open", popup, 10)
        for _ in range(GAME_MENU_STEPS[item]):
            self.xdo("key", "Down")
        self.xdo("key", "Return")

    # --- common steps -------------------------------------------------------------
    def first_start(self):
        """Starts without a settings file, answers the language dialog, waits for the board."""
        self.start_program()
        dialog = self.wait_window(TITLE, 30)
        self.key(dialog, "Return")
        window = self.wait_window(MAIN_TITLE, 30)
        board = self.wait_board("the first board", lambda b: b["tilesLeft"] == 144, 20)
        return window, board


def parse_board(text):
    board = {"tiles": [None] * 144}
    try:
        for line in text.splitlines():
            word, _, rest = line.partition(" ")
            if word == "tile":
                i, face, state, x, y = map(int, rest.split())
                board["tiles"][i] = {"face": face, "state": state, "x": x, "y": y}
            elif word == "dealOrder":
                board["dealOrder"] = list(map(int, rest.split()))
            elif word == "status":
                board["status"] = rest
            elif word:
                board[word] = int(rest)
        for key in ("menuHeight", "toolbarHeight", "faceWidth", "faceHeight", "tilesLeft", "dealOrder"):
            if key not in board:
                return None
        if None in board["tiles"] or len(board["dealOrder"]) != 144:
            return None
    except ValueError:
        return None
    return board


def image_colours(path, geometry=None):
    """Number of distinct colours of the picture (or of a crop of it)."""
    command = ["convert", path]
    if geometry:
        command += ["-crop", geometry, "+repage"]
    command += ["-format", "%k", "info:"]
    result = subprocess.run(command, capture_output=True, text=True, timeout=60)
    if result.returncode != 0 or not result.stdout.strip().isdigit():
        raise Failure("cannot read %s: %s" % (path, result.stderr.strip()))
    return int(result.stdout.strip())


def expect(condition, message):
    if not condition:
        raise Failure(message)


# --- scenarios -------------------------------------------------------------------------

def scenario_first_run(s):
    s.start_program()
    dialog = s.wait_window(TITLE, 30)
    _, _, w, h = s.geometry(dialog)
    expect(w < s.width and h < s.height, "the language dialog is as large as the screen")
    s.key(dialog, "Return")
    window = s.wait_window(MAIN_TITLE, 30)
    board = s.wait_board("the first board", lambda b: b["tilesLeft"] == 144, 20)
    expect(board["menuHeight"] > 0, "no menu bar height")
    expect(board["toolbarHeight"] > 0, "no toolbar height")
    expect(board["faceWidth"] > 0 and board["faceHeight"] > 0, "no face size")
    expect(board["status"].startswith("144 "), "status bar says %r" % board["status"])
    expect(sorted(t["face"] for t in board["tiles"]).count(0) == 0, "a tile without face on a new deal")
    x, y, w, h = s.geometry(window)
    expect(w > 200 and h > 200, "main window is %dx%d" % (w, h))
    # Let the first frame reach the screen, then look at it.
    time.sleep(0.5)
    shot = s.screenshot("first_run.png")
    whole = image_colours(shot)
    top = board["menuHeight"] + board["toolbarHeight"]
    t = board["tiles"][143]
    face = "%dx%d+%d+%d" % (board["faceWidth"], board["faceHeight"], x + t["x"], y + top + t["y"])
    in_face = image_colours(shot, face)
    expect(whole > 200, "the screen shows only %d colours" % whole)
    expect(in_face > 10, "the face of tile 143 shows only %d colours" % in_face)
    print("screen colours %d, colours in one face %d" % (whole, in_face))
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


def scenario_win(s):
    window, board = s.first_start()
    order = board["dealOrder"]
    start = time.monotonic()
    for k in range(0, 144, 2):
        s.check_running()
        s.remove_pair(window, order[k], order[k + 1])
    print("72 pairs removed in %.1f s" % (time.monotonic() - start))
    name_dialog = s.wait_window(WIN_CAPTION, 20)
    s.type_text(name_dialog, "Ada Lovelace")
    s.key(name_dialog, "Return")
    hall = s.wait_window(HALL_CAPTION, 20)
    s.screenshot("hall_of_fame.png")
    s.key(hall, "Return")
    s.wait_window_gone(hall)
    scores = os.path.join(s.start_dir, "SCORES", "DEFAULT.MYS")
    wait_for("SCORES/DEFAULT.MYS", lambda: os.path.exists(scores) and os.path.getsize(scores) == 400, 10)
    with open(scores, "rb") as f:
        data = f.read()
    expect(len(data) == 400, "scores file of %d bytes" % len(data))
    name = data[0:23].split(b"\0", 1)[0]
    expect(name == b"Ada Lovelace", "first entry's name is %r" % name)
    seconds = int.from_bytes(data[36:40], "little", signed=True)
    expect(0 <= seconds < 300, "first entry's time is %d s" % seconds)
    expect(data[40:63].split(b"\0", 1)[0] == b"Velmora", "second entry is not a default one")
    print("hall of fame entry 0: %r in %d s" % (name, seconds))
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


def read_ini(path):
    with open(path, "rb") as f:
        data = f.read()
    values = {}
    for line in data.split(b"\r\n"):
        parts = line.decode("latin-1").split(None, 2)
        if len(parts) == 3 and parts[1] == "=":
            values[parts[0]] = parts[2]
    return data, values


def scenario_settings(s):
    window, _ = s.first_start()
    wanted = (40, 30, 1000, 640)
    s.xdo("windowsize", window, wanted[2], wanted[3])
    s.xdo("windowmove", window, wanted[0], wanted[1])
    wait_for("the window at %s" % (wanted,), lambda: s.geometry(window) == wanted, 10)
    # The board is laid out again for the new size.
    s.wait_board("a board laid out for the smaller window",
                 lambda b: max(t["x"] for t in b["tiles"]) + b["faceWidth"] <= wanted[2], 10)
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")
    ini = os.path.join(s.start_dir, "MAH-JONG.INI")
    expect(os.path.exists(ini), "F12 wrote no MAH-JONG.INI")
    data, values = read_ini(ini)
    expect(data.startswith(INI_HEADER), "header line is %r" % data[:60])
    expect(data.count(b"\n") == data.count(b"\r\n"), "a line break without CR")
    expect(data.count(b"\r") == data.count(b"\r\n"), "a CR without LF")
    expect(data[len(INI_HEADER):len(INI_HEADER) + 2] == b"\r\n", "no empty line after the header")
    expect(not data.endswith(b"\n"), "a line break after the last line")
    stored = tuple(int(values.get(k, "-1")) for k in ("WindowXPos", "WindowYPos", "WindowXSize", "WindowYSize"))
    # No window manager: the window has no frame, its rectangle is the client's.
    expect(stored == wanted, "stored window rectangle %s, the window was at %s" % (stored, wanted))
    print("stored window rectangle %s" % (stored,))

    s.start_program()

    def main_or_dialog():
        s.check_running()
        if s.windows_named(TITLE):
            raise Failure("the language dialog appeared on the second start")
        found = s.windows_named(MAIN_TITLE)
        return found[-1] if found else None
    window = wait_for("the main window of the second start", main_or_dialog, 30, 0.1)
    s.wait_board("the board of the second start", lambda b: b["tilesLeft"] == 144, 20)
    wait_for("the window at the stored rectangle", lambda: s.geometry(window) == wanted, 10)
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


def scenario_autoplay(s):
    window, board = s.first_start()
    deal = [t["face"] for t in board["tiles"]]
    s.open_game_menu_item(window, "Automatic play")
    running = s.wait_board("automatic play removing tiles", lambda b: b["tilesLeft"] < 144, 20)
    running = s.wait_board("automatic play removing more tiles", lambda b: b["tilesLeft"] < 140, 20)
    expect(s.proc.poll() is None, "the program ended during automatic play")
    print("automatic play reached %d tiles" % running["tilesLeft"])
    # A click on the background, away from every tile, stops the player.
    x, y, w, h = s.geometry(window)
    s.click(x + 5, y + board["menuHeight"] + board["toolbarHeight"] + 5)
    restored = s.wait_board("the deal restored after the click",
                            lambda b: b["tilesLeft"] == 144 and b["status"].startswith("144 "), 15)
    expect([t["face"] for t in restored["tiles"]] == deal, "the restored deal differs from the first deal")
    expect(restored["selectedTile"] == 250, "a tile stays selected after automatic play")
    # The player has ended: the board stays put.
    time.sleep(1.5)
    later = s.board()
    expect(later["tilesLeft"] == 144, "tiles went on disappearing after the click")
    s.screenshot("after_autoplay.png")
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


def scenario_autoplay_to_end(s):
    """Automatic play left alone empties the board, shows no winner's dialog and
    deals the same game again (short pauses from the settings file)."""
    with open(os.path.join(s.start_dir, "MAH-JONG.INI"), "wb") as f:
        f.write(INI_HEADER + b"\r\nAutoPlaySleep   = 100\r\nRemoveTileTime  = 100")
    s.start_program()
    window = s.wait_window(MAIN_TITLE, 30)
    board = s.wait_board("the first board", lambda b: b["tilesLeft"] == 144, 20)
    deal = [t["face"] for t in board["tiles"]]
    s.open_game_menu_item(window, "Automatic play")
    s.wait_board("automatic play near its end", lambda b: b["tilesLeft"] <= 20, 120)
    restored = s.wait_board("the deal restored after the last pair", lambda b: b["tilesLeft"] == 144, 30)
    expect([t["face"] for t in restored["tiles"]] == deal, "the restored deal differs from the first deal")
    expect(not s.windows_named(WIN_CAPTION), "the winner's dialog appeared after automatic play")
    # The board can be played at once: the first pair of the deal goes.
    s.remove_pair(window, board["dealOrder"][0], board["dealOrder"][1])
    expect(not s.windows_named(WIN_CAPTION), "the winner's dialog appeared after automatic play")
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


def scenario_save_load(s):
    window, board = s.first_start()
    order = board["dealOrder"]
    s.remove_pair(window, order[0], order[1])
    s.open_game_menu_item(window, "Save game")
    dialog = s.wait_window(TITLE, 15)
    time.sleep(0.5)  # the dialog puts the focus into its name field
    s.type_text(dialog, "first.mym")
    s.key(dialog, "Return")
    s.wait_window_gone(dialog)
    saves = os.path.join(s.start_dir, "SAVEGAME")

    def saved():
        names = [n for n in os.listdir(saves) if n.lower() == "first.mym"]
        return names if names and os.path.getsize(os.path.join(saves, names[0])) == 9518 else None
    names = wait_for("SAVEGAME/first.mym of 9518 bytes", saved, 10)
    print("saved as %s" % names[0])
    s.remove_pair(window, order[2], order[3])
    expect(s.board()["tilesLeft"] == 140, "second pair not removed")
    s.open_game_menu_item(window, "Load game")
    dialog = s.wait_window(TITLE, 15)
    time.sleep(0.5)
    s.type_text(dialog, "first.mym")
    s.key(dialog, "Return")
    s.wait_window_gone(dialog)
    loaded = s.wait_board("tilesLeft 142 after the load", lambda b: b["tilesLeft"] == 142, 10)
    expect(loaded["tiles"][order[2]]["face"] != 0 and loaded["tiles"][order[0]]["face"] == 0,
           "the loaded board is not the saved one")
    s.wait_window(TITLE + " - First.mym", 10)
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


def pixel_difference(a, b, geometry):
    """Number of pixels that differ between two screenshots inside geometry."""
    with tempfile.TemporaryDirectory(prefix="mj-e2e-cmp-") as folder:
        crops = []
        for i, path in enumerate((a, b)):
            crop = os.path.join(folder, "%d.png" % i)
            subprocess.run(["convert", path, "-crop", geometry, "+repage", crop], check=True, timeout=60,
                           capture_output=True)
            crops.append(crop)
        result = subprocess.run(["compare", "-metric", "AE", crops[0], crops[1], "null:"], capture_output=True,
                                text=True, timeout=60)
    try:
        return int(float(result.stderr.split()[0]))
    except (IndexError, ValueError):
        raise Failure("cannot compare %s and %s: %s" % (a, b, result.stderr.strip()))


def board_geometry(s, window, board):
    x, y, w, h = s.geometry(window)
    top = board["menuHeight"] + board["toolbarHeight"]
    return "%dx%d+%d+%d" % (w, h - top - 30, x, y + top)


def face_geometry(s, window, board, tile):
    x, y, _, _ = s.geometry(window)
    t = board["tiles"][tile]
    return "%dx%d+%d+%d" % (board["faceWidth"], board["faceHeight"], x + t["x"],
                            y + board["menuHeight"] + board["toolbarHeight"] + t["y"])


def shoot_changed(s, name, previous, geometry, timeout=10):
    """Screenshots until the area differs from the previous picture."""
    def changed():
        s.check_running()
        path = s.screenshot(name)
        return path if pixel_difference(previous, path, geometry) > 0 else None
    return wait_for("%s to differ from %s in %s" % (name, os.path.basename(previous), geometry), changed,
                    timeout, 0.2)


def scenario_screenshots(s):
    """The board in each of its looks: plain, with shadows, a selected tile
    (DARKER, then INVERT in a second run), the hint pair and the hidden faces."""
    window, board = s.first_start()
    time.sleep(0.5)
    plain = s.screenshot("1_plain.png")
    area = board_geometry(s, window, board)
    expect(image_colours(plain, area) > 200, "the board area is nearly one colour")
    s.key(window, "F9")
    shadows = shoot_changed(s, "2_shadows.png", plain, area)
    tile = board["dealOrder"][0]
    s.click_tile(window, board, tile)
    s.wait_board("tile %d selected" % tile, lambda b: b["selectedTile"] == tile, 10)
    darker = shoot_changed(s, "3_selected_darker.png", shadows, face_geometry(s, window, board, tile))
    s.key(window, "F6")
    s.wait_board("the hint in the status bar", lambda b: " / " in b["status"], 10)
    hint = shoot_changed(s, "4_hint.png", darker, area)
    s.key(window, "F5")
    s.wait_board("the pause in the status bar", lambda b: "Paused" in b["status"], 10)
    paused = shoot_changed(s, "5_paused.png", hint, area)
    expect(image_colours(paused, face_geometry(s, window, board, tile)) < image_colours(
        plain, face_geometry(s, window, board, tile)), "the paused face shows as many colours as a face")
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")

    with open(os.path.join(s.start_dir, "MAH-JONG.INI"), "r+b") as f:
        text = f.read().replace(b"SelectMode      = DARKER", b"SelectMode      = INVERT")
        f.seek(0)
        f.write(text)
        f.truncate()
    s.start_program()
    window = s.wait_window(MAIN_TITLE, 30)
    board = s.wait_board("the board of the second start", lambda b: b["tilesLeft"] == 144, 20)
    time.sleep(0.5)
    before = s.screenshot("6_before_invert.png")
    tile = board["dealOrder"][0]
    s.click_tile(window, board, tile)
    s.wait_board("tile %d selected" % tile, lambda b: b["selectedTile"] == tile, 10)
    shoot_changed(s, "6_selected_invert.png", before, face_geometry(s, window, board, tile))
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


SCENARIOS = {"screenshots": scenario_screenshots, "first_run": scenario_first_run, "win": scenario_win, "settings": scenario_settings,
             "autoplay": scenario_autoplay, "autoplay_to_end": scenario_autoplay_to_end, "save_load": scenario_save_load}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--out", required=True, help="folder for screenshots and failure logs")
    parser.add_argument("--scenario", required=True, choices=sorted(SCENARIOS))
    parser.add_argument("--screen", default="1280x800")
    parser.add_argument("--time-limit", type=float, default=200, help="seconds for the whole scenario")
    args = parser.parse_args()
    global scenario_deadline
    scenario_deadline = time.monotonic() + args.time_limit
    for tool in ("Xvfb", "xdotool", "import", "convert"):
        if shutil.which(tool) is None:
            print("%s is missing (scripts/install-deps.sh installs it)" % tool)
            return 1
    out = os.path.join(args.out, args.scenario)
    os.makedirs(out, exist_ok=True)
    width, height = map(int, args.screen.split("x"))
    # A SIGTERM from the test runner ends the session through its clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(3))
    start = time.monotonic()
    try:
        with Session(args.program, args.data, out, width, height) as session:
            SCENARIOS[args.scenario](session)
    except (Failure, OSError) as failure:
        print("FAILED %s: %s (after %.1f s; logs in %s)" % (args.scenario, failure, time.monotonic() - start, out))
        return 1
    print("PASSED %s in %.1f s" % (args.scenario, time.monotonic() - start))
    return 0


if __name__ == "__main__":
    sys.exit(main())
