// The handle a benchmark body receives.
//
//   QUARV_BENCH(sum_1000, b) {
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

// Hides a value from the optimiser: the compiler must assume it is read and may change,
// so the computation producing it is kept.
template <class T>
inline T black_box(T value) {
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : : "r,m"(value) : "memory");
#endif
    return value;
}
inline void black_box_void() {
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : : : "memory");
#endif
}

class Bencher;

namespace detail {
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

    // Times `routine`, passing its result (if any) through black_box. In SingleRun mode
    // the routine runs once and nothing is measured. See src/bench/sampling.cpp for the
    // sampling procedure.
    template <class F>
    void iter(F&& routine) {
        auto loop = [](void* context, std::uint64_t iterations) {
            F& f = *static_cast<std::remove_reference_t<F>*>(context);
            for (std::uint64_t i = 0; i < iterations; ++i) {
                if constexpr (std::is_void_v<decltype(f())>) {
                    f();
                    black_box_void();
                } else {
                    black_box(f());
                }
            }
        };
        void* context = const_cast<void*>(static_cast<const void*>(std::addressof(routine)));
        detail::bench_iter(*this, detail::IterLoop{context, loop});
    }
};

}  // namespace quarv
