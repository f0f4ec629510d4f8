#!/usr/bin/env python3
"""Reads real terminfo database entries with the runner's parser (through terminfo_dump)
and checks them against the database's own tools: every capability infocmp lists must be
parsed with the same value, and setaf/sgr0 must expand to the bytes tput sends.

    python3 tests/e2e/test_terminfo_db.py --bin-dir build/bin

Entries that the machine's database lacks are reported and skipped; infocmp and tput are
required (package ncurses-bin; ncurses-term provides the wider set of entries).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

TERMS = ["xterm-256color", "linux", "screen", "vt100", "xterm-direct", "dumb"]
# (capability, parameters) pairs compared with tput.
EXPANSIONS = [("setaf", [1]), ("setaf", [2]), ("setaf", [11]), ("setaf", [0x123456]), ("sgr0", [])]

failures = []


def fail(message):
    failures.append(message)
    print("FAIL " + message)


def run(argv, env=None):
    return subprocess.run(argv, capture_output=True, env=env)


def decode_infocmp(text):
    """The bytes of an infocmp string value (\\E, ^X, \\nnn and the other escapes)."""
    out = bytearray()
    i = 0
    simple = {"E": 0x1B, "e": 0x1B, "n": 0x0A, "l": 0x0A, "r": 0x0D, "t": 0x09, "b": 0x08,
              "f": 0x0C, "s": 0x20, "^": 0x5E, "\\": 0x5C, ",": 0x2C, ":": 0x3A, "a": 0x07}
    while i < len(text):
        c = text[i]
        if c == "\\":
            nxt = text[i + 1]
            if nxt in "01234567" and re.match(r"[0-7]{3}", text[i + 1:i + 4]):
                value = int(text[i + 1:i + 4], 8)
                out.append(value if value else 0x80)
                i += 4
            elif nxt == "0":
                out.append(0x80)
                i += 2
            elif nxt in simple:
                out.append(simple[nxt])
                i += 2
            else:
                raise ValueError(f"unknown escape \\{nxt} in {text!r}")
        elif c == "^":
            nxt = text[i + 1]
            out.append(0x7F if nxt == "?" else ord(nxt) & 0x1F)
            i += 2
        else:
            out.extend(c.encode("latin-1"))
            i += 1
    return bytes(out)


def infocmp_caps(term, long_names):
    """(kind, name, value) of every capability, in database order, as infocmp shows it."""
    argv = ["infocmp", "-1", "-a", "-sd"] + (["-L"] if long_names else []) + [term]
    lines = run(argv).stdout.decode("latin-1").splitlines()
    caps = []
    for line in lines[2:]:  # a comment, then the names line
        item = line.strip()
        if not item.endswith(","):
            continue
        item = item[:-1]
        m = re.match(r"([^=#@]+)(?:(=)(.*)|(#)(.*)|(@))?$", item)
        name = m.group(1)
        if m.group(2):
            # Only the short listing's values are decoded; the long one serves for names.
            caps.append(("str", name, None if long_names else decode_infocmp(m.group(3))))
        elif m.group(4):
            caps.append(("num", name, int(m.group(5), 0)))
        elif m.group(6):
            caps.append(("cancelled", name, None))
        else:
            caps.append(("bool", name, True))
    return caps


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


def table_names(dump):
    names = {"bool": set(), "num": set(), "str": set()}
    for line in run([dump, "tables"]).stdout.decode().splitlines():
        kind, _, name = line.split(" ")
        names[kind].add(name)
    return names


def check_entry(dump, tables, term, path):
    result = run([dump, "path", path])
    if result.returncode != 0:
        fail(f"{term}: {result.stdout.decode(errors='replace').strip()}")
        return
    names, parsed = parse_dump(result.stdout)
    header = run(["infocmp", "-1", term]).stdout.decode("latin-1").splitlines()[1].rstrip(",")
    if names != header:
        fail(f"{term}: names {names!r}, database has {header!r}")

    short, long = infocmp_caps(term, False), infocmp_caps(term, True)
    if len(short) != len(long):
        fail(f"{term}: infocmp listings do not line up")
        return
    expected = {}
    for (kind, short_name, value), (_, long_name, _) in zip(short, long):
        kinds = ["bool", "num", "str"] if kind == "cancelled" else [kind]
        key_kind = next((k for k in kinds if short_name in tables[k] or long_name in tables[k]), None)
        if key_kind is None:
            continue  # an extended capability, not part of the standard tables
        name = short_name if short_name in tables[key_kind] else long_name
        if kind == "cancelled":
            if key_kind == "str":
                expected[("str", name)] = b""
            continue
        expected[(key_kind, name)] = value
    for key in sorted(set(expected) | set(parsed)):
        if expected.get(key) != parsed.get(key):
            fail(f"{term}: {key[0]} {key[1]}: parsed {parsed.get(key)!r}, database has {expected.get(key)!r}")
    print(f"ok   {term}: {len(parsed)} capabilities match")


def check_expansions(dump, term, path):
    for cap, params in EXPANSIONS:
        ours = run([dump, "expand", path, cap] + [str(p) for p in params])
        theirs = run(["tput", "-T", term, cap] + [str(p) for p in params])
        if ours.returncode == 2:  # absent here: the database tool must find nothing either
            if theirs.returncode == 0 and theirs.stdout:
                fail(f"{term}: {cap} absent, tput wrote {theirs.stdout!r}")
            continue
        if ours.returncode != 0:
            fail(f"{term}: {cap} {params}: {ours.stdout!r}")
            continue
        # Padding ($<n>) is not interpreted by the runner; tput turns it into a delay.
        mine = re.sub(rb"\$<[0-9.*/]+>", b"", ours.stdout)
        if mine != theirs.stdout.replace(b"\0", b""):
            fail(f"{term}: {cap} {params}: expanded {ours.stdout!r}, tput wrote {theirs.stdout!r}")
    print(f"ok   {term}: expansions match")


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
    for tool in ("infocmp", "tput"):
        if shutil.which(tool) is None:
            print(f"SKIP {tool} is not installed")
            return 0
    tables = table_names(dump)
    env = {k: v for k, v in os.environ.items() if k not in ("TERMINFO", "TERMINFO_DIRS")}
    checked_default = False
    for term in TERMS:
        path = run([dump, "dbpath", term], env).stdout.decode().strip()
        if not path:
            print(f"SKIP {term}: not in this machine's terminfo database")
            continue
        check_entry(dump, tables, term, path)
        check_expansions(dump, term, path)
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
