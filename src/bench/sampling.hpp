// The sampling procedure behind Bencher::iter, with its limits and clock made explicit
// so that tests can drive it with a fake clock and small budgets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "quarv/bencher.hpp"
#include "quarv/stats.hpp"

namespace quarv::detail {

struct SamplingPlan {
    // Calibration grows the iteration count until one sample lasts at least this long, so
    // that clock resolution and the cost of reading the clock (tens of nanoseconds) stay
    // below a part in ten thousand of a sample.
    std::uint64_t sample_target_ns = 1'000'000;
    // Never more iterations in one sample than this (guards against a clock that stalls).
    std::uint64_t max_iterations = 1'000'000'000;
    std::size_t batch_samples = 50;
    // Each batch is winsorized at this percentage before it is summarised.
    double winsor_pct = 5.0;
    // A batch whose median absolute deviation is at most this percentage of its median is
    // stable, and ends the sampling.
    double stable_mad_pct = 1.0;
    // After an unstable batch the samples are made twice as long, up to this many times
    // the calibrated length: longer samples smooth out short disturbances, but beyond a
    // few milliseconds they only raise the chance of catching a preemption.
    std::uint64_t max_sample_growth = 8;
    // Sampling stops before starting a batch that would run past this much time since
    // the first call of the routine.
    std::uint64_t budget_ns = 3'000'000'000;
};

// Reads a monotonic clock in nanoseconds.
using MonotonicClock = std::function<std::uint64_t()>;

// The process's monotonic clock (steady_clock) in nanoseconds.
std::uint64_t monotonic_now_ns();

// Runs `loop` as the plan says and returns the nanoseconds-per-iteration summary of the
// batch it settled on. The loop runs at least once.
Summary sample_routine(IterLoop loop, const SamplingPlan& plan, const MonotonicClock& now);

}  // namespace quarv::detail
