// Running benchmark bodies: measured (benchmark) or once as a test (run_once).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "execution/channel.hpp"
#include "model/runnable.hpp"
#include "model/test_result.hpp"
#include "platform/expected.hpp"

namespace quarv::detail {

// Runs one benchmark in Sampled mode on the calling thread, capturing its output unless
// `nocapture`, and sends exactly one CompletedTest for it (no execution time). A body
// that fails, by returning a failure or by throwing, gives Failed without a message; a
// thrown failure is reported on the thread's standard error like a failing test's. A
// body that never samples gives the summary of the single sample 0.0.
void benchmark(TestId id, const TestDesc& desc, CompletionSender sender, bool nocapture, const BenchBody& body);

// Runs a benchmark body once in SingleRun mode. Failures thrown by the body propagate.
Result run_once(const BenchBody& body);

// Calls the body with `bencher`: its summary as left by the body (absent when the body
// never sampled) or the body's failure message. Throws whatever the body throws.
Expected<std::optional<Summary>, std::string> bench_body(const BenchBody& body, Bencher& bencher);

// The outcome of a measured body: Failed when it did not succeed, otherwise Benchmarked
// with its summary (or that of the single sample 0.0) and its throughput.
TestResult bench_outcome(bool body_succeeded, const Bencher& bencher);

// The median truncated to whole nanoseconds (negative and NaN give 0, too large values
// the largest), raised to at least 1 so throughput never divides by zero.
std::uint64_t ns_per_iter(double median);

// bytes_per_iter * 1000 / ns_iter in 64-bit unsigned arithmetic: the product wraps and
// the quotient truncates. 10^6 bytes per MB, so bytes per ns * 1000 is MB/s.
std::uint64_t megabytes_per_second(std::uint64_t bytes_per_iter, std::uint64_t ns_iter);

}  // namespace quarv::detail
