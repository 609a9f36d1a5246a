#!/usr/bin/env python3
"""The launchers of a staged install (prefix /usr), with a HOME of their own, under Xvfb.

1. mahjong-2d's launcher makes ~/.local/share/velmora-mahjong, copies the delivered data into it and starts
   the game there: the language dialog, the main window, the board; F12 writes MAH-JONG.INI there.
2. The player changes a delivered layout and the delivered data gains a layout. The next start keeps the
   player's file, adds the new layout and goes straight to the main window; so does mahjong's launcher.
3. The start directory cannot be made (a file is in its way): a window tells why, the game does not start.
4. The start directory cannot be written (without a display): the error output tells why, nothing is copied.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import e2e_mahjong as e2e  # noqa: E402
import install_support as support  # noqa: E402

expect = e2e.expect


class LauncherSession(e2e.Session):
    """The e2e session, with the player's HOME and without XDG_DATA_HOME."""
    home = None

    def env(self, extra=None):
        env = super().env()
        env["HOME"] = self.home
        env["LIBGL_ALWAYS_SOFTWARE"] = "1"
        env.pop("XDG_DATA_HOME", None)
        env.update(extra or {})
        return env


def read(path):
    with open(path, "rb") as f:
        return f.read()


def delivered_files(data):
    return sorted(os.path.relpath(os.path.join(d, n), data) for d, _, names in os.walk(data) for n in names)


def start_to_main_window(s, launcher, first):
    s.program = launcher
    if first:
        window, _ = s.first_start()
    else:
        s.start_program()

        def main_window():
            s.check_running()
            expect(not s.windows_named(e2e.TITLE), "the language dialog came up again")
            found = s.windows_named(e2e.MAIN_TITLE)
            return found[-1] if found else None
        window = e2e.wait_for("the main window", main_window, 30, 0.1)
        s.wait_board("the board", lambda b: b["tilesLeft"] == 144, 20)
    s.key(window, "F12")
    expect(s.wait_exit(15) == 0, "exit code not 0")


def run_failing(launcher, env, **kwargs):
    return subprocess.Popen([launcher], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            stdin=subprocess.DEVNULL, preexec_fn=e2e.die_with_parent, **kwargs)


def scenario(s, root, home):
    bin_dir = os.path.join(root, "bin")
    data = os.path.join(root, "share", support.PACKAGE)
    start = os.path.join(home, ".local", "share", support.PACKAGE)

    # 1. First start.
    start_to_main_window(s, os.path.join(bin_dir, "mahjong-2d"), first=True)
    expect(os.path.isdir(os.path.join(start, "SAVEGAME")) and os.path.isdir(os.path.join(start, "SCORES")),
           "empty data folders were not made")
    missing = [f for f in delivered_files(data) if read(os.path.join(start, f)) != read(os.path.join(data, f))]
    expect(not missing, "not copied: %s" % missing)
    ini = os.path.join(start, "MAH-JONG.INI")
    expect(os.path.exists(ini), "the game did not run in the start directory")
    print("first start: %d delivered files copied, MAH-JONG.INI written" % len(delivered_files(data)))

    # 2. An update after the player's change.
    players = read(os.path.join(data, "LAYOUTS", "CROSS.MYL"))
    with open(os.path.join(start, "LAYOUTS", "PYRAMID.MYL"), "wb") as f:
        f.write(players)
    shutil.copy(os.path.join(data, "LAYOUTS", "ARENA.MYL"), os.path.join(data, "LAYOUTS", "EXTRA.MYL"))
    start_to_main_window(s, os.path.join(bin_dir, "mahjong-2d"), first=False)
    expect(read(os.path.join(start, "LAYOUTS", "PYRAMID.MYL")) == players, "the player's layout was replaced")
    expect(read(os.path.join(start, "LAYOUTS", "EXTRA.MYL")) == read(os.path.join(data, "LAYOUTS", "EXTRA.MYL")),
           "the new layout was not copied")
    if "mahjong" in s.games:
        start_to_main_window(s, os.path.join(bin_dir, "mahjong"), first=False)
    expect(not [n for n in os.listdir(os.path.join(start, "LAYOUTS")) if ".copying" in n], "a part file is left")
    print("second start: the player's layout kept, the new one added")

    # 3. A file where the start directory's parent should be: an error window, status 1, no game.
    blocked = os.path.join(s.dir, "blocked")
    open(blocked, "w").close()
    proc = run_failing(os.path.join(bin_dir, "mahjong-2d"), s.env({"XDG_DATA_HOME": blocked}))

    def error_window():
        expect(proc.poll() is None, "the launcher ended without showing its error")
        found = s.windows_named(e2e.TITLE)
        return found[-1] if found else None
    window = e2e.wait_for("the error window", error_window, 20, 0.1)
    s.screenshot("launcher_error.png")
    s.key(window, "Return")
    try:
        _, err = proc.communicate(timeout=15)
    except subprocess.TimeoutExpired:
        proc.kill()
        raise e2e.Failure("the launcher did not end after its error window")
    expect(proc.returncode == 1, "status %d after the error" % proc.returncode)
    expect(b"cannot be made" in err and blocked.encode() in err, "error output %r" % err)
    expect(not s.windows_named(e2e.MAIN_TITLE), "the game started")
    print("not made: %s" % err.decode().strip())

    # 4. A start directory the player cannot write (as nobody when the test runs as root): no display.
    xdg = os.path.join(s.dir, "readonly")
    os.makedirs(os.path.join(xdg, support.PACKAGE))
    os.chmod(os.path.join(xdg, support.PACKAGE), 0o555)
    env = s.env({"XDG_DATA_HOME": xdg})
    env.pop("DISPLAY")
    user = {"user": 65534, "group": 65534, "extra_groups": []} if os.geteuid() == 0 else {}
    proc = run_failing(os.path.join(bin_dir, "mahjong-2d"), env, **user)
    try:
        _, err = proc.communicate(timeout=15)
    except subprocess.TimeoutExpired:
        proc.kill()
        raise e2e.Failure("the launcher did not end")
    expect(proc.returncode == 1 and b"cannot be written" in err, "status %d, error output %r" % (proc.returncode, err))
    expect(not os.listdir(os.path.join(xdg, support.PACKAGE)), "files were copied into the folder")
    print("not writable: %s" % err.decode().strip())


def main():
    args = support.arguments(__doc__.splitlines()[0], ("--out",)).parse_args()
    e2e.scenario_deadline = time.monotonic() + 200
    os.makedirs(args.out, exist_ok=True)
    empty = tempfile.mkdtemp(prefix="mj-launcher-")
    start = time.monotonic()
    try:
        root = support.stage(args, os.path.join(empty, "stage"), "/usr")
        os.mkdir(os.path.join(empty, "none"))
        with LauncherSession(os.path.join(root, "bin", "mahjong-2d"), os.path.join(empty, "none"), args.out) as s:
            s.games = args.games
            s.home = os.path.join(s.dir, "home")
            # Every folder on the way is open to the unprivileged user of the last step.
            for folder in (empty, s.dir):
                os.chmod(folder, 0o755)
            scenario(s, root, s.home)
    except (e2e.Failure, AssertionError, OSError) as failure:
        print("FAILED install_launcher: %s (after %.1f s; logs in %s)" % (failure, time.monotonic() - start, args.out))
        return 1
    finally:
        shutil.rmtree(empty, ignore_errors=True)
    print("PASSED install_launcher in %.1f s" % (time.monotonic() - start))
    return 0


if __name__ == "__main__":
    sys.exit(main())
