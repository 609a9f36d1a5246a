#!/usr/bin/env python3
"""Checks the language files in data/LANGUAGE against the key tables of
settings/language.h.

For every *.TXT file:
  - the bytes are valid Windows-1252 text, every line ends with CR LF;
  - every key of MJ_MENU_TEXTS, MJ_TIP_TEXTS and MJ_LONG_TEXTS is present
    exactly once, on a line of the form KEY = "value" with exactly two
    double quotes (so no value holds a double quote);
  - no line names a key the game does not know, and every other line is a
    comment (";" in the first column) or shorter than 3 characters;
  - menu and tip values, with the function-key suffix the game appends,
    fit their 127 characters; tips fit the 79 characters a tooltip shows;
  - every menu value marks one letter (or digit) with "&" as its mnemonic
    ("&&" is a plain ampersand), and no two items of one menu share a
    mnemonic (upper and lower case alike); menu values hold no tab;
  - no line is longer than 1023 characters;
  - every language file has its help file (same name, extension .HLP).

Exit status 0 when every file passes, 1 otherwise.
"""

import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
HEADER = os.path.join(ROOT, "settings", "language.h")
LANGUAGE_DIRECTORY = os.path.join(ROOT, "data", "LANGUAGE")

# The menus of the menu bar as shell/menubar.cpp builds them; items that are
# never shown together stand in separate alternatives. The file lists have no
# mnemonics; NONE and MORE stand beside them in the file submenus.
MENUS = {
    "the menu bar": [["GAME", "OPTIONS", "SOUNDS", "GRAPHICS", "LAYOUT", "HELP"]],
    "GAME": [["NEW_GAME", "RESTART_GAME", "EASYMODE", "AUTOPLAY", "PAUSE_CHRONO", "HINT", "UNDO",
              "SAVE_GAME", "LOAD_GAME", "EXIT"]],
    "OPTIONS": [[view, "SHOW_CHRONO", "SHADOWS", "CHANGE_CURSOR", "LANGUAGE", "CONFIG"]
                for view in ("GO2D", "GO3D")],
    "SOUNDS": [["CHANGE_MUSIC", "CHANGE_SOUND1", "CHANGE_SOUND2", "CHANGE_SOUND3", "USE_SOUNDS"]],
    "GRAPHICS": [["TILESET", "BACKGROUND", "USE_TEXTURES", "CHANGE_COLORS"]],
    "LAYOUT": [["LOAD_LAYOUT", "SAVE_LAYOUT", "HALL_OF_FAME", "RANDOM_LAYOUT"]],
    "HELP": [["HELP_FILE", "HELP_ABOUT"]],
    "a file list": [["NONE", "MORE"]],
}

MENU_TEXT_LIMIT = 127
TIP_SHOWN_LIMIT = 79
LINE_LIMIT = 1023


def macro_body(source, name):
    """The text of a #define NAME(X) ... continued over backslashed lines."""
    match = re.search(r"#define\s+%s\(X\)((?:[^\n]*\\\n)*[^\n]*)" % name, source)
    if not match:
        raise SystemExit("%s: no macro %s" % (HEADER, name))
    return match.group(1).replace("\\\n", " ")


def unescape(c_string):
    return c_string.encode("ascii").decode("unicode_escape")


def key_tables(header_path):
    source = open(header_path, encoding="ascii").read()
    menu = [(key, unescape(suffix)) for key, suffix in
            re.findall(r'X\((\w+),\s*"([^"]*)"\)', macro_body(source, "MJ_MENU_TEXTS"))]
    tips = re.findall(r"X\((\w+)\)", macro_body(source, "MJ_TIP_TEXTS"))
    long_texts = re.findall(r"X\((\w+)\)", macro_body(source, "MJ_LONG_TEXTS"))
    return dict(menu), tips, long_texts


def mnemonics(value):
    """The letters marked with a single "&" ("&&" is an ampersand), and whether
    a single "&" ends the text."""
    marked, i, dangling = [], 0, False
    while i < len(value):
        if value[i] == "&":
            if i + 1 == len(value):
                dangling = True
            elif value[i + 1] != "&":
                marked.append(value[i + 1])
            i += 2
            continue
        i += 1
    return marked, dangling


def check_mnemonics(values, problems):
    for key, value in values.items():
        marked, dangling = mnemonics(value)
        if dangling:
            problems.append("%s ends with a single '&'" % key)
        if len(marked) != 1 or not marked[0].isalnum():
            problems.append("%s must mark exactly one letter or digit with '&' (marks: %r)" % (key, marked))
    for menu, alternatives in MENUS.items():
        for items in alternatives:
            seen = {}
            for key in items:
                marked, _ = mnemonics(values.get(key, ""))
                if len(marked) != 1:
                    continue
                letter = marked[0].lower()
                if letter in seen and seen[letter] != key:
                    problems.append("%s and %s share the mnemonic %r in %s" % (seen[letter], key, letter, menu))
                seen.setdefault(letter, key)


def check_file(path, menu, tips, long_texts):
    problems = []
    raw = open(path, "rb").read()
    try:
        text = raw.decode("cp1252")
    except UnicodeDecodeError as error:
        return ["not Windows-1252 text: %s" % error]
    if raw and not raw.endswith(b"\r\n"):
        problems.append("the last line does not end with CR LF")
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    known = set(menu) | set(tips) | set(long_texts)
    seen, values = {}, {}
    for number, line in enumerate(lines, 1):
        where = "line %d" % number
        if "\n" in line or "\r" in line:
            problems.append("%s: a line break that is not CR LF" % where)
        if len(line) + 2 > LINE_LIMIT:
            problems.append("%s: longer than %d characters" % (where, LINE_LIMIT))
        if line.startswith(";") or len(line) + 2 < 3:
            continue
        words = line.split()
        if not words:
            problems.append("%s: a line of blanks" % where)
            continue
        key = words[0]
        if key not in known:
            problems.append("%s: unknown key %r" % (where, key))
            continue
        if line.count('"') != 2:
            problems.append("%s: %s must have exactly two double quotes" % (where, key))
            continue
        if not re.match(r'^%s\s*=\s*"[^"]*"\s*$' % re.escape(key), line):
            problems.append('%s: %s is not written as KEY = "value"' % (where, key))
        value = line.split('"')[1]
        seen.setdefault(key, []).append(number)
        values[key] = value
        if key in menu:
            total = len(value) + len(menu[key])
            if total > MENU_TEXT_LIMIT:
                problems.append("%s: %s is %d characters with its suffix, more than %d"
                                % (where, key, total, MENU_TEXT_LIMIT))
            if "\t" in value:
                problems.append("%s: %s holds a tab (the game adds the key itself)" % (where, key))
            if value != value.strip():
                problems.append("%s: %s has blanks at its ends" % (where, key))
        if key in tips and len(value) > TIP_SHOWN_LIMIT:
            problems.append("%s: %s is longer than the %d characters a tooltip shows"
                            % (where, key, TIP_SHOWN_LIMIT))
        if value == "":
            problems.append("%s: %s is empty" % (where, key))
    for key in list(menu) + tips + long_texts:
        count = len(seen.get(key, []))
        if count != 1:
            problems.append("key %s occurs %d times" % (key, count))
    check_mnemonics({key: values[key] for key in menu if key in values}, problems)
    return problems


def main():
    menu, tips, long_texts = key_tables(HEADER)
    files = sorted(f for f in os.listdir(LANGUAGE_DIRECTORY) if f.upper().endswith(".TXT"))
    if not files:
        print("no language files in %s" % LANGUAGE_DIRECTORY)
        return 1
    failed = False
    for name in files:
        path = os.path.join(LANGUAGE_DIRECTORY, name)
        problems = check_file(path, menu, tips, long_texts)
        help_name = name[:name.rfind(".")] + ".HLP"
        if not os.path.exists(os.path.join(LANGUAGE_DIRECTORY, help_name)):
            problems.append("no help file %s" % help_name)
        if name != name.upper():
            problems.append("the file name is not in capitals")
        status = "ok" if not problems else "%d problems" % len(problems)
        print("%-12s %d keys checked: %s" % (name, len(menu) + len(tips) + len(long_texts), status))
        for p in problems:
            print("    " + p)
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
