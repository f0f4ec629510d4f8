#!/usr/bin/env python3
"""Reads every hand-built terminfo fixture with the runner's reader (through terminfo_dump)
and checks the outcome the fixture exists for: the parse error of each malformed entry,
the alignment byte, the 32-bit absent markers and the hexadecimal directory lookup.

    python3 tests/e2e/test_terminfo_fixtures.py --bin-dir build/bin
"""

import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURE_DIR = os.path.join(HERE, "..", "fixtures", "terminfo")
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, FIXTURE_DIR)
import make_fixtures  # noqa: E402

# Lines that must (or, with a leading "!", must not) appear in a fixture's dump.
EXTRA = {
    "padding/odd": ["num cols 258", "bool bw", "bool am"],
    "padding/even": ["num cols 258", "bool xsb"],
    "q/quarv-direct": ["num colors 16777216", "num pairs 65536", "!num cols", "!num lines"],
    "q/quarv-256color": ["num pairs 32767", "str sgr0 \\x1b(B\\x1b[m"],
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin-dir", required=True)
    options = parser.parse_args()
    dump = os.path.join(options.bin_dir, "terminfo_dump")
    problems = []

    if subprocess.run([sys.executable, os.path.join(FIXTURE_DIR, "make_fixtures.py"), "--check"]).returncode:
        problems.append("fixture files differ from make_fixtures.py; rerun it")

    for relative, _, expected in make_fixtures.FIXTURES:
        out = subprocess.run([dump, "path", os.path.join(FIXTURE_DIR, relative)], capture_output=True).stdout
        lines = out.decode("latin-1").splitlines()
        first = lines[0] if lines else ""
        if not expected.startswith("names: "):
            expected = "error: malformed terminfo entry: " + expected
        if first != expected:
            problems.append(f"{relative}: got {first!r}, expected {expected!r}")
        for want in EXTRA.get(relative, []):
            if want.startswith("!"):
                if any(line.startswith(want[1:] + " ") for line in lines):
                    problems.append(f"{relative}: unexpected {want[1:]!r}")
            elif want not in lines:
                problems.append(f"{relative}: missing {want!r}")

    env = {k: v for k, v in os.environ.items() if k not in ("TERMINFO_DIRS", "MSYSCON")}
    env.update(TERMINFO=FIXTURE_DIR, TERM="quarv-hex")
    found = subprocess.run([dump, "env"], capture_output=True, env=env).stdout.decode().splitlines()
    if not found or found[0] != "names: quarv-hex":
        problems.append(f"quarv-hex through TERMINFO: {found[:1]}")

    for problem in problems:
        print("FAIL " + problem)
    if not problems:
        print(f"ok   {len(make_fixtures.FIXTURES)} fixtures")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
