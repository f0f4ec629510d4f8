#!/usr/bin/env python3
"""A reader that goes away must end a run or a listing with the I/O error message and
status 101, never with a death by SIGPIPE."""

import argparse
import os
import subprocess
import sys

EXPECTED = (b"error: io error when listing tests: "
            b"Os { code: 32, kind: BrokenPipe, message: \"Broken pipe\" }\n")


def run_with_closed_stdout(program, args):
    read_end, write_end = os.pipe()
    os.close(read_end)  # nobody will ever read: the first write fails with EPIPE
    env = {k: v for k, v in os.environ.items() if not k.startswith(("VESK", "TERM"))}
    try:
        done = subprocess.run([program] + args, stdout=write_end, stderr=subprocess.PIPE,
                              stdin=subprocess.DEVNULL, env=env, timeout=60)
    finally:
        os.close(write_end)
    return done.returncode, done.stderr


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin-dir", required=True)
    bin_dir = parser.parse_args().bin_dir
    failures = []
    for program, args in [("quarv", []), ("quarv", ["--list"]),
                          ("fixture_suite", ["--test-threads", "1"]), ("fixture_suite", ["--list"])]:
        status, err = run_with_closed_stdout(os.path.join(bin_dir, program), args)
        label = " ".join([program] + args)
        if status != 101 or err != EXPECTED:
            failures.append(f"{label}: status {status}, stderr {err!r}")
        else:
            print(f"ok   {label}")
    for failure in failures:
        print(f"FAIL {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
