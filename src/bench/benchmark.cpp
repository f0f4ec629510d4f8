#include "bench/benchmark.hpp"

#include <cmath>
#include <memory>

#include "execution/caught_failure.hpp"
#include "platform/capture.hpp"
#include "platform/fatal.hpp"

namespace quarv::detail {
namespace {

// Runs the body and tells whether it succeeded. A thrown failure is reported on the
// thread's standard error (the benchmark's captured output, unless nocapture) like a
// failing test's; a returned failure message is dropped silently, as the outcome of a
// failed benchmark carries no message.
bool run_catching(const TestDesc& desc, const BenchBody& body, Bencher& bencher) {
    try {
        return bench_body(body, bencher).has_value();
    } catch (...) {
        report_current_exception(desc);
        return false;
    }
}

}  // namespace

Expected<std::optional<Summary>, std::string> bench_body(const BenchBody& body, Bencher& bencher) {
    Result result = invoke_bench_body(body, bencher);
    if (!result.is_ok()) return unexpected(result.take_error());
    return bencher.ns_summary;
}

std::uint64_t ns_per_iter(double median) {
    std::uint64_t ns;
    if (!(median > 0.0)) {
        ns = 0;  // negative and NaN
    } else if (median >= 18446744073709551616.0) {
        ns = UINT64_MAX;
    } else {
        ns = static_cast<std::uint64_t>(median);
    }
    return ns == 0 ? 1 : ns;
}

std::uint64_t megabytes_per_second(std::uint64_t bytes_per_iter, std::uint64_t ns_iter) {
    return (bytes_per_iter * 1000u) / ns_iter;  // unsigned: the product wraps modulo 2^64
}

TestResult bench_outcome(bool body_succeeded, const Bencher& bencher) {
    if (!body_succeeded) return TestResult::failed();
    if (!bencher.ns_summary) {
        const double never_sampled = 0.0;
        return TestResult::benchmarked(BenchOutcome{Summary::of(std::span<const double>(&never_sampled, 1)), 0});
    }
    const Summary& summary = *bencher.ns_summary;
    std::uint64_t ns_iter = ns_per_iter(summary.median);
    return TestResult::benchmarked(BenchOutcome{summary, megabytes_per_second(bencher.bytes_per_iter, ns_iter)});
}

// The capture lasts exactly while the body runs; it is removed afterwards even when none
// was installed, so the run loop's thread never keeps a benchmark's buffer.
void benchmark(TestId id, const TestDesc& desc, CompletionSender sender, bool nocapture, const BenchBody& body) {
    Bencher bencher(BenchRunMode::Sampled);
    CaptureHandle buffer = std::make_shared<CaptureBuffer>();
    if (!nocapture) set_output_capture(buffer);
    bool succeeded = run_catching(desc, body, bencher);
    set_output_capture(nullptr);
    TestResult outcome = bench_outcome(succeeded, bencher);
    if (!sender.send(CompletedTest{id, desc, std::move(outcome), std::nullopt, buffer->bytes()})) {
        fatal_error("failed to report test result: the run loop is gone");
    }
}

Result run_once(const BenchBody& body) {
    Bencher bencher(BenchRunMode::SingleRun);
    auto result = bench_body(body, bencher);
    if (!result) return Result::failure(std::move(result).error());
    return ok();
}

}  // namespace quarv::detail
