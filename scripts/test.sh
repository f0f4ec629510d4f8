#!/usr/bin/env bash
# Builds quarv and runs every test: the normal build, then the whole suite again under
# AddressSanitizer + UndefinedBehaviorSanitizer, then the run loop and capture tests under
# ThreadSanitizer. Build trees: build/, build-asan/, build-tsan/. Missing Debian packages
# are installed first (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${QUARV_JOBS:-2}"

./scripts/install-deps.sh

echo "== normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure

echo "== ASan + UBSan"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUARV_SANITIZE=address >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j"$jobs" --output-on-failure -E 'e2e\.test_(install|ctest_discovery)'

echo "== TSan: run loop and capture"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DQUARV_SANITIZE=thread >/dev/null
cmake --build build-tsan -j"$jobs" --target quarv_unit_tests fixture_suite
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/bin/quarv_unit_tests --test-threads 4
TSAN_OPTIONS=halt_on_error=1 python3 tests/e2e/golden.py --bin-dir build-tsan/bin suite_serial suite_show_output suite_multithreaded_single
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/bin/fixture_suite --test-threads 8 >/dev/null || [ $? -eq 101 ]
echo "== all tests passed"
