#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer, naming each such include.

Layers, bottom to top: platform/; the core (engine/, gamefiles/, settings/) with solver/; view2d/; view3d/;
dialogs/; shell/. A file may include headers of its own layer and of the layers below it.
Only platform/ may include Qt or SDL headers.
Usage: check_layers.py <source tree>
"""
import os
import re
import sys

LAYERS = {
    "platform": 0,
    "engine": 1, "gamefiles": 1, "settings": 1, "solver": 1,
    "view2d": 2,
    "view3d": 3,
    "dialogs": 4,
    "shell": 5,
}
NAMES = {0: "platform", 1: "core", 2: "view2d", 3: "view3d", 4: "dialogs", 5: "shell"}
LOCAL = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SYSTEM = re.compile(r'^\s*#\s*include\s*<([^>]+)>')
TOOLKIT = re.compile(r'^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|SDL.*|SDL2/.*)$')


def layer_of(path):
    return LAYERS.get(path.split("/", 1)[0])


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    faults = []
    checked = 0
    for folder in sorted(LAYERS):
        for directory, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")
                own = layer_of(path)
                checked += 1
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        local = LOCAL.match(line)
                        if local:
                            target = layer_of(local.group(1))
                            if target is not None and target > own:
                                faults.append(f"{path}:{number}: {NAMES[own]} includes {local.group(1)} "
                                              f"({NAMES[target]}, a higher layer)")
                        system = SYSTEM.match(line)
                        if system and own != 0 and TOOLKIT.match(system.group(1)):
                            faults.append(f"{path}:{number}: {NAMES[own]} includes <{system.group(1)}> "
                                          f"(only platform/ includes Qt or SDL)")
    for fault in faults:
        print(fault)
    print(f"{checked} files checked, {len(faults)} upward includes")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
