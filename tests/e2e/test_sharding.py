#!/usr/bin/env python3
"""Sharding end to end: every shard of the ecosystem suite, listed and run, for several
shard counts. The shards must be disjoint, together give the unsharded selection, keep
its order, report the rest as filtered out and touch the status file; invalid settings
must stop with an error and status 101 before anything is written to standard output.

    python3 tests/e2e/test_sharding.py --bin-dir build/bin
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile

SHARD_VARIABLES = ["TEST_TOTAL_SHARDS", "TEST_SHARD_INDEX", "TEST_SHARD_STATUS_FILE"]
RESULT_LINE = re.compile(r"^test (.*) \.\.\. (ok|FAILED|ignored.*)$")
SUMMARY = re.compile(r"^test result: \w+\. (\d+) passed; (\d+) failed; (\d+) ignored; \d+ measured; (\d+) filtered out;")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(program, args, env_extra):
    env = {k: v for k, v in os.environ.items() if k not in SHARD_VARIABLES and not k.startswith("VESK")}
    env.pop("TERM", None)
    env.update(env_extra)
    return subprocess.run([program] + args, env=env, capture_output=True, text=True, timeout=120)


def listed_names(stdout):
    names = []
    for line in stdout.split("\n"):
        if line == "":
            break
        for suffix in (": test", ": benchmark"):
            if line.endswith(suffix):
                names.append(line[: -len(suffix)])
                break
    return names


def run_names(stdout):
    names, filtered = [], None
    for line in stdout.split("\n"):
        match = RESULT_LINE.match(line)
        if match:
            names.append(match.group(1))
        summary = SUMMARY.match(line)
        if summary:
            filtered = int(summary.group(4))
    return names, filtered


def check_partition(program, filters, totals, extra_args=(), extra_env=None):
    """Lists and runs every shard for each total and compares with the unsharded run."""
    extra_env = extra_env or {}
    everything = listed_names(run(program, ["--list"] + filters, {}).stdout)
    registry_size = len(listed_names(run(program, ["--list"], {}).stdout))
    check(len(everything) > 0, f"{filters}: the unsharded listing is empty")
    for total in totals:
        seen_listed, seen_run = [], []
        with tempfile.TemporaryDirectory() as tmp:
            for index in range(total):
                label = f"{filters} shard {index}/{total}"
                status_file = os.path.join(tmp, f"status{index}")
                env = dict(extra_env, TEST_TOTAL_SHARDS=str(total), TEST_SHARD_INDEX=str(index),
                           TEST_SHARD_STATUS_FILE=status_file)
                listing = run(program, ["--list"] + filters, env)
                check(listing.returncode == 0, f"{label}: listing exited {listing.returncode}: {listing.stderr}")
                shard = listed_names(listing.stdout)
                check(shard == everything[index::total], f"{label}: listed {shard}, expected {everything[index::total]}")
                seen_listed += shard
                os.path.exists(status_file) and os.remove(status_file)

                result = run(program, ["--test-threads", "1"] + list(extra_args) + filters, env)
                check(result.returncode in (0, 101), f"{label}: run exited {result.returncode}: {result.stderr}")
                ran, filtered = run_names(result.stdout)
                check(sorted(ran) == sorted(shard), f"{label}: ran {ran}, expected {shard}")
                check(filtered == registry_size - len(shard),
                      f"{label}: {filtered} filtered out, expected {registry_size - len(shard)}")
                check(os.path.exists(status_file), f"{label}: the status file was not touched")
                seen_run += ran
        check(sorted(seen_listed) == sorted(everything), f"{filters} total {total}: listed union {seen_listed}")
        check(len(set(seen_listed)) == len(seen_listed), f"{filters} total {total}: a test is in two shards")
        check(sorted(seen_run) == sorted(everything), f"{filters} total {total}: run union {seen_run}")


def check_errors(program):
    bad = "should be an integer from 0 to 2 (TEST_TOTAL_SHARDS is 3)."
    cases = [
        ({"TEST_TOTAL_SHARDS": "3"}, "error: TEST_TOTAL_SHARDS is set but TEST_SHARD_INDEX is not; set both or neither."),
        ({"TEST_SHARD_INDEX": "0"}, "error: TEST_SHARD_INDEX is set but TEST_TOTAL_SHARDS is not; set both or neither."),
        ({"TEST_TOTAL_SHARDS": "0", "TEST_SHARD_INDEX": "0"}, "error: TEST_TOTAL_SHARDS is `0`, should be a positive integer."),
        ({"TEST_TOTAL_SHARDS": "two", "TEST_SHARD_INDEX": "0"}, "error: TEST_TOTAL_SHARDS is `two`, should be a positive integer."),
        ({"TEST_TOTAL_SHARDS": "3", "TEST_SHARD_INDEX": "3"}, f"error: TEST_SHARD_INDEX is `3`, {bad}"),
        ({"TEST_TOTAL_SHARDS": "3", "TEST_SHARD_INDEX": "-1"}, f"error: TEST_SHARD_INDEX is `-1`, {bad}"),
        ({"TEST_TOTAL_SHARDS": "1", "TEST_SHARD_INDEX": "0", "TEST_SHARD_STATUS_FILE": "/nonexistent-dir/status"},
         "error: cannot touch TEST_SHARD_STATUS_FILE `/nonexistent-dir/status`: "
         'Os { code: 2, kind: NotFound, message: "No such file or directory" }'),
    ]
    for env, expected in cases:
        for args in (["--list"], ["--test-threads", "1"], []):
            result = run(program, args, env)
            label = f"{env} {args}"
            check(result.returncode == 101, f"{label}: exit {result.returncode}, expected 101")
            check(result.stderr == expected + "\n", f"{label}: stderr {result.stderr!r}, expected {expected!r}")
            check(result.stdout == "", f"{label}: stdout {result.stdout!r}, expected nothing")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bin-dir", required=True)
    options = parser.parse_args()
    program = os.path.join(os.path.abspath(options.bin_dir), "ecosystem_suite")

    check_partition(program, [], [1, 2, 3, 4, 7, 20])
    # Sharding applies after the name filters: positions count among the selected tests.
    check_partition(program, ["eco::"], [2, 3])
    # A shuffle reorders within each shard; which tests a shard holds does not change.
    check_partition(program, [], [3], extra_args=["-Z", "unstable-options", "--shuffle-seed", "7"],
                    extra_env={"VESKC_BOOTSTRAP": "1"})
    check_errors(program)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failure(s)" if failures else "sharding: all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
