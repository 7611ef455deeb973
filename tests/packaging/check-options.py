#!/usr/bin/env python3
"""The options --help describes and the options the manual page describes are the
same ones, and the program accepts each of them.

    check-options.py PROGRAM MANPAGE        (MANPAGE: troff, plain or gzip-compressed)
"""
import gzip
import os
import re
import subprocess
import sys


# An entry as both sides spell it: "--render", "-h, --help", or "--" alone.
ENTRY = r"(?:-[a-z], )?--(?:[a-z][a-z-]*)?"


def help_options(program, env):
    text = subprocess.run([program, "--help"], env=env, capture_output=True, text=True,
                          check=True).stdout
    # The entries of the option list: an indented line that begins with the option.
    return [m.group(1) for m in re.finditer(rf"^ {{2}}({ENTRY})(?= )", text, re.M)]


def manpage_options(path):
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "rt", encoding="utf-8") as f:
        troff = f.read()
    section = re.search(r"^\.SH OPTIONS\n(.*?)^\.SH ", troff, re.M | re.S)
    if not section:
        sys.exit(f"{path}: no OPTIONS section")
    # Each entry is a line that begins with the option in bold (a short form
    # first), its text indented below it.
    bold = re.compile(r"^((?:\\fB-[a-z]\\fR, )?\\fB--(?:[a-z][a-z-]*)?\\fR).*\n\.RS", re.M)
    return [re.sub(r"\\f[BR]", "", m) for m in bold.findall(section.group(1))]


def main():
    program, manpage = sys.argv[1], sys.argv[2]
    env = dict(os.environ, LC_ALL="C.UTF-8", LANGUAGE="")
    in_help, in_man = help_options(program, env), manpage_options(manpage)
    problems = []
    if not in_help:
        problems.append("--help lists no options")
    for option in sorted(set(in_help) - set(in_man)):
        problems.append(f"{option} is in --help but not in the manual page")
    for option in sorted(set(in_man) - set(in_help)):
        problems.append(f"{option} is in the manual page but not in --help")
    if in_help != in_man and not problems:
        problems.append(f"the order differs: --help {in_help}, manual page {in_man}")
    # An option either side names that the program does not know would be refused
    # with "Unknown option"; given alone, every known one is harmless. "--" alone
    # would start the clock Default.
    spellings = {o for entry in set(in_help) | set(in_man) for o in entry.split(", ")}
    for option in sorted(spellings - {"--"}):
        r = subprocess.run([program, option], env=dict(env, QT_QPA_PLATFORM="offscreen"),
                           capture_output=True, text=True, timeout=30,
                           stdin=subprocess.DEVNULL)
        if "Unknown option" in r.stderr:
            problems.append(f"{option} is described but the program does not know it")
    for p in problems:
        print(p, file=sys.stderr)
    print(f"{len(in_help)} options in --help, {len(in_man)} in the manual page")
    sys.exit(1 if problems else 0)


main()
