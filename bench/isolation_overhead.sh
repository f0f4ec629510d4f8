#!/bin/sh
# Per-test cost of the isolating mode: runs the 200 empty tests of isolation_overhead in
# process and in child processes, with 1 and 2 test threads, best of $RUNS runs each.
#
#   bench/isolation_overhead.sh build/bin/isolation_overhead [runs]
set -eu
program=${1:?usage: isolation_overhead.sh path/to/isolation_overhead [runs]}
runs=${2:-3}
tests=200

# Best wall time in microseconds of `runs` runs of the program with the given arguments.
best_us() {
    best=
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        VESKC_BOOTSTRAP=1 "$program" -q "$@" >/dev/null
        took=$(( ($(date +%s%N) - start) / 1000 ))
        if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
        i=$((i + 1))
    done
    echo "$best"
}

printf '%-10s %8s %14s %14s %16s\n' mode threads "total (ms)" "per test (us)" "overhead (us)"
for threads in 1 2; do
    inproc=$(best_us -Z unstable-options --force-run-in-process --test-threads "$threads")
    child=$(best_us --test-threads "$threads")
    printf '%-10s %8s %14s %14s %16s\n' in-process "$threads" $((inproc / 1000)) $((inproc / tests)) -
    printf '%-10s %8s %14s %14s %16s\n' isolated "$threads" $((child / 1000)) $((child / tests)) \
        $(((child - inproc) / tests))
done
