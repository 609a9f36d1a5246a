"""Shared by the install tests: the arguments and a staged install into a folder of its own."""
import argparse
import os
import subprocess

PACKAGE = "velmora-mahjong"
METAINFO = "example.velmora.mahjong.metainfo.xml"


def arguments(description, extra=()):
    parser = argparse.ArgumentParser(description=description)
    for name in ("--cmake", "--build", "--source", "--version") + tuple(extra):
        parser.add_argument(name, required=True)
    parser.add_argument("--games", nargs="+", required=True)
    parser.add_argument("--tools", nargs="*", default=[])
    return parser


def stage(args, destdir, prefix):
    """cmake --install into destdir + prefix; returns that folder."""
    env = dict(os.environ, DESTDIR=destdir)
    result = subprocess.run([args.cmake, "--install", args.build, "--prefix", prefix], env=env,
                            capture_output=True, text=True, timeout=90)
    if result.returncode != 0:
        raise AssertionError("cmake --install failed:\n" + result.stdout + result.stderr)
    return destdir + prefix
