#!/usr/bin/env python3
"""Reads real entries of the machine's terminfo database with the runner's parser (through
terminfo_dump) and checks facts about them that are stated here by hand: names, colour
counts, and the bytes that setaf and sgr0 expand to. The expected expansions follow from
the entries' capability strings by the parameter language's rules.

    python3 tests/e2e/test_terminfo_db.py --bin-dir build/bin

The entries come from Debian's ncurses-base and ncurses-term packages (xterm-direct is in
the latter); .ci/run installs both.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

ESC = b"\x1b"

# term -> (first name, colors or None, {(capability, params): expected bytes or None for absent})
FACTS = {
    "xterm-256color": ("xterm-256color", 256, {
        ("setaf", (1,)): ESC + b"[31m",
        ("setaf", (11,)): ESC + b"[93m",
        ("setaf", (100,)): ESC + b"[38;5;100m",
        ("sgr0", ()): ESC + b"(B" + ESC + b"[m",
    }),
    "linux": ("linux", 8, {("setaf", (2,)): ESC + b"[32m"}),
    "screen": ("screen", 8, {("setaf", (1,)): ESC + b"[31m"}),
    "vt100": ("vt100", None, {("setaf", (1,)): None}),
    "xterm-direct": ("xterm-direct", 16777216, {
        ("setaf", (1,)): ESC + b"[31m",
        # 0x123456: red 0x12, green 0x34, blue 0x56 in the direct-colour form.
        ("setaf", (0x123456,)): ESC + b"[38:2::18:52:86m",
    }),
    "dumb": ("dumb", None, {("setaf", (1,)): None, ("sgr0", ()): None}),
}

failures = []


def fail(message):
    failures.append(message)
    print("FAIL " + message)


def run(argv, env=None):
    return subprocess.run(argv, capture_output=True, env=env)


def parse_dump(output):
    """terminfo_dump's text as {(kind, name): value} plus the names line."""
    entry = {}
    names = None
    for line in output.decode("latin-1").splitlines():
        if line.startswith("names: "):
            names = line[len("names: "):]
            continue
        kind, _, rest = line.partition(" ")
        if kind == "bool":
            entry[("bool", rest)] = True
        elif kind == "num":
            name, _, value = rest.partition(" ")
            entry[("num", name)] = int(value)
        elif kind == "str":
            name, _, value = rest.partition(" ")
            entry[("str", name)] = re.sub(rb"\\x([0-9a-f]{2})", lambda m: bytes([int(m.group(1), 16)]),
                                          value.encode("latin-1"))
    return names, entry


def check_entry(dump, term, path):
    first_name, colors, expansions = FACTS[term]
    result = run([dump, "path", path])
    if result.returncode != 0:
        fail(f"{term}: {result.stdout.decode(errors='replace').strip()}")
        return
    names, parsed = parse_dump(result.stdout)
    if names is None or names.split("|")[0] != first_name:
        fail(f"{term}: names {names!r}")
    if parsed.get(("num", "colors")) != colors:
        fail(f"{term}: colors {parsed.get(('num', 'colors'))!r}, expected {colors!r}")
    for (cap, params), expected in expansions.items():
        ours = run([dump, "expand", path, cap] + [str(p) for p in params])
        if expected is None:
            if ours.returncode != 2:
                fail(f"{term}: {cap} should be absent, got {ours.stdout!r}")
            continue
        if ours.returncode != 0 or ours.stdout != expected:
            fail(f"{term}: {cap} {list(params)}: expanded {ours.stdout!r}, expected {expected!r}")
    print(f"ok   {term}")


def check_hex_directory(dump, path):
    """An entry stored only under the hexadecimal directory ("78" for x) is found."""
    with tempfile.TemporaryDirectory() as tmp:
        os.makedirs(os.path.join(tmp, "78"))
        shutil.copy(path, os.path.join(tmp, "78", "xterm-256color"))
        env = {k: v for k, v in os.environ.items() if k not in ("TERMINFO", "TERMINFO_DIRS")}
        env["TERMINFO_DIRS"] = tmp
        found = run([dump, "dbpath", "xterm-256color"], env).stdout.decode().strip()
        if found != os.path.join(tmp, "78", "xterm-256color"):
            fail(f"hexadecimal directory: found {found!r}")
            return
        env["TERM"] = "xterm-256color"
        by_env = run([dump, "env"], env)
        by_path = run([dump, "path", path])
        if by_env.stdout != by_path.stdout:
            fail("hexadecimal directory: the entry read through TERM differs")
            return
    print("ok   hexadecimal directory")


def check_empty_piece_means_default_dir(dump, term, path):
    """An empty piece of TERMINFO_DIRS stands for /usr/share/terminfo."""
    if not path.startswith("/usr/share/terminfo/"):
        return
    env = dict(os.environ, TERMINFO_DIRS="/nonexistent:")
    env.pop("TERMINFO", None)
    found = run([dump, "dbpath", term], env).stdout.decode().strip()
    if found != path:
        fail(f"TERMINFO_DIRS ending in ':' found {found!r} for {term}, expected {path}")
    else:
        print("ok   empty TERMINFO_DIRS piece")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin-dir", required=True)
    options = parser.parse_args()
    dump = os.path.join(options.bin_dir, "terminfo_dump")
    env = {k: v for k, v in os.environ.items() if k not in ("TERMINFO", "TERMINFO_DIRS")}
    checked_default = False
    for term in FACTS:
        path = run([dump, "dbpath", term], env).stdout.decode().strip()
        if not path:
            fail(f"{term}: not in this machine's terminfo database (install ncurses-term)")
            continue
        check_entry(dump, term, path)
        if term == "xterm-256color":
            check_hex_directory(dump, path)
        if not checked_default and path.startswith("/usr/share/terminfo/"):
            check_empty_piece_means_default_dir(dump, term, path)
            checked_default = True
    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
