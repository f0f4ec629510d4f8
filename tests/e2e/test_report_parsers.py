#!/usr/bin/env python3
"""The machine-readable formats read back with real parsers: every JSON line of runs and
listings through Python's json module, every JUnit document through `xmllint --noout`
and ElementTree. Runs the general, hostile-names, hundred-test and benchmark fixtures,
and checks what the parsers see: key order, numbers without exponents, attribute
values that keep their line breaks, and characters XML 1.0 forbids replaced.

    python3 tests/e2e/test_report_parsers.py --bin-dir build/bin
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

failures = []

# Keys of each JSON line kind, in order; members in brackets may be absent.
LINE_KEYS = {
    ("suite", "discovery"): ["type", "event"],
    ("suite", "completed"): ["type", "event", "tests", "benchmarks", "total", "ignored"],
    ("suite", "started"): ["type", "event", "test_count", "[shuffle_seed]"],
    ("suite", "ok"): ["type", "event", "passed", "failed", "ignored", "measured", "filtered_out", "[exec_time]"],
    ("suite", "failed"): ["type", "event", "passed", "failed", "ignored", "measured", "filtered_out", "[exec_time]"],
    ("test", "discovered"): ["type", "event", "name", "ignore", "ignore_message", "source_path", "start_line",
                             "start_col", "end_line", "end_col"],
    ("benchmark", "discovered"): ["type", "event", "name", "ignore", "ignore_message", "source_path", "start_line",
                                  "start_col", "end_line", "end_col"],
    ("test", "started"): ["type", "event", "name"],
    ("test", "timeout"): ["type", "event", "name"],
    ("test", "ok"): ["type", "name", "event", "[exec_time]", "[stdout]"],
    ("test", "failed"): ["type", "name", "event", "[exec_time]", "[stdout]", "[message|reason]"],
    ("test", "ignored"): ["type", "name", "event", "[exec_time]", "[stdout]", "[message]"],
    ("bench", None): ["type", "name", "median", "deviation", "[mib_per_second]"],
}
NUMBER_TOKEN = re.compile(rb'": (-?[0-9][0-9.eE+-]*)')


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(program, args, extra_env=None):
    env = {k: v for k, v in os.environ.items() if not k.startswith("VESK") and k not in ("TERM", "TERMINFO")}
    env["VESKC_BOOTSTRAP"] = "1"
    env.update(extra_env or {})
    return subprocess.run([program, "-Z", "unstable-options"] + args, env=env, capture_output=True,
                          stdin=subprocess.DEVNULL, timeout=300)


def keys_match(keys, pattern):
    """Whether the key list follows the pattern, optional members allowed to be absent."""
    i = 0
    for slot in pattern:
        optional = slot.startswith("[")
        names = slot.strip("[]").split("|")
        if i < len(keys) and keys[i] in names:
            i += 1
        elif not optional:
            return False
    return i == len(keys)


def parse_json_lines(label, raw):
    """Parses every line; checks layout, key order and number forms. Returns the objects."""
    objects = []
    check(raw.endswith(b"\n") or raw == b"", f"{label}: output does not end with a newline")
    for number, line in enumerate(raw.split(b"\n")[:-1], 1):
        where = f"{label} line {number}"
        try:
            text = line.decode("utf-8")
        except UnicodeDecodeError as error:
            check(False, f"{where}: not UTF-8: {error}")
            continue
        pairs = []
        try:
            json.loads(text, object_pairs_hook=lambda items: pairs.append(items) or dict(items))
        except ValueError as error:
            check(False, f"{where}: not JSON: {error}: {text!r}")
            continue
        members = pairs[-1]
        keys = [key for key, _ in members]
        check(len(set(keys)) == len(keys), f"{where}: duplicate keys {keys}")
        check(text.startswith("{ ") and text.endswith(" }"), f"{where}: not laid out as '{{ ... }}': {text!r}")
        obj = dict(members)
        kind = (obj.get("type"), None if obj.get("type") == "bench" else obj.get("event"))
        pattern = LINE_KEYS.get(kind)
        if check(pattern is not None, f"{where}: unknown line kind {kind}"):
            check(keys_match(keys, pattern), f"{where}: keys {keys} do not follow {pattern}")
        for token in NUMBER_TOKEN.findall(line):
            check(b"e" not in token.lower(), f"{where}: number in exponent notation: {token!r}")
        for key in ("exec_time", "median", "deviation"):
            if key in obj:
                check(isinstance(obj[key], (int, float)) and obj[key] >= 0, f"{where}: {key} is {obj[key]!r}")
        objects.append(obj)
    return objects


def check_xml(label, raw, xmllint):
    """One line, accepted by xmllint and ElementTree; returns the parsed root."""
    check(raw.count(b"\n") == 1 and raw.endswith(b"\n"), f"{label}: the document is not exactly one line")
    if xmllint:
        lint = subprocess.run([xmllint, "--noout", "-"], input=raw, capture_output=True)
        check(lint.returncode == 0, f"{label}: xmllint rejects the document: {lint.stderr.decode(errors='replace')}")
    try:
        return ElementTree.fromstring(raw)
    except ElementTree.ParseError as error:
        check(False, f"{label}: ElementTree rejects the document: {error}")
        return None


def junit_cases(root):
    suite = root.find("testsuite")
    return {(case.get("classname"), case.get("name")): case for case in suite.findall("testcase")}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin-dir", required=True)
    options = parser.parse_args()
    binary = lambda name: os.path.join(options.bin_dir, name)
    xmllint = shutil.which("xmllint")
    if not xmllint:
        print("note: xmllint not found; JUnit documents are checked with ElementTree only")

    runs = [
        ("fixture_suite", ["--test-threads", "1"]),
        ("fixture_suite", ["--test-threads", "4", "--report-time", "--show-output"]),
        ("hostile_suite", ["--test-threads", "1"]),
        ("hostile_suite", ["--test-threads", "3", "--report-time", "--show-output"]),
        ("many_suite", ["--shuffle-seed", "9"]),
        ("bench_suite", ["--bench", "measured_with_throughput", "never_samples"]),
    ]
    json_objects = {}
    for program, args in runs:
        label = f"{program} {' '.join(args)}"
        done = run(binary(program), ["--format", "json"] + args)
        json_objects[label] = parse_json_lines(f"json {label}", done.stdout)
        check(done.stderr == b"", f"json {label}: wrote to stderr: {done.stderr!r}")
        listing = run(binary(program), ["--list", "--format", "json"] + [a for a in args if a in ("--bench",)])
        parse_json_lines(f"json listing {program}", listing.stdout)

        report = run(binary(program), ["--format", "junit"] + args)
        root = check_xml(f"junit {label}", report.stdout, xmllint)
        if root is not None and "--report-time" not in args and "--bench" not in args:
            for case in root.iter("testcase"):
                check(case.get("time") == "0", f"junit {label}: time {case.get('time')!r} without measured times")
        if root is not None:
            for case in root.iter("testcase"):
                check(re.fullmatch(r"[0-9]+(\.[0-9]+)?", case.get("time")) is not None,
                      f"junit {label}: time attribute {case.get('time')!r}")

    # What a reader of the hostile reports gets back.
    hostile = json_objects["hostile_suite --test-threads 1"]
    names = {obj["name"] for obj in hostile if obj["type"] == "test" and obj["event"] == "started"}
    for name in ["hostile::quote\"and\\backslash", "hostile::tab\tand\x1besc", "hostile::ctrl\x01\x7f::bad\ufffdutf8",
                 "hostile::markup<&>::cdata]]>pi<?x", "hostile::caf\u00e9::\u2713"]:
        check(name in names, f"json hostile: name {name!r} does not read back")
    failed = {obj["name"]: obj for obj in hostile if obj["type"] == "test" and obj["event"] == "failed"}
    out = failed.get("hostile::tab\tand\x1besc", {}).get("stdout", "")
    check("nul[\x00] del\x7f cr\r\n" in out and "bad utf8: \ufffd\ufffd \ufffd( end" in out,
          f"json hostile: captured output reads back as {out!r}")

    report = run(binary("hostile_suite"), ["--format", "junit", "--test-threads", "1"])
    root = check_xml("junit hostile", report.stdout, xmllint)
    if root is not None:
        cases = junit_cases(root)
        expected_cases = [
            ("hostile", "quote\"and\\backslash"), ("hostile", "tab\tand\ufffdesc"), ("hostile::ctrl\ufffd\x7f", "bad\ufffdutf8"),
            ("hostile::markup<&>", "cdata]]>pi<?x"), ("hostile::caf\u00e9", "\u2713"),
            ("docs/guide.md", "Setup <step 1> (line 7)"), ("doc", "doc without separator"),
            ("integration", "integration::name \"quoted\""), ("unknown", "unknown::kind & more"),
        ]
        for key in expected_cases:
            check(key in cases, f"junit hostile: no test case {key!r} among {sorted(cases)}")
        check(("hostile", "ignored'apos'") not in cases, "junit hostile: the ignored test has an element")
        markup = cases.get(("hostile::markup<&>", "cdata]]>pi<?x"))
        if markup is not None:
            message = markup.find("failure").get("message")
            check("panic did not contain expected string\n      panic message: " in message and "'apos'" in message,
                  f"junit hostile: failure message reads back as {message!r}")
        tab = cases.get(("hostile", "tab\tand\ufffdesc"))
        if tab is not None:
            text = tab.find("system-out").text
            # CDATA keeps the text. A carriage return stays raw inside CDATA, where a parser's
            # line-end normalisation reads it as a line feed (the LF after it is a reference).
            check(text.startswith("esc\ufffd[31mred\ufffd[0m bell\ufffd nul[\ufffd] del\x7f cr\n\nbad utf8:")
                  and "cdata end ]]> and pi <?xml version=\"1.0\"?>\n\ntab\there" in text,
                  f"junit hostile: system-out reads back as {text!r}")

    if failures:
        for failure in failures:
            print("FAIL", failure)
        return 1
    print(f"ok   report parsers ({len(runs)} runs in each format)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
