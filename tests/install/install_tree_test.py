#!/usr/bin/env python3
"""The staged install tree (DESTDIR, prefix /usr/local).

--check tree      every file in its place and no other: launchers, programs, the delivered data byte for byte
                  and readable by all, menu entries, icons at every size the resources have (and scalable),
                  the metadata file
--check metadata  desktop-file-validate and appstreamcli validate pass; the entries start installed launchers
                  and show the installed icon; the metadata names the entries, the programs, this version and
                  screenshots that our screenshot tool made; the scalable icon looks like the 256-pixel one
"""
import configparser
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import install_support as support  # noqa: E402

PREFIX = "/usr/local"


def files_below(root):
    found = set()
    for folder, dirs, names in os.walk(root):
        for name in names + [d for d in dirs if not os.listdir(os.path.join(folder, d))]:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def check_tree(args, root, faults):
    data = os.path.join(args.source, "data")
    icons = [n for n in os.listdir(os.path.join(args.source, "resources")) if n.startswith("icon-")]
    sizes = sorted(int(n[5:-4]) for n in icons)
    share = "share/" + support.PACKAGE
    expected = {"bin/" + p for p in args.games + args.tools}
    expected |= {"libexec/%s/%s" % (support.PACKAGE, g) for g in args.games}
    expected |= {"share/applications/%s.desktop" % g for g in args.games}
    expected |= {"share/icons/hicolor/%dx%d/apps/%s.png" % (n, n, support.PACKAGE) for n in sizes}
    expected |= {"share/icons/hicolor/scalable/apps/%s.svg" % support.PACKAGE, "share/metainfo/" + support.METAINFO}
    delivered = {f for f in files_below(data) if os.path.basename(f) != ".keep"}
    delivered |= {os.path.dirname(f) for f in files_below(data) if os.path.basename(f) == ".keep"}
    expected |= {share + "/" + f for f in delivered}
    found = files_below(root)
    faults += ["missing: " + f for f in sorted(expected - found)]
    faults += ["not expected: " + f for f in sorted(found - expected)]

    for f in sorted(delivered):
        source, copy = os.path.join(data, f), os.path.join(root, share, f)
        if os.path.isfile(source) and os.path.isfile(copy):
            with open(source, "rb") as a, open(copy, "rb") as b:
                if a.read() != b.read():
                    faults.append("differs from data/: " + f)
            if os.stat(copy).st_mode & 0o7777 != 0o644:
                faults.append("%s has mode %o" % (f, os.stat(copy).st_mode & 0o7777))
    for g in args.games:
        launcher = os.path.join(root, "bin", g)
        program = os.path.join(root, "libexec", support.PACKAGE, g)
        for path, magic in ((launcher, b"#!/bin/sh\n"), (program, b"\x7fELF")):
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    if not f.read(len(magic)) == magic or not os.access(path, os.X_OK):
                        faults.append(path[len(root):] + " is not an executable of its kind")


def desktop_entry(path):
    parser = configparser.RawConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def run(command):
    result = subprocess.run(command, capture_output=True, text=True, timeout=60)
    return result.returncode, (result.stdout + result.stderr).strip()


def check_metadata(args, root, faults):
    metainfo = os.path.join(root, "share/metainfo", support.METAINFO)
    entries = [os.path.join(root, "share/applications/%s.desktop" % g) for g in args.games]
    code, text = run(["desktop-file-validate"] + entries)
    if code != 0 or text:
        faults.append("desktop-file-validate: " + text)
    code, text = run(["appstreamcli", "validate", "--no-net", metainfo])
    if code != 0:
        faults.append("appstreamcli validate: " + text)
    print(text)

    for g, path in zip(args.games, entries):
        entry = desktop_entry(path)
        if not os.path.isfile(os.path.join(root, "bin", entry.get("Exec", "").split()[0])):
            faults.append("%s.desktop starts %r, which is not installed" % (g, entry.get("Exec")))
        if entry.get("Icon") != support.PACKAGE or entry.get("Categories") != "Game;BoardGame;":
            faults.append("%s.desktop: icon %r, categories %r" % (g, entry.get("Icon"), entry.get("Categories")))

    component = ElementTree.parse(metainfo).getroot()
    launchables = sorted(e.text for e in component.iter("launchable"))
    if launchables != sorted(g + ".desktop" for g in args.games):
        faults.append("the metadata launches %s" % launchables)
    if sorted(e.text for e in component.iter("binary")) != sorted(args.games):
        faults.append("the metadata provides other programs than %s" % args.games)
    releases = [r.get("version") for r in component.iter("release")]
    if not releases or releases[0] != args.version:
        faults.append("the newest release in the metadata is %s, the project is %s" % (releases[:1], args.version))
    shots = os.path.join(args.source, "resources", "screenshots")
    images = [e.text.rsplit("/", 1)[-1] for e in component.iter("image")]
    if not images or any(not os.path.isfile(os.path.join(shots, name)) for name in images):
        faults.append("screenshots %s are not all in resources/screenshots" % images)

    # The scalable icon drawn at 256 pixels against the 256-pixel one.
    icons = os.path.join(root, "share/icons/hicolor")
    with tempfile.TemporaryDirectory(prefix="mj-icon-") as folder:
        drawn = os.path.join(folder, "svg.png")
        code, text = run(["rsvg-convert", "-w", "256", "-h", "256", "-o", drawn,
                          os.path.join(icons, "scalable/apps", support.PACKAGE + ".svg")])
        if code == 0:
            code, text = run(["compare", "-metric", "RMSE", drawn,
                              os.path.join(icons, "256x256/apps", support.PACKAGE + ".png"), "null:"])
        try:
            difference = float(text.split("(")[1].rstrip(")"))
        except (IndexError, ValueError):
            difference = None
        if difference is None or difference > 0.12:
            faults.append("the scalable icon does not look like the 256-pixel one: %s" % text)


def main():
    parser = support.arguments(__doc__.splitlines()[0])
    parser.add_argument("--check", choices=("tree", "metadata"), required=True)
    args = parser.parse_args()
    faults = []
    destdir = tempfile.mkdtemp(prefix="mj-install-")
    try:
        root = support.stage(args, destdir, PREFIX)
        (check_tree if args.check == "tree" else check_metadata)(args, root, faults)
    finally:
        shutil.rmtree(destdir, ignore_errors=True)
    for fault in faults:
        print("FAULT " + fault)
    print("%s: %d faults" % (args.check, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
