// The handle a benchmark body receives.
//
//   QUARV_BENCH(sum_1000, b) {
//       b.bytes_per_iter = 1000 * sizeof(int);   // optional: adds a MB/s figure
//       b.iter([] { return sum(data_1000); });
//   }
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "quarv/stats.hpp"

namespace quarv {

enum class BenchRunMode { Sampled, SingleRun };

// Hides a value from the optimiser: the compiler must assume the value is read and may
// have been changed, so the computation producing it is kept. Works for any type: the
// value's address escapes into an empty asm statement that clobbers memory.
//
//   quarv::black_box(sum(data));                 // the sum is computed even though unused
template <class T>
inline T black_box(T value) {
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : : "r"(std::addressof(value)) : "memory");
#endif
    return value;
}
// The barrier alone, after a routine that returns nothing.
inline void black_box_void() {
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : : : "memory");
#endif
}

class Bencher;

namespace detail {
// The barrier of black_box for a value in place: no copy, so a routine that returns a
// reference to a large object is not charged for copying it.
template <class T>
inline void keep_opaque(T& value) {
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : : "r"(std::addressof(value)) : "memory");
#endif
}

// A non-owning reference to "run the routine n times"; keeps the sampling procedure
// out of the header while the timed loop itself is inlined into the caller.
struct IterLoop {
    void* context;
    void (*run)(void* context, std::uint64_t iterations);
};
void bench_iter(Bencher& bencher, IterLoop loop);
}  // namespace detail

class Bencher {
public:
    BenchRunMode run_mode = BenchRunMode::Sampled;
    // Nanoseconds-per-iteration statistics, stored by iter().
    std::optional<Summary> ns_summary;
    // Bytes one iteration processes; non-zero values add a MB/s figure to the result.
    std::uint64_t bytes_per_iter = 0;

    explicit Bencher(BenchRunMode mode = BenchRunMode::Sampled) : run_mode(mode) {}

    // Times `routine`, passing its result (if any) through black_box.
    //
    // In Sampled mode:
    //  1. Calibration: the iteration count per sample starts at 1 and grows 2 to 10 times
    //     per step until one sample lasts at least 1 ms on the monotonic clock (the first
    //     run is the warm-up), so clock resolution and the cost of reading the clock stay
    //     negligible.
    //  2. A batch of 50 samples of that many iterations is taken; each sample gives
    //     nanoseconds per iteration. The batch is winsorized at 5% (samples beyond the 5th
    //     and 95th percentiles are clamped to them) and summarised.
    //  3. A batch whose median absolute deviation is at most 1% of its median is stable
    //     and becomes the result. Otherwise another batch is taken, with samples twice as
    //     long up to 8 times the calibrated length (longer samples smooth out short
    //     disturbances; much longer ones mostly catch preemptions), as long as a whole
    //     batch still fits in a 3 s budget counted from the first run. When none fits,
    //     the most stable batch seen becomes the result. A routine too slow for 50
    //     samples gets one short batch of what fits; one too slow for any sample yields
    //     its single calibration run.
    // The summary is stored in ns_summary; a second call replaces it.
    //
    // In SingleRun mode (a benchmark run as a test) the routine runs once and ns_summary
    // is left as it was.
    template <class F>
    void iter(F&& routine) {
        auto loop = [](void* context, std::uint64_t iterations) {
            F& f = *static_cast<std::remove_reference_t<F>*>(context);
            for (std::uint64_t i = 0; i < iterations; ++i) {
                if constexpr (std::is_void_v<decltype(f())>) {
                    f();
                    black_box_void();
                } else {
                    auto&& result = f();
                    detail::keep_opaque(result);
                }
            }
        };
        void* context = const_cast<void*>(static_cast<const void*>(std::addressof(routine)));
        detail::bench_iter(*this, detail::IterLoop{context, loop});
    }
};

}  // namespace quarv
