#!/usr/bin/env python3
"""The seeded shuffle end to end, against an independent reference written here from the
algorithm: SipHash-1-3 with a zero key, the names hash over (count, then per name kind 2,
text, 0xFF, padding 0), the generator chain and the front-to-back swaps. For several
seeds and selections the start order of a real run (the JSON "started" lines) must be
the reference order, the same for every thread count; --shuffle alone must announce a
clock seed that reproduces its order when passed back.

    python3 tests/e2e/test_shuffle_order.py --bin-dir build/bin
"""

import argparse
import json
import os
import subprocess
import sys
import time

MASK = (1 << 64) - 1
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def rotl(x, bits):
    return ((x << bits) | (x >> (64 - bits))) & MASK


def siphash(message, k0=0, k1=0, c_rounds=1, d_rounds=3):
    v = [k0 ^ 0x736F6D6570736575, k1 ^ 0x646F72616E646F6D, k0 ^ 0x6C7967656E657261, k1 ^ 0x7465646279746573]

    def sipround():
        v[0] = (v[0] + v[1]) & MASK; v[1] = rotl(v[1], 13); v[1] ^= v[0]; v[0] = rotl(v[0], 32)
        v[2] = (v[2] + v[3]) & MASK; v[3] = rotl(v[3], 16); v[3] ^= v[2]
        v[0] = (v[0] + v[3]) & MASK; v[3] = rotl(v[3], 21); v[3] ^= v[0]
        v[2] = (v[2] + v[1]) & MASK; v[1] = rotl(v[1], 17); v[1] ^= v[2]; v[2] = rotl(v[2], 32)

    full = len(message) - len(message) % 8
    blocks = [int.from_bytes(message[i:i + 8], "little") for i in range(0, full, 8)]
    blocks.append(int.from_bytes(message[full:], "little") | ((len(message) & 0xFF) << 56))
    for m in blocks:
        v[3] ^= m
        for _ in range(c_rounds):
            sipround()
        v[0] ^= m
    v[2] ^= 0xFF
    for _ in range(d_rounds):
        sipround()
    return v[0] ^ v[1] ^ v[2] ^ v[3]


def u64(value):
    return value.to_bytes(8, "little")


def reference_order(seed, names):
    stream = u64(len(names)) + b"".join(u64(2) + name.encode() + b"\xff" + u64(0) for name in names)
    names_hash = siphash(stream)
    current = seed
    order = list(names)
    for i in range(len(order)):
        current = siphash(u64(current) + u64(names_hash))
        j = current % (len(order) - i)
        order[i], order[i + j] = order[i + j], order[i]
    return order


def run(program, args):
    env = {k: v for k, v in os.environ.items() if not k.startswith("VESK") and k not in ("TERM", "TERMINFO")}
    env["VESKC_BOOTSTRAP"] = "1"
    done = subprocess.run([program, "-Z", "unstable-options", "--format", "json"] + args, env=env,
                          capture_output=True, text=True, stdin=subprocess.DEVNULL, timeout=120)
    lines = [json.loads(line) for line in done.stdout.splitlines()]
    seed = next((line.get("shuffle_seed") for line in lines if line["type"] == "suite"), None)
    started = [line["name"] for line in lines if line["type"] == "test" and line["event"] == "started"]
    return seed, started


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin-dir", required=True)
    options = parser.parse_args()

    # The reference itself: the published SipHash-2-4 vector (key 00..0f, message 00..0e),
    # then the known orders of alpha, beta, gamma.
    key0, key1 = int.from_bytes(bytes(range(8)), "little"), int.from_bytes(bytes(range(8, 16)), "little")
    check(siphash(bytes(range(15)), key0, key1, 2, 4) == 0xA129CA6149BE45E5, "reference SipHash-2-4 vector")
    check(reference_order(42, ["alpha", "beta", "gamma"]) == ["beta", "gamma", "alpha"], "reference order, seed 42")
    check(reference_order(1, ["alpha", "beta", "gamma"]) == ["gamma", "beta", "alpha"], "reference order, seed 1")

    shuffle_suite = os.path.join(options.bin_dir, "shuffle_suite")
    many_suite = os.path.join(options.bin_dir, "many_suite")
    _, registry_order = run(many_suite, ["--test-threads", "1"])
    check(len(registry_order) == 101, f"many_suite runs {len(registry_order)} tests")
    selections = [
        (shuffle_suite, [], ["alpha", "beta", "gamma"]),
        (many_suite, [], registry_order),
        (many_suite, ["t3"], [n for n in registry_order if "t3" in n]),
        (many_suite, ["--skip", "t50"], [n for n in registry_order if "t50" not in n]),
    ]
    for program, selection, names in selections:
        for seed in (0, 1, 42, 2**64 - 1):
            expected = reference_order(seed, names)
            for threads in ("1", "2", "8"):
                announced, started = run(program, ["--shuffle-seed", str(seed), "--test-threads", threads] + selection)
                label = f"{os.path.basename(program)} {selection} seed {seed} threads {threads}"
                check(announced == seed, f"{label}: announced seed {announced}")
                check(started == expected, f"{label}: started {started[:5]}..., expected {expected[:5]}...")

    # --shuffle alone: a clock seed, announced, different from run to run, reproducible.
    seeds = []
    for _ in range(2):
        before = time.time_ns()
        seed, started = run(many_suite, ["--shuffle", "--test-threads", "2"])
        after = time.time_ns()
        if not check(isinstance(seed, int), f"--shuffle announced seed {seed!r}"):
            continue
        check(before <= seed <= after, f"--shuffle seed {seed} is not the clock between {before} and {after}")
        _, again = run(many_suite, ["--shuffle-seed", str(seed), "--test-threads", "1"])
        check(started == again, f"--shuffle seed {seed} does not reproduce its order")
        seeds.append(seed)
    check(len(set(seeds)) == len(seeds), f"two --shuffle runs used the same seed {seeds}")

    if failures:
        for failure in failures:
            print("FAIL", failure)
        return 1
    print("ok   shuffle orders match the reference")
    return 0


if __name__ == "__main__":
    sys.exit(main())
