#!/usr/bin/env python3
"""Guard: everything the build, the tests and the data generators use from outside the tree comes from a Debian
package that scripts/install-deps.sh installs, or that one of its packages pulls in.

A package installed by hand on a developer's machine and missing from the list breaks the build on a fresh
machine while every test here stays green; this check is what catches it. It looks at:
- the package config files, libraries and programs recorded in the CMake cache;
- the system headers the compiler read (the build's dependency files) and the libraries on the link lines;
- the programs the tests start: the commands CTest runs and the programs the test scripts call;
- the Python modules and the system files (fonts) that the test scripts and generators import or open.
Each file is given to `dpkg -S`; its package must be in the list or in the list's installed dependency closure
(`apt-cache depends --recurse --installed`, Depends and Pre-Depends only, as the list is installed without
recommended packages). A program found only outside Debian's packages (in /usr/local, or a Python from pyenv)
is looked up where a fresh machine would find it, in /usr/bin and /bin.

Usage: check_install_list.py SOURCE_DIR BUILD_DIR [--list FILE] [--without PACKAGE]...
No network access; a few seconds.
"""
import argparse
import glob
import os
import re
import subprocess
import sys

SYSTEM_BIN = ("/usr/sbin", "/usr/bin", "/sbin", "/bin")
LIST = "scripts/install-deps.sh"


def listed_packages(path):
    text = open(path, encoding="utf-8").read()
    match = re.search(r"^packages=\((.*?)\)", text, re.S | re.M)
    if not match:
        sys.exit(f"{path}: no packages=( ... ) list")
    body = "\n".join(line.split("#", 1)[0] for line in match.group(1).splitlines())
    return set(re.findall(r"[a-z0-9][a-z0-9+.-]+", body))


def closure(packages):
    """The listed packages, every installed package they depend on (recursively, Depends and Pre-Depends, any
    installed alternative, virtual packages through what provides them), and the packages every Debian system
    has (Essential, or of required priority)."""
    out = subprocess.run(["dpkg-query", "-W", "-f", "${Package}\t${Status}\t${Essential}\t${Priority}\t"
                          "${Depends}, ${Pre-Depends}\t${Provides}\n"], capture_output=True, text=True).stdout
    depends, providers, result = {}, {}, set()
    for line in out.splitlines():
        name, status, essential, priority, deps, provides = (line.split("\t") + [""] * 6)[:6]
        if not status.endswith(" installed"):
            continue
        depends[name] = [alt.split()[0].split(":")[0] for group in deps.split(",") for alt in group.split("|")
                         if alt.strip()]
        for virtual in provides.split(","):
            if virtual.strip():
                providers.setdefault(virtual.split()[0], []).append(name)
        if essential == "yes" or priority == "required":
            result.add(name)
    todo = list(packages | result)
    result |= set(packages)
    while todo:
        for dep in depends.get(todo.pop(), []):
            for name in [dep] + providers.get(dep, []):
                if name in depends and name not in result:
                    result.add(name)
                    todo.append(name)
    return result


def cache_files(build):
    """Files and config directories the configure step recorded, and the programs it found."""
    files, programs = set(), set()
    for line in open(os.path.join(build, "CMakeCache.txt"), errors="replace"):
        match = re.match(r"([A-Za-z0-9_.]+):(PATH|FILEPATH)=(/\S+)$", line.strip())
        if not match:
            continue
        key, kind, path = match.groups()
        if kind == "FILEPATH" and os.path.isfile(path):
            (programs if os.path.basename(os.path.dirname(path)) in ("bin", "sbin", "shims") else files).add(path)
        elif key.endswith("_DIR") and "/cmake/" in path and os.path.isdir(path):
            configs = sorted(glob.glob(os.path.join(path, "*Config.cmake")) +
                             glob.glob(os.path.join(path, "*-config.cmake")))
            files.update(configs[:1])
    return files, programs


def build_files(build):
    """System headers read by the compiler and libraries named on the link lines."""
    files = set()
    for depfile in glob.glob(os.path.join(build, "**", "*.o.d"), recursive=True):
        text = open(depfile, errors="replace").read()
        files.update(word for word in text.replace("\\\n", " ").split() if word.startswith("/usr/"))
    for linkfile in glob.glob(os.path.join(build, "**", "link.txt"), recursive=True):
        for word in open(linkfile, errors="replace").read().split():
            if word.startswith("/usr/") and re.search(r"\.(so|a)(\.[0-9.]+)?$", word):
                files.add(word)
    return files


def ctest_programs(build):
    """The first word of every command CTest runs."""
    programs = set()
    for testfile in glob.glob(os.path.join(build, "**", "CTestTestfile.cmake"), recursive=True):
        for match in re.finditer(r'add_test\(\s*(?:\[=\[[^\]]*\]=\]|"[^"]*"|\S+)\s+"([^"]+)"',
                                 open(testfile, errors="replace").read()):
            if match.group(1).startswith("/") and not match.group(1).startswith(os.path.abspath(build)):
                programs.add(match.group(1))
    return programs


def script_needs(scripts):
    """Programs called, modules imported and system files named by the Python scripts."""
    programs, modules, paths = set(), set(), set()
    call = re.compile(r'(?:Popen|run|call|check_call|check_output)\(\s*\[\s*"([A-Za-z][A-Za-z0-9_.+-]*)"')
    for script in scripts:
        text = open(script, encoding="utf-8", errors="replace").read()
        programs.update(call.findall(text))
        for match in re.finditer(r"^\s*(?:import|from)\s+([A-Za-z_][A-Za-z0-9_]*)", text, re.M):
            modules.add(match.group(1))
        paths.update(p for p in re.findall(r'"(/usr/share/[^"*]+)"', text) if os.path.exists(p))
    return programs, modules, paths


def resolve_program(name_or_path):
    """The file a fresh Debian machine would run: a program found in /usr/local or in a pyenv shim is looked up
    by name in /usr/bin and /bin instead."""
    if os.path.dirname(name_or_path) in SYSTEM_BIN and os.path.isfile(name_or_path):
        return name_or_path
    for folder in SYSTEM_BIN:
        candidate = os.path.join(folder, os.path.basename(name_or_path))
        if os.path.isfile(candidate):
            return candidate
    return None


def owners_of_many(paths):
    """{path: set of Debian packages owning it}, asking dpkg -S about each path as given, through its links and
    with or without the /usr prefix (merged /usr), in a few calls."""
    variants = {}
    for path in paths:
        tries = [path, os.path.realpath(path)]
        tries += [p[4:] if p.startswith("/usr/") else "/usr" + p for p in list(tries)]
        variants[path] = list(dict.fromkeys(tries))
    everything = sorted({v for tries in variants.values() for v in tries})
    owned = {}
    for start in range(0, len(everything), 1000):
        out = subprocess.run(["dpkg", "-S"] + everything[start:start + 1000], capture_output=True, text=True).stdout
        for line in out.splitlines():
            head, _, tail = line.partition(": ")
            owned.setdefault(tail.strip(), set()).update(p.strip().split(":")[0] for p in head.split(","))
    result = {}
    for path, tries in variants.items():
        for candidate in tries:
            if owned.get(candidate):
                result[path] = owned[candidate]
                break
    return result


def module_files(modules, source):
    """Where Debian's own Python finds each module; modules of the tree itself are left out."""
    local = {os.path.splitext(os.path.basename(p))[0]
             for p in glob.glob(os.path.join(source, "**", "*.py"), recursive=True)}
    wanted = sorted(m for m in modules if m not in local)
    probe = ("import importlib.util, sys\n"
             "for name in sys.argv[1:]:\n"
             "    try:\n"
             "        spec = importlib.util.find_spec(name)\n"
             "    except Exception:\n"
             "        spec = None\n"
             "    origin = spec.origin if spec else None\n"
             "    if spec and origin in (None, 'built-in', 'frozen'): origin = '-'\n"
             "    print(name, origin or '?')\n")
    python = resolve_program("python3")
    if python is None:
        return {}, wanted
    out = subprocess.run([python, "-I", "-c", probe] + wanted, capture_output=True, text=True).stdout
    files, missing = {}, []
    for line in out.splitlines():
        name, origin = line.split(" ", 1)
        if origin == "?":
            missing.append(name)
        elif origin != "-":
            files[name] = origin
    return files, missing


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("build")
    parser.add_argument("--list", help="install script to check (default: SOURCE/" + LIST + ")")
    parser.add_argument("--without", action="append", default=[], metavar="PACKAGE",
                        help="check the list as if PACKAGE were taken out of it")
    args = parser.parse_args()
    source, build = os.path.abspath(args.source), os.path.abspath(args.build)
    install_list = args.list or os.path.join(source, LIST)
    shown = os.path.relpath(install_list, source) if install_list.startswith(source + "/") else install_list
    if not os.path.isfile(os.path.join(build, "CMakeCache.txt")):
        sys.exit(f"check_install_list: {build} is not configured")

    listed = listed_packages(install_list) - set(args.without)
    allowed = closure(listed)
    uses = {}  # file -> what uses it, for the message

    configured, found_programs = cache_files(build)
    for path in configured:
        uses.setdefault(path, "found by the configure step")
    for path in build_files(build):
        uses.setdefault(path, "read or linked by the build")

    scripts = [p for folder in ("tests", "bench", "tools")
               for p in glob.glob(os.path.join(source, folder, "**", "*.py"), recursive=True)]
    programs, modules, paths = script_needs(scripts)
    problems = []
    for program in sorted(programs | found_programs | ctest_programs(build) | {"python3"}):
        path = resolve_program(program)
        if path is None:
            problems.append(f"  program {os.path.basename(program)}: called by the tests or generators, but no Debian package"
                            f" on this machine provides it in /usr/bin or /bin; install it through {shown}")
        else:
            uses.setdefault(path, "a program the tests or generators call")
    for path in paths:
        uses.setdefault(path, "a system file the scripts open")
    found, missing_modules = module_files(modules, source)
    for name in missing_modules:
        problems.append(f"  Python module {name}: imported by a test or generator script, but Debian's python3"
                        f" cannot import it; install its python3-* package through {shown}")
    for name, path in found.items():
        uses.setdefault(path, f"Python module {name}")

    owned = owners_of_many(uses)
    unowned, needed = 0, {}
    for path in sorted(uses):
        packages = owned.get(path)
        if not packages:
            if path.startswith("/usr/local/"):
                problems.append(f"  {path} ({uses[path]}) was installed by hand, outside Debian's packages;"
                                f" a fresh machine has no such file: use one from a package in {shown}")
            unowned += 1
        elif not packages & allowed:
            needed.setdefault(sorted(packages)[0], []).append(path)
    for package, paths in sorted(needed.items()):
        # The configure step's files first: they are what stops a fresh machine.
        paths.sort(key=lambda p: (uses[p] != "found by the configure step", p))
        more = f" and {len(paths) - 1} more file(s)" if len(paths) > 1 else ""
        problems.append(f"  {package}: owns {paths[0]} ({uses[paths[0]]}){more};"
                        f" add {package} to the packages list of {shown}")
    if problems:
        print(f"A fresh Debian machine cannot build or test the game: {shown} misses what these need:")
        print("\n".join(problems))
        return 1
    print(f"install list: {len(uses) - unowned} files from Debian packages are used by the build, the tests and "
          f"the generators; each package is in {shown} ({len(listed)} packages) or pulled in by one there"
          f" ({unowned} files belong to no package and were left out)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
