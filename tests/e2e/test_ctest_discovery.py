#!/usr/bin/env python3
"""quarv_discover_tests driving a real CTest run over the ecosystem suite.

A throw-away project imports the built suite and registers its tests three ways (JSON or
plain listing with every option; ignored tests as skips; a wrapper that only offers the
plain listing), then `ctest -j2` runs them. The registered names, commands and
properties are compared with what the suite defines, and each test's CTest status with
its quarv outcome. A second project adds the quarv source tree with add_subdirectory and
must be able to call quarv_discover_tests on its targets (configure only).

    python3 tests/e2e/test_ctest_discovery.py --bin-dir build/bin
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))

# The suite's tests and what a CTest run makes of them (ignored tests: DISABLED).
SUITE = {
    "eco::deep::nested_passes": "run",
    "eco::fails": "fail",
    "eco::measures": "run",
    "eco::passes": "run",
    "eco::waits_for_server": "disabled",
    'a b "c"': "run",
    "colon: test": "run",
    "-starts with a dash": "run",
    "semi;colon [bracket] ${NOT_EXPANDED} back\\slash 'single'": "run",
    "env::sees_property": "run",
}

PROJECT = """cmake_minimum_required(VERSION 3.20)
project(discovery NONE)
include("@SOURCE@/cmake/QuarvDiscoverTests.cmake")
enable_testing()
add_executable(suite IMPORTED)
set_target_properties(suite PROPERTIES IMPORTED_LOCATION "@SUITE@")
add_executable(plain_suite IMPORTED)
set_target_properties(plain_suite PROPERTIES IMPORTED_LOCATION "@PLAIN@")
quarv_discover_tests(suite DISCOVERY_MODE PRE_TEST
  TEST_PREFIX "full/" TEST_SUFFIX " (1)"
  EXTRA_ARGS --test-threads 1
  LABELS fixture quarv
  WORKING_DIRECTORY "@WORKDIR@"
  PROPERTIES ENVIRONMENT "QUARV_ECO_ENV=set by ctest" TIMEOUT 30
  DISCOVERY_TIMEOUT 20)
quarv_discover_tests(suite DISCOVERY_MODE PRE_TEST TEST_PREFIX "skip/" IGNORED SKIP
  PROPERTIES ENVIRONMENT "QUARV_ECO_ENV=set by ctest")
quarv_discover_tests(plain_suite DISCOVERY_MODE PRE_TEST TEST_PREFIX "plain/"
  PROPERTIES ENVIRONMENT "QUARV_ECO_ENV=set by ctest")
"""

# Offers only the plain listing, as an executable without the JSON listing would.
PLAIN_WRAPPER = """#!/bin/sh
for arg; do
  shift
  case "$arg" in -Z|unstable-options|--format|json) continue;; esac
  set -- "$@" "$arg"
done
exec "@SUITE@" "$@"
"""

SUBDIRECTORY_PROJECT = """cmake_minimum_required(VERSION 3.20)
project(uses_subdirectory LANGUAGES CXX)
enable_testing()
set(QUARV_BUILD_TESTS OFF CACHE BOOL "" FORCE)
add_subdirectory("@SOURCE@" quarv)
add_executable(my_tests "@SOURCE@/examples/parser_tests.cpp")
target_link_libraries(my_tests PRIVATE quarv::main)
quarv_discover_tests(my_tests TEST_PREFIX "mine/")
"""

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def clean_env():
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("VESK") and k not in ("TEST_TOTAL_SHARDS", "TEST_SHARD_INDEX", "TEST_SHARD_STATUS_FILE")}
    env.pop("TERM", None)
    return env


def fill(template, **values):
    for key, value in values.items():
        template = template.replace(f"@{key}@", value)
    return template


def run(cmd, env=None, **kwargs):
    result = subprocess.run(cmd, capture_output=True, text=True, env=env or clean_env(), timeout=600, **kwargs)
    return result


def check_registration(build):
    shown = run(["ctest", "--test-dir", build, "--show-only=json-v1"])
    if not check(shown.returncode == 0, f"ctest --show-only failed: {shown.stdout}{shown.stderr}"):
        return
    tests = {t["name"]: t for t in json.loads(shown.stdout)["tests"]}
    for prefix, suffix in (("full/", " (1)"), ("skip/", ""), ("plain/", "")):
        registered = sorted(n[len(prefix):len(n) - len(suffix)] for n in tests if n.startswith(prefix))
        check(registered == sorted(SUITE), f"{prefix}: registered {registered}, expected {sorted(SUITE)}")

    for name in SUITE:
        full = tests.get(f"full/{name} (1)")
        if not check(full is not None, f"full/{name} (1) is not registered"):
            continue
        command = full["command"]
        check(command[1:] == ["--test-threads", "1", "--exact", "--", name], f"{name}: command {command}")
        check(os.path.basename(command[0]) == "ecosystem_suite", f"{name}: runs {command[0]}")
        props = {p["name"]: p["value"] for p in full.get("properties", [])}
        check(props.get("WORKING_DIRECTORY", "").endswith("workdir"), f"{name}: properties {props}")
        check(props.get("ENVIRONMENT") == ["QUARV_ECO_ENV=set by ctest"], f"{name}: properties {props}")
        check(props.get("TIMEOUT") == 30, f"{name}: properties {props}")
        ignored = SUITE[name] == "disabled"
        expected_labels = ["fixture", "quarv"] + (["ignored"] if ignored else [])
        check(sorted(props.get("LABELS", [])) == sorted(expected_labels), f"{name}: labels {props.get('LABELS')}")
        check(bool(props.get("DISABLED")) == ignored, f"{name}: DISABLED is {props.get('DISABLED')}")


def check_run(build, json_listing):
    junit = os.path.join(build, "results.xml")
    result = run(["ctest", "--test-dir", build, "-j2", "--output-junit", junit])
    check(result.returncode != 0, "ctest passed although eco::fails fails")
    try:
        cases = {case.get("name"): case.get("status") for case in ET.parse(junit).getroot().iter("testcase")}
    except (OSError, ET.ParseError) as error:
        check(False, f"no JUnit report from ctest: {error}\n{result.stdout}{result.stderr}")
        return
    expected = {}
    for name, status in SUITE.items():
        expected[f"full/{name} (1)"] = status
        expected[f"plain/{name}"] = status
        # Skipped tests are "notrun" in CTest's report.
        expected[f"skip/{name}"] = "notrun" if status == "disabled" else status
    for name, status in sorted(expected.items()):
        check(cases.get(name) == status, f"{name}: ctest status {cases.get(name)}, expected {status}")
    check(set(cases) == set(expected), f"unexpected tests: {sorted(set(cases) - set(expected))}")

    # The skip shows the reason in the test's output when the listing carries it (JSON).
    verbose = run(["ctest", "--test-dir", build, "-V", "-R", "^skip/eco::waits_for_server$"])
    shown = "ignored, needs a server" if json_listing else "ignored"
    check(f": {shown}\n" in verbose.stdout, f"skip output lacks `{shown}`:\n{verbose.stdout}")


def supports_json_listing(suite):
    env = dict(clean_env(), VESKC_BOOTSTRAP="1")
    listing = run([suite, "--list", "-Z", "unstable-options", "--format", "json"], env=env)
    return listing.stdout.startswith('{ "type": "suite", "event": "discovery" }\n')


def check_subdirectory(tmp):
    source = os.path.join(tmp, "subdir_project")
    build = os.path.join(tmp, "subdir_build")
    os.makedirs(source)
    with open(os.path.join(source, "CMakeLists.txt"), "w") as handle:
        handle.write(fill(SUBDIRECTORY_PROJECT, SOURCE=SOURCE))
    configured = run(["cmake", "-S", source, "-B", build])
    if check(configured.returncode == 0, f"add_subdirectory project: {configured.stdout}{configured.stderr}"):
        check(os.path.exists(os.path.join(build, "my_tests_quarv_include.cmake")),
              "add_subdirectory project: no CTest include file for my_tests")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bin-dir", required=True)
    options = parser.parse_args()
    suite = os.path.join(os.path.abspath(options.bin_dir), "ecosystem_suite")

    with tempfile.TemporaryDirectory() as tmp:
        workdir = os.path.join(tmp, "workdir")
        os.makedirs(workdir)
        plain = os.path.join(tmp, "plain_suite.sh")
        with open(plain, "w") as handle:
            handle.write(fill(PLAIN_WRAPPER, SUITE=suite))
        os.chmod(plain, 0o755)
        source = os.path.join(tmp, "project")
        build = os.path.join(tmp, "build")
        os.makedirs(source)
        with open(os.path.join(source, "CMakeLists.txt"), "w") as handle:
            handle.write(fill(PROJECT, SOURCE=SOURCE, SUITE=suite, PLAIN=plain, WORKDIR=workdir))
        configured = run(["cmake", "-S", source, "-B", build])
        if check(configured.returncode == 0, f"configure: {configured.stdout}{configured.stderr}"):
            check_registration(build)
            check_run(build, supports_json_listing(suite))
        check_subdirectory(tmp)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failure(s)" if failures else "ctest discovery: all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
