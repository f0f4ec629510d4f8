#include "bench/sampling.hpp"

#include <algorithm>
#include <chrono>
#include <limits>
#include <span>
#include <optional>
#include <vector>

namespace quarv::detail {
namespace {

// How far a batch's samples stray from its median, as a fraction of the median. A batch
// without any deviation counts as perfectly stable even when its median is 0.
double relative_spread(const Summary& s) {
    if (s.median_abs_dev == 0.0) return 0.0;
    if (!(s.median > 0.0)) return std::numeric_limits<double>::infinity();
    return s.median_abs_dev / s.median;
}

class Sampler {
public:
    Sampler(IterLoop loop, const SamplingPlan& plan, const MonotonicClock& now)
        : m_loop(loop), m_plan(plan), m_now(now), m_start(now()) {}

    // Runs the routine `iterations` times and returns the nanoseconds it took.
    std::uint64_t timed(std::uint64_t iterations) {
        std::uint64_t before = m_now();
        m_loop.run(m_loop.context, iterations);
        std::uint64_t after = m_now();
        return after > before ? after - before : 0;
    }

    std::uint64_t spent() const {
        std::uint64_t now = m_now();
        return now > m_start ? now - m_start : 0;
    }

    Summary run() {
        calibrate();
        std::optional<Summary> best;
        for (;;) {
            std::uint64_t spent_ns = spent();
            std::uint64_t remaining = m_plan.budget_ns > spent_ns ? m_plan.budget_ns - spent_ns : 0;
            std::uint64_t fits = remaining / std::max<std::uint64_t>(m_sample_ns, 1);
            std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(m_plan.batch_samples, fits));
            // Only the first batch may be short (a routine too slow for a whole batch).
            if (count == 0 || (best && count < m_plan.batch_samples)) break;

            std::vector<double> samples;
            samples.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                samples.push_back(static_cast<double>(timed(m_iterations)) / static_cast<double>(m_iterations));
            }
            stats::winsorize(samples, m_plan.winsor_pct);
            Summary batch = Summary::of(samples);
            if (!best || relative_spread(batch) < relative_spread(*best)) best = batch;
            if (count == m_plan.batch_samples && relative_spread(batch) * 100.0 <= m_plan.stable_mad_pct) break;

            // Unstable: longer samples average out short interruptions.
            if (m_iterations <= m_plan.max_iterations / 2 && m_iterations * 2 <= m_calibrated * m_plan.max_sample_growth) {
                m_iterations *= 2;
                m_sample_ns *= 2;
            }
        }
        // No room for a batch at all (a routine slower than the budget): the last
        // calibration run is the only measurement.
        if (!best) {
            double only = static_cast<double>(m_calibration_ns) / static_cast<double>(m_iterations);
            best = Summary::of(std::span<const double>(&only, 1));
        }
        return *best;
    }

private:
    // Grows the iteration count (by 2 to 10 times per step, guided by the last timing)
    // until one sample lasts sample_target_ns, the count reaches its cap, or the budget
    // is spent. The first run doubles as warm-up.
    void calibrate() {
        m_iterations = 1;
        for (;;) {
            m_calibration_ns = timed(m_iterations);
            if (m_calibration_ns >= m_plan.sample_target_ns || m_iterations >= m_plan.max_iterations) break;
            if (spent() >= m_plan.budget_ns) break;
            std::uint64_t factor = 10;
            if (m_calibration_ns > 0) {
                // Aim slightly past the target so the next step usually lands on it.
                double wanted = 1.2 * static_cast<double>(m_plan.sample_target_ns) / static_cast<double>(m_calibration_ns);
                factor = static_cast<std::uint64_t>(std::clamp(wanted, 2.0, 10.0));
            }
            m_iterations = std::min(m_iterations * factor, m_plan.max_iterations);
        }
        m_sample_ns = std::max<std::uint64_t>(m_calibration_ns, 1);
        m_calibrated = m_iterations;
    }

    IterLoop m_loop;
    const SamplingPlan& m_plan;
    const MonotonicClock& m_now;
    std::uint64_t m_start;
    std::uint64_t m_iterations = 1;
    std::uint64_t m_calibrated = 1;
    std::uint64_t m_calibration_ns = 0;
    std::uint64_t m_sample_ns = 1;
};

}  // namespace

std::uint64_t monotonic_now_ns() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
}

Summary sample_routine(IterLoop loop, const SamplingPlan& plan, const MonotonicClock& now) {
    return Sampler(loop, plan, now).run();
}

// Sampled mode measures and stores the summary; SingleRun runs the routine once (as a
// test would) and leaves the summary absent.
void bench_iter(Bencher& bencher, IterLoop loop) {
    if (bencher.run_mode == BenchRunMode::SingleRun) {
        loop.run(loop.context, 1);
        return;
    }
    static const SamplingPlan default_plan;
    static const MonotonicClock clock = monotonic_now_ns;
    bencher.ns_summary = sample_routine(loop, default_plan, clock);
}

}  // namespace quarv::detail
