#!/usr/bin/env python3
"""End-to-end golden tests: run a real executable and compare its exit status, standard
output and standard error with the files in golden/.

A case is tests/e2e/cases/<name>.case, one `key: value` per line (# starts a comment):

    program: fixture_suite          executable in --bin-dir (required)
    args: --test-threads 1 "a b"    arguments, split like a POSIX shell (optional)
    argv0: ./bin/fixture_suite      argv[0] as the program sees it (default: the full path)
    cwd: bin                        working directory, relative to the --bin-dir's parent
    env: NAME=value                 added to the environment (repeatable)
    unset: NAME                     removed from the environment (repeatable)
    exit: 101                       expected exit status (default 0)
    mask: REGEX => REPLACEMENT      an extra masking rule for this case (repeatable)
    timeout: 60                     seconds before the case fails as hung (default 120)

The environment starts from the caller's with every variable the runner reads removed
(TERM, the VESK_* family, ...), so a case states exactly what it depends on.

Run times, thread ids and similar run-dependent figures are masked in both streams before
the comparison (see MASKS); golden files hold the masked text. On a mismatch a unified
diff is printed. `--bless` writes the current output as the new golden files.

    python3 tests/e2e/golden.py --bin-dir build/bin help_absolute
    python3 tests/e2e/golden.py --bin-dir build/bin --bless help_absolute
"""

import argparse
import difflib
import os
import re
import shlex
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, "cases")
GOLDEN = os.path.join(HERE, "golden")

# Variables the runner reads; removed so that the caller's environment cannot leak in.
RUNNER_VARIABLES = [
    "TERM", "TERMINFO", "TERMINFO_DIRS", "MSYSCON", "VESKC_BOOTSTRAP", "VESK_BACKTRACE",
    "VESK_TEST_NOCAPTURE", "VESK_TEST_SHUFFLE", "VESK_TEST_SHUFFLE_SEED", "VESK_TEST_THREADS",
    "VESK_TEST_TIME_UNIT", "VESK_TEST_TIME_INTEGRATION", "VESK_TEST_TIME_DOCTEST",
    "__VESK_TEST_INVOKE", "__VESK_TEST_BENCH_BENCHMARKS",
    "TEST_TOTAL_SHARDS", "TEST_SHARD_INDEX", "TEST_SHARD_STATUS_FILE",
]

# (pattern, replacement) applied in order to stdout and stderr.
MASKS = [
    (re.compile(rb"finished in \d+\.\d\ds"), b"finished in <T>s"),
    (re.compile(rb"<\d+\.\d\d\ds>"), b"<<T>s>"),
    (re.compile(rb"\"(exec_time|total_time|compilation_time)\": [0-9.]+"), rb'"\1": <T>'),
    (re.compile(rb"time=\"[0-9.]+\""), b'time="<T>"'),
    (re.compile(rb"' \(\d+\) panicked at"), b"' (<TID>) panicked at"),
    # Fatal errors name the runner's own source position, which moves with every edit.
    (re.compile(rb"panicked at src/[^:\n]+:\d+:\d+:"), b"panicked at <LOC>:"),
]


def parse_case(path):
    case = {"args": [], "env": {}, "unset": [], "exit": 0, "masks": [], "timeout": 120}
    with open(path, encoding="utf-8") as handle:
        for number, raw in enumerate(handle, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            key, sep, value = line.partition(":")
            if not sep:
                sys.exit(f"{path}:{number}: expected 'key: value'")
            key, value = key.strip(), value.strip()
            if key == "program":
                case["program"] = value
            elif key == "args":
                case["args"] = shlex.split(value)
            elif key == "argv0":
                case["argv0"] = value
            elif key == "cwd":
                case["cwd"] = value
            elif key == "env":
                name, _, val = value.partition("=")
                case["env"][name] = val
            elif key == "unset":
                case["unset"].append(value)
            elif key == "exit":
                case["exit"] = int(value)
            elif key == "timeout":
                case["timeout"] = float(value)
            elif key == "mask":
                pattern, _, replacement = value.partition(" => ")
                case["masks"].append((re.compile(pattern.encode()), replacement.encode()))
            else:
                sys.exit(f"{path}:{number}: unknown key {key!r}")
    if "program" not in case:
        sys.exit(f"{path}: no program")
    return case


def mask(data, extra):
    for pattern, replacement in MASKS + extra:
        data = pattern.sub(replacement, data)
    return data


def run_case(name, bin_dir):
    case = parse_case(os.path.join(CASES, name + ".case"))
    program = os.path.join(os.path.abspath(bin_dir), case["program"])
    env = {k: v for k, v in os.environ.items() if k not in RUNNER_VARIABLES}
    for variable in case["unset"]:
        env.pop(variable, None)
    env.update(case["env"])
    cwd = os.path.join(os.path.dirname(os.path.abspath(bin_dir)), case["cwd"]) if "cwd" in case else None
    argv = [case.get("argv0", program)] + case["args"]
    try:
        done = subprocess.run(argv, executable=program, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=case["timeout"])
    except subprocess.TimeoutExpired:
        return case, None
    return case, (done.returncode, mask(done.stdout, case["masks"]), mask(done.stderr, case["masks"]))


def show_diff(label, expected, actual):
    lines = difflib.unified_diff(expected.decode("utf-8", "replace").splitlines(keepends=True),
                                 actual.decode("utf-8", "replace").splitlines(keepends=True),
                                 fromfile=f"expected {label}", tofile=f"actual {label}")
    sys.stdout.write("".join(lines))
    if expected != actual and expected.decode("utf-8", "replace") == actual.decode("utf-8", "replace"):
        print(f"{label}: the texts differ in bytes only:\n  expected {expected!r}\n  actual   {actual!r}")
    print()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin-dir", required=True)
    parser.add_argument("--bless", action="store_true", help="write the current output as golden")
    parser.add_argument("cases", nargs="*", help="case names (default: all)")
    options = parser.parse_args()
    names = options.cases or sorted(f[:-5] for f in os.listdir(CASES) if f.endswith(".case"))
    failed = []
    for name in names:
        case, outcome = run_case(name, options.bin_dir)
        if outcome is None:
            print(f"FAIL {name}: timed out after {case['timeout']}s")
            failed.append(name)
            continue
        status, out, err = outcome
        out_path = os.path.join(GOLDEN, name + ".stdout")
        err_path = os.path.join(GOLDEN, name + ".stderr")
        if options.bless:
            os.makedirs(GOLDEN, exist_ok=True)
            with open(out_path, "wb") as handle:
                handle.write(out)
            with open(err_path, "wb") as handle:
                handle.write(err)
            note = "" if status == case["exit"] else f" (exit {status}, case expects {case['exit']})"
            print(f"blessed {name}{note}")
            continue
        expected_out = open(out_path, "rb").read() if os.path.exists(out_path) else b""
        expected_err = open(err_path, "rb").read() if os.path.exists(err_path) else b""
        problems = []
        if status != case["exit"]:
            problems.append(f"exit status {status}, expected {case['exit']}")
        if out != expected_out:
            problems.append("stdout differs")
        if err != expected_err:
            problems.append("stderr differs")
        if problems:
            print(f"FAIL {name}: {'; '.join(problems)}")
            if out != expected_out:
                show_diff("stdout", expected_out, out)
            if err != expected_err:
                show_diff("stderr", expected_err, err)
            failed.append(name)
        else:
            print(f"ok   {name}")
    if failed:
        print(f"{len(failed)} case(s) failed: {' '.join(failed)}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
