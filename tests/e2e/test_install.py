#!/usr/bin/env python3
"""Install round trip: `cmake --install` of the current build into a temporary prefix,
then the example consumer project (examples/consumer) is configured and built against
it with find_package, its test binary run, its discovered CTest tests run, the package
version checked, and a test program built by hand with pkg-config.

    python3 tests/e2e/test_install.py --bin-dir build/bin
"""

import argparse
import glob
import os
import re
import shlex
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))

VERSION_PROJECT = """cmake_minimum_required(VERSION 3.20)
project(version_check LANGUAGES CXX)
find_package(quarv @REQUEST@ CONFIG REQUIRED)
"""

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(cmd, env=None, cwd=None):
    base = {k: v for k, v in os.environ.items()
            if not k.startswith("VESK") and k not in ("TEST_TOTAL_SHARDS", "TEST_SHARD_INDEX", "TEST_SHARD_STATUS_FILE")}
    base.pop("TERM", None)
    base.update(env or {})
    return subprocess.run(cmd, capture_output=True, text=True, env=base, cwd=cwd, timeout=900)


def must(result, what):
    if not check(result.returncode == 0, f"{what} failed ({result.returncode}):\n{result.stdout}{result.stderr}"):
        raise SystemExit(report())


def report():
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failure(s)" if failures else "install: all checks passed")
    return 1 if failures else 0


def cache_value(build, name):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as handle:
        for line in handle:
            match = re.match(rf"^{name}:[A-Z]+=(.*)$", line.rstrip("\n"))
            if match:
                return match.group(1)
    return ""


def project_version():
    with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as handle:
        return re.search(r"project\(quarv VERSION (\d+\.\d+\.\d+)", handle.read()).group(1)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bin-dir", required=True)
    options = parser.parse_args()
    build = os.path.dirname(os.path.abspath(options.bin_dir))

    # The consumer is built with the quarv build's compiler and sanitizer flags, since the
    # installed static libraries carry their references.
    compiler = cache_value(build, "CMAKE_CXX_COMPILER")
    sanitize = {"address": "-fsanitize=address,undefined", "thread": "-fsanitize=thread"}.get(
        cache_value(build, "QUARV_SANITIZE"), "")
    configure_flags = [f"-DCMAKE_CXX_COMPILER={compiler}", f"-DCMAKE_CXX_FLAGS={sanitize}"]

    with tempfile.TemporaryDirectory() as tmp:
        prefix = os.path.join(tmp, "prefix")
        must(run(["cmake", "--install", build, "--prefix", prefix]), "cmake --install")

        libdirs = [d for d in glob.glob(os.path.join(prefix, "lib*")) if os.path.isdir(os.path.join(d, "cmake", "quarv"))]
        if not check(len(libdirs) == 1, f"no lib*/cmake/quarv under {prefix}"):
            return report()
        libdir = libdirs[0]
        expected_files = [
            os.path.join(prefix, "include", "quarv", "quarv.hpp"),
            os.path.join(libdir, "libquarv.a"),
            os.path.join(libdir, "libquarv_main.a"),
            os.path.join(libdir, "libquarv_main_isolated.a"),
            os.path.join(libdir, "cmake", "quarv", "quarvConfig.cmake"),
            os.path.join(libdir, "cmake", "quarv", "quarvConfigVersion.cmake"),
            os.path.join(libdir, "cmake", "quarv", "QuarvDiscoverTests.cmake"),
            os.path.join(libdir, "cmake", "quarv", "QuarvDiscoverTestsImpl.cmake"),
            os.path.join(libdir, "pkgconfig", "quarv.pc"),
        ]
        for path in expected_files:
            check(os.path.exists(path), f"not installed: {os.path.relpath(path, prefix)}")
        installed_headers = sorted(os.listdir(os.path.join(prefix, "include", "quarv")))
        source_headers = sorted(os.listdir(os.path.join(SOURCE, "include", "quarv")))
        check(installed_headers == source_headers, f"headers: {installed_headers} != {source_headers}")

        # The consumer project: find_package, quarv::main and quarv::main_isolated, discovery.
        consumer_build = os.path.join(tmp, "consumer")
        must(run(["cmake", "-S", os.path.join(SOURCE, "examples", "consumer"), "-B", consumer_build,
                  f"-DCMAKE_PREFIX_PATH={prefix}"] + configure_flags), "configuring the consumer")
        must(run(["cmake", "--build", consumer_build, "-j2"]), "building the consumer")
        tests = run([os.path.join(consumer_build, "consumer_tests")])
        check(tests.returncode == 0, f"consumer_tests exited {tests.returncode}:\n{tests.stdout}{tests.stderr}")
        check("test greeting::says_hello ... ok" in tests.stdout, f"consumer_tests output:\n{tests.stdout}")
        check("test result: ok. 2 passed; 0 failed; 1 ignored;" in tests.stdout, f"consumer_tests output:\n{tests.stdout}")
        ctest = run(["ctest", "--test-dir", consumer_build, "-j2"])
        check(ctest.returncode == 0, f"consumer ctest:\n{ctest.stdout}{ctest.stderr}")
        for line in ("consumer/greeting::says_hello", "consumer/greeting::handles_empty_name", "consumer_isolated"):
            check(re.search(re.escape(line) + r" \.+\s+Passed", ctest.stdout), f"{line} did not pass:\n{ctest.stdout}")
        check(re.search(r"consumer/greeting::speaks_klingon \.+\*+Not Run \(Disabled\)", ctest.stdout),
              f"the ignored test is not disabled:\n{ctest.stdout}")

        # The version file: the same major.minor matches, others do not.
        version = project_version()
        major, minor, _ = version.split(".")
        for request, accepted in ((version, True), (f"{major}.{minor}", True), (f"{major}.{int(minor) + 1}", False),
                                  (f"{int(major) + 1}.0", False)):
            project = os.path.join(tmp, f"version-{request}")
            os.makedirs(project)
            with open(os.path.join(project, "CMakeLists.txt"), "w") as handle:
                handle.write(VERSION_PROJECT.replace("@REQUEST@", request))
            found = run(["cmake", "-S", project, "-B", os.path.join(project, "build"), f"-DCMAKE_PREFIX_PATH={prefix}",
                         f"-DCMAKE_CXX_COMPILER={compiler}"])
            check((found.returncode == 0) == accepted,
                  f"find_package(quarv {request}) against {version}: exit {found.returncode}, accepted={accepted}")

        # pkg-config: the version, and a test program built from its flags alone.
        pc_env = {"PKG_CONFIG_PATH": os.path.join(libdir, "pkgconfig")}
        modversion = run(["pkg-config", "--modversion", "quarv"], env=pc_env)
        check(modversion.stdout.strip() == version, f"pkg-config --modversion: {modversion.stdout}{modversion.stderr}")
        flags = run(["pkg-config", "--cflags", "--libs", "quarv"], env=pc_env)
        must(flags, "pkg-config --cflags --libs quarv")
        check(os.path.realpath(prefix) in flags.stdout or prefix in flags.stdout,
              f"pkg-config flags do not point into the prefix: {flags.stdout}")
        program = os.path.join(tmp, "pc_tests")
        must(run([compiler, "-std=c++20"] + shlex.split(sanitize) + [os.path.join(SOURCE, "examples", "consumer", "consumer_tests.cpp"),
                  "-o", program] + shlex.split(flags.stdout)), "building with pkg-config flags")
        built = run([program, "--test-threads", "1"])
        check(built.returncode == 0 and "2 passed; 0 failed; 1 ignored" in built.stdout,
              f"the pkg-config build ran:\n{built.stdout}{built.stderr}")

    return report()


if __name__ == "__main__":
    sys.exit(main())
