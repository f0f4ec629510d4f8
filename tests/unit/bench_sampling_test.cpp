#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "bench/sampling.hpp"
#include "quarv/quarv.hpp"

namespace bench_sampling {
namespace {

using quarv::detail::SamplingPlan;

// A routine on a fake clock: each run of `iterations` advances the clock by
// cost(call number, iterations) nanoseconds.
struct FakeRoutine {
    std::function<std::uint64_t(std::uint64_t call, std::uint64_t iterations)> cost;
    std::uint64_t clock = 1000;
    std::uint64_t calls = 0;
    std::uint64_t largest_run = 0;

    static void run(void* context, std::uint64_t iterations) {
        auto* self = static_cast<FakeRoutine*>(context);
        self->clock += self->cost(self->calls++, iterations);
        self->largest_run = std::max(self->largest_run, iterations);
    }

    quarv::Summary sample(const SamplingPlan& plan = {}) {
        std::uint64_t start = clock;
        quarv::Summary s = quarv::detail::sample_routine({this, &FakeRoutine::run}, plan, [this] { return clock; });
        spent = clock - start;
        return s;
    }
    std::uint64_t spent = 0;
};

std::function<std::uint64_t(std::uint64_t, std::uint64_t)> per_iteration(std::uint64_t ns) {
    return [ns](std::uint64_t, std::uint64_t iterations) { return ns * iterations; };
}

}  // namespace

QUARV_TEST(a_steady_routine_is_measured_in_one_batch_of_long_samples) {
    FakeRoutine routine{per_iteration(100)};
    quarv::Summary s = routine.sample();
    quarv::assert_eq(s.median, 100.0);
    quarv::assert_eq(s.max - s.min, 0.0);
    // Samples last at least the 1 ms target, and one batch of 50 suffices.
    quarv::assert_true(routine.largest_run * 100 >= 1'000'000, "samples shorter than the target");
    quarv::assert_true(routine.spent < 100'000'000, "a stable routine took more than one batch");
}

QUARV_TEST(rare_outliers_are_trimmed) {
    // Every 25th run is ten times slower: two samples in a batch of 50, beyond the 95th
    // percentile, so winsorizing clamps them and the batch is stable.
    FakeRoutine routine{[](std::uint64_t call, std::uint64_t iterations) {
        return (call % 25 == 24 ? 1000 : 100) * iterations;
    }};
    quarv::Summary s = routine.sample();
    quarv::assert_eq(s.median, 100.0);
    quarv::assert_eq(s.max, 100.0);
}

QUARV_TEST(an_unstable_routine_stops_within_the_budget) {
    // Samples alternate between 100 and 300 ns per iteration: never stable.
    FakeRoutine routine{[](std::uint64_t call, std::uint64_t iterations) {
        return (call % 2 == 0 ? 100 : 300) * iterations;
    }};
    SamplingPlan plan;
    plan.budget_ns = 500'000'000;
    quarv::Summary s = routine.sample(plan);
    quarv::assert_true(routine.spent <= plan.budget_ns, "budget overrun");
    quarv::assert_true(routine.spent >= plan.budget_ns / 4, "gave up before the budget was used");
    quarv::assert_true(s.min >= 100 && s.max <= 300, "samples out of range");
}

QUARV_TEST(a_routine_slower_than_the_budget_runs_once) {
    FakeRoutine routine{per_iteration(2'000'000'000)};
    quarv::Summary s = routine.sample();
    quarv::assert_eq(routine.calls, 1u);
    quarv::assert_eq(s.median, 2e9);
}

QUARV_TEST(a_slow_routine_gets_a_short_batch) {
    // 200 ms per run: after the calibration run, 2.8 s leave room for 14 samples, not 50.
    FakeRoutine routine{per_iteration(200'000'000)};
    quarv::Summary s = routine.sample();
    quarv::assert_eq(routine.calls, 15u);
    quarv::assert_eq(s.median, 2e8);
}

QUARV_TEST(iter_measures_a_real_routine) {
    quarv::Bencher b;
    std::vector<int> data(200, 3);
    b.iter([&] {
        int total = 0;
        for (int x : data) total += x;
        return total;
    });
    quarv::assert_true(b.ns_summary.has_value());
    quarv::assert_true(b.ns_summary->median > 0.0 && b.ns_summary->min <= b.ns_summary->median);
}

}  // namespace bench_sampling
