#!/usr/bin/env python3
"""End-to-end test of mahjong's 3D view: the real program under Xvfb (software
OpenGL), driven with xdotool.

In a fresh copy of the data directory (with a settings file naming the
language, so that no first-run dialog comes up) it checks that the program
starts in the 3D view, that Space switches to the 2D view and back, that a
click on the 3D board selects or removes a tile (picking), that the arrow keys
turn the board, and that F12 ends the program and writes the 3D settings
(scenario "play"). Scenario "no_gl" hides the OpenGL driver: the program shows
the error box "ChoosePixelFormat failed." titled "Error" and ends with status 1
without writing its settings. Scenario "outlines" looks at white tiles on a
white ground, tilted: their black outlines are whole lines, not dashes (the
faces once hid every other pixel of the lines along their edges).

    e2e_mahjong3d.py --program PATH --data DIR --out DIR --scenario play|no_gl|outlines
"""
import argparse
import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TITLE = "Velmora's mah-jong v2.0"
NO_TILE = 250
GREEN = (0, 160, 0)  # the default BackgroundColor, the 3D clear colour


class Failure(Exception):
    pass


def die_with_parent():
    try:
        ctypes.CDLL("libc.so.6").prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except OSError:
        pass


def wait_for(what, predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def start_xvfb(width, height):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
    os.close(write_end)
    text = b""
    deadline = time.monotonic() + 20
    while not text.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or xvfb.poll() is not None:
            break
        ready, _, _ = select.select([read_end], [], [], left)
        if ready:
            chunk = os.read(read_end, 64)
            if not chunk:
                break
            text += chunk
    os.close(read_end)
    if not text.strip().isdigit():
        xvfb.kill()
        raise Failure("Xvfb reported no display number")
    return xvfb, ":" + text.strip().decode()


class Run:
    def __init__(self, args):
        self.args = args
        self.dir = tempfile.mkdtemp(prefix="mj-e2e3d-")
        self.data = os.path.join(self.dir, "data")
        shutil.copytree(args.data, self.data)
        with open(os.path.join(self.data, "MAH-JONG.INI"), "wb") as ini:
            ini.write(b'; ' + TITLE.encode() + b' INI File, do not edit\r\n\r\nLanguage        = "ENGLISH.TXT"\r\n')
        self.board_file = os.path.join(self.dir, "board.txt")
        self.out = os.path.abspath(args.out)
        os.makedirs(self.out, exist_ok=True)
        self.xvfb = self.proc = None
        self.extra_env = {}
        self.log = open(os.path.join(self.out, "program.log"), "wb")

    def env(self):
        env = dict(os.environ)
        env.update({"DISPLAY": self.display, "QT_QPA_PLATFORM": "xcb", "SDL_AUDIODRIVER": "dummy",
                    "LIBGL_ALWAYS_SOFTWARE": "1", "MAHJONG_BOARD_FILE": self.board_file})
        for key in ("WAYLAND_DISPLAY", "XAUTHORITY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"):
            env.pop(key, None)
        env.update(self.extra_env)
        return env

    def xdo(self, *args):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env(), capture_output=True,
                                text=True, timeout=15)
        return result.stdout if result.returncode == 0 else None

    def board(self):
        """The last board file: its header values, status text and tile lines."""
        try:
            with open(self.board_file, encoding="latin-1") as f:
                lines = f.read().splitlines()
        except OSError:
            return None
        values, tiles = {}, {}
        for line in lines:
            words = line.split()
            if len(words) == 2 and words[1].lstrip("-").isdigit():
                values[words[0]] = int(words[1])
            elif words and words[0] == "tile" and len(words) >= 3:
                tiles[int(words[1])] = int(words[2])
            elif words and words[0] == "status":
                values["status"] = line[7:]
        if "tilesLeft" not in values or len(tiles) != 144:
            return None
        values["tiles"] = tiles
        return values

    def screenshot(self, name):
        """The whole screen, kept as a PNG for a look and read as a picture."""
        path = os.path.join(self.out, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env(), timeout=30, check=True)
        ppm = subprocess.run(["convert", path, "ppm:-"], capture_output=True, timeout=30, check=True).stdout
        return Picture.from_ppm(ppm)

    def window(self):
        out = self.xdo("search", "--onlyvisible", "--name", "^Velmora")
        if not out:
            return None
        wid = out.split()[0]
        geometry = self.xdo("getwindowgeometry", "--shell", wid)
        if not geometry:
            return None
        values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
        return wid, int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def key(self, *names):
        for name in names:
            self.xdo("key", "--window", self.wid, name)
            time.sleep(0.05)

    def settle(self, seconds=1.0):
        time.sleep(seconds)
        if self.proc.poll() is not None:
            raise Failure("the program ended unexpectedly with code %s" % self.proc.returncode)

    def board_area(self, image, board):
        """The board area of a screenshot: below the toolbar, above the status bar."""
        top = self.y + board["menuHeight"] + board["toolbarHeight"] + 2
        return image.crop((self.x + 2, top, self.x + self.width - 2, self.y + self.height - 40))

    def start(self):
        self.xvfb, self.display = start_xvfb(1024, 768)
        self.proc = subprocess.Popen([os.path.abspath(self.args.program)], cwd=self.data, env=self.env(),
                                     stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                     preexec_fn=die_with_parent)

    def run_without_gl(self):
        # No driver can be loaded: no context of any format can be made.
        self.extra_env = {"LIBGL_DRIVERS_PATH": os.path.join(self.dir, "no-drivers"),
                          "__GLX_VENDOR_LIBRARY_NAME": "none", "LIBGL_ALWAYS_SOFTWARE": "1"}
        ini_path = os.path.join(self.data, "MAH-JONG.INI")
        with open(ini_path, "rb") as f:
            ini_before = f.read()
        self.start()

        def error_box():
            out = self.xdo("search", "--onlyvisible", "--name", "^Error$")
            return out.split()[0] if out else None
        box = wait_for("the error box", error_box, 30)
        self.screenshot("error-box")
        if self.window():
            raise Failure("the main window is shown although no context could be made")
        self.xdo("key", "--window", box, "Return")
        try:
            code = self.proc.wait(20)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end after the error box")
        if code != 1:
            raise Failure("the program ended with status %d instead of 1" % code)
        with open(ini_path, "rb") as f:
            if f.read() != ini_before:
                raise Failure("the settings file was written")

    def run(self):
        self.start()
        found = wait_for("the main window", self.window, 30)
        self.wid, self.x, self.y, self.width, self.height = found
        board = wait_for("the board file", self.board, 30)
        self.settle(2)

        # Starts in 3D: the board area shows the clear colour around tiles.
        shot3d = self.board_area(self.screenshot("start-3d"), board)
        colours = shot3d.colour_count()
        if colours < 50:
            raise Failure("the 3D board area has only %d colours" % colours)
        corner = shot3d.getpixel((5, 5))
        if max(abs(a - b) for a, b in zip(corner, GREEN)) > 2:
            raise Failure("the 3D view's corner is %s, not the background colour %s" % (corner, GREEN))

        # Space: the 2D view (its background picture), Space again: the same 3D picture.
        self.key("space")
        self.settle()
        shot2d = self.board_area(self.screenshot("after-space-2d"), board)
        if difference(shot2d, shot3d) < 0.2:
            raise Failure("Space did not change the view")
        self.key("space")
        self.settle()
        back = self.board_area(self.screenshot("back-to-3d"), board)
        if difference(back, shot3d) > 0.01:
            raise Failure("the second Space did not bring the same 3D view back")

        # A click on the board picks a tile: the first free tile met along the
        # middle row from the left edge is selected (or, second, removes a pair).
        middle_y = self.y + board["menuHeight"] + (self.height - board["menuHeight"]) // 2
        before = self.board()
        picked = False
        for step in range(40):
            cx = self.x + 20 + step * (self.width - 40) // 40
            self.xdo("mousemove", cx, middle_y)
            self.xdo("click", 1)
            time.sleep(0.4)
            now = self.board()
            if now and (now["selectedTile"] != NO_TILE or now["tilesLeft"] < before["tilesLeft"]):
                picked = True
                break
        if not picked:
            raise Failure("no click along the middle of the 3D board selected a tile")
        self.screenshot("picked")
        chosen = now["selectedTile"]
        if chosen != NO_TILE and now["tiles"].get(chosen, 0) == 0:
            raise Failure("the picked tile %d is not on the board" % chosen)

        # The camera: two Up presses turn the board (the picture changes).
        self.key("Up", "Up")
        self.settle()
        turned = self.board_area(self.screenshot("turned"), board)
        if difference(turned, back) < 0.02:
            raise Failure("the Up key did not turn the board")
        self.key("F9", "Insert", "Insert", "Insert")
        self.settle()
        self.screenshot("shadows-inclined")

        # F12: the program ends and writes the 3D block with the new values.
        self.key("F12")
        try:
            code = self.proc.wait(20)
        except subprocess.TimeoutExpired:
            raise Failure("F12 did not end the program")
        if code != 0:
            raise Failure("the program ended with code %d" % code)
        with open(os.path.join(self.data, "MAH-JONG.INI"), "rb") as f:
            ini = f.read().decode("latin-1")
        for expected in ("; 3D values", "XPosition        = -10.000000", "Inclination      = 3.000000",
                         "ZView            = 325.000000", "Textures         = 1"):
            if expected not in ini:
                raise Failure("the settings file lacks %r" % expected)

    def run_outlines(self):
        white = "255 255 255"
        lines = ["XPosition = -45.0", "Textures = 0", "Shadows = 0", "SidesColor = " + white,
                 "BackgroundColor = " + white]
        lines += ["RGBLevel[%d]Color = %s" % (n, white) for n in range(5)]
        lines += ["RGBVal[%d]Color = %s" % (n, white) for n in range(4)]
        with open(os.path.join(self.data, "MAH-JONG.INI"), "ab") as ini:
            ini.write("".join(line + "\r\n" for line in lines).encode())
        self.start()
        self.wid, self.x, self.y, self.width, self.height = wait_for("the main window", self.window, 30)
        board = wait_for("the board file", self.board, 30)
        self.settle(2)
        shot = self.board_area(self.screenshot("outlines"), board)
        # The front edge of the front row is one unbroken row of dark pixels, and
        # hardly any dark pixel stands in a piece of its own (a dash).
        longest, pieces = outline_runs(shot)
        if longest < shot.size[0] // 3:
            raise Failure("the longest outline row is %d pixels, not a third of the board's width" % longest)
        if pieces > 20:
            raise Failure("%d outline pixels lie in dashes" % pieces)
        self.key("F12")
        self.proc.wait(20)

    def close(self):
        for proc in (self.proc, self.xvfb):
            if proc is not None and proc.poll() is None:
                proc.kill()
                proc.wait()
        self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)


class Picture:
    """RGB pixels, rows top-down."""

    def __init__(self, width, height, data):
        self.size = (width, height)
        self.data = data

    @staticmethod
    def from_ppm(ppm):
        fields, position = [], 0
        while len(fields) < 4:  # P6, width, height, maximum
            while ppm[position:position + 1].isspace():
                position += 1
            if ppm[position:position + 1] == b"#":
                position = ppm.index(b"\n", position) + 1
                continue
            end = position
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failure("the screenshot is not an 8-bit PPM picture")
        width, height = int(fields[1]), int(fields[2])
        return Picture(width, height, ppm[position + 1:position + 1 + width * height * 3])

    def crop(self, box):
        left, top, right, bottom = box
        left, top = max(left, 0), max(top, 0)
        right, bottom = min(right, self.size[0]), min(bottom, self.size[1])
        rows = [self.data[(y * self.size[0] + left) * 3:(y * self.size[0] + right) * 3] for y in range(top, bottom)]
        return Picture(right - left, bottom - top, b"".join(rows))

    def getpixel(self, point):
        i = (point[1] * self.size[0] + point[0]) * 3
        return tuple(self.data[i:i + 3])

    def colour_count(self):
        return len({self.data[i:i + 3] for i in range(0, len(self.data), 3)})

    def tobytes(self):
        return self.data


def outline_runs(picture, darkest=160, dash=12):
    """The longest run of dark pixels in a row, and how many dark pixels lie in
    8-connected pieces of fewer than `dash` pixels."""
    width, height = picture.size
    data = picture.tobytes()
    dark = [[sum(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) < 3 * darkest for x in range(width)]
            for y in range(height)]
    longest = 0
    for row in dark:
        run = 0
        for pixel in row:
            run = run + 1 if pixel else 0
            longest = max(longest, run)
    seen = [[False] * width for _ in range(height)]
    in_dashes = 0
    for y in range(height):
        for x in range(width):
            if not dark[y][x] or seen[y][x]:
                continue
            seen[y][x] = True
            stack, size = [(x, y)], 0
            while stack:
                cx, cy = stack.pop()
                size += 1
                for nx in (cx - 1, cx, cx + 1):
                    for ny in (cy - 1, cy, cy + 1):
                        if 0 <= nx < width and 0 <= ny < height and dark[ny][nx] and not seen[ny][nx]:
                            seen[ny][nx] = True
                            stack.append((nx, ny))
            if size < dash:
                in_dashes += size
    return longest, in_dashes


def difference(a, b):
    """The share of pixels that differ between two pictures of the same size."""
    if a.size != b.size:
        return 1.0
    pa, pb = a.tobytes(), b.tobytes()
    differing = sum(1 for i in range(0, len(pa), 3 * 7) if pa[i:i + 3] != pb[i:i + 3])
    return differing / (len(pa) // (3 * 7))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--scenario", choices=("play", "no_gl", "outlines"), default="play")
    args = parser.parse_args()
    run = Run(args)
    try:
        if args.scenario == "play":
            run.run()
        elif args.scenario == "outlines":
            run.run_outlines()
        else:
            run.run_without_gl()
    except Failure as failure:
        print("FAILED:", failure, "(screenshots and program output in %s)" % run.out)
        return 1
    finally:
        run.close()
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
