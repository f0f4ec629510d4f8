#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchmark.hpp"
#include "bench/fmt_bench.hpp"
#include "execution/channel.hpp"
#include "platform/capture.hpp"
#include "quarv/quarv.hpp"

namespace bench_run {
namespace {

using quarv::detail::BenchBody;
using quarv::detail::CompletedTest;
using quarv::detail::TestResult;

// Runs `body` through benchmark() over a fresh channel and returns the one message sent.
// The calling test's own capture buffer is set aside meanwhile, since benchmark() leaves
// its thread without one.
CompletedTest run_benchmark(const BenchBody& body, bool nocapture = false) {
    auto queue = std::make_shared<quarv::detail::CompletionQueue>();
    quarv::detail::CompletionSender sender(queue);
    quarv::TestDesc desc = quarv::TestDesc::named("bench_run::subject");
    quarv::CaptureHandle saved = quarv::detail::set_output_capture(nullptr);
    quarv::detail::benchmark(7, desc, sender, nocapture, body);
    quarv::detail::set_output_capture(saved);
    auto message = queue->recv_timeout(std::chrono::seconds(0));
    quarv::assert_true(message.has_value(), "benchmark sent nothing");
    quarv::assert_true(!queue->recv_timeout(std::chrono::seconds(0)).has_value(), "benchmark sent twice");
    quarv::assert_eq(message->test_id, 7u);
    quarv::assert_eq(message->descriptor.name.as_slice(), std::string_view("bench_run::subject"));
    quarv::assert_true(!message->elapsed.has_value(), "a benchmark reports no execution time");
    return std::move(*message);
}

// A body that stores a summary of the given samples, as the sampling would.
BenchBody storing(std::vector<double> samples, std::uint64_t bytes_per_iter) {
    return quarv::DynamicBenchFn([samples, bytes_per_iter](quarv::Bencher& b) {
        b.ns_summary = quarv::Summary::of(samples);
        b.bytes_per_iter = bytes_per_iter;
        return quarv::ok();
    });
}

}  // namespace

QUARV_TEST(throughput_comes_from_the_truncated_median) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<double> samples;
        std::uint64_t bytes_per_iter;
        std::uint64_t megabytes_per_second;
    };
    const Case cases[] = {
        {"a median below 1 ns counts as 1 ns", {0.4}, 7, 7000},
        {"the median is truncated", {2000, 2048.7, 3000}, 1024, 500},
        {"no byte count, no throughput", {10}, 0, 0},
        {"a NaN median counts as 1 ns", {nan}, 5, 5000},
        {"a negative median counts as 1 ns", {-3}, 5, 5000},
        {"a median beyond 64 bits saturates", {1e30}, 5, 0},
        {"the byte product wraps modulo 2^64", {1}, 18446744073709552ull, 384},
    };
    for (const Case& c : cases) {
        CompletedTest done = run_benchmark(storing(c.samples, c.bytes_per_iter));
        quarv::assert_true(done.outcome.kind() == TestResult::Kind::Benchmarked, c.what);
        quarv::assert_eq(done.outcome.bench().megabytes_per_second, c.megabytes_per_second);
        double median = done.outcome.bench().summary.median;
        double expected = quarv::Summary::of(c.samples).median;
        quarv::assert_true(median == expected || (median != median && expected != expected), c.what);
    }
}

QUARV_TEST(a_body_that_never_samples_reports_zero) {
    CompletedTest done = run_benchmark(quarv::DynamicBenchFn([](quarv::Bencher& b) {
        b.bytes_per_iter = 100;
        return quarv::ok();
    }));
    quarv::assert_true(done.outcome.kind() == TestResult::Kind::Benchmarked);
    quarv::assert_eq(done.outcome.bench().megabytes_per_second, 0u);
    quarv::assert_eq(quarv::detail::fmt_bench_samples(done.outcome.bench()),
                     std::string("          0.00 ns/iter (+/- 0.00)"));
}

QUARV_TEST(failing_bodies_are_failed_without_a_message) {
    const BenchBody bodies[] = {
        quarv::DynamicBenchFn([](quarv::Bencher&) { return quarv::fail("returned failure"); }),
        quarv::DynamicBenchFn([](quarv::Bencher&) -> quarv::Result { quarv::panic("thrown failure"); }),
        quarv::DynamicBenchFn([](quarv::Bencher&) -> quarv::Result { throw 42; }),
    };
    for (const BenchBody& body : bodies) {
        CompletedTest done = run_benchmark(body);
        quarv::assert_true(done.outcome == TestResult::failed());
    }
}

QUARV_TEST(a_thrown_failure_is_reported_in_the_captured_output) {
    CompletedTest done = run_benchmark(quarv::DynamicBenchFn([](quarv::Bencher&) -> quarv::Result {
        std::cout << "before the failure\n";
        quarv::panic("bench body gave up");
    }));
    quarv::assert_true(done.captured_output.find("before the failure\n") == 0, done.captured_output);
    quarv::assert_true(done.captured_output.find("bench body gave up") != std::string::npos, done.captured_output);
}

QUARV_TEST(output_is_captured_unless_nocapture) {
    auto printing = quarv::DynamicBenchFn([](quarv::Bencher&) {
        std::cout << "to stdout\n";
        std::cerr << "to stderr\n";
        return quarv::ok();
    });
    quarv::assert_eq(run_benchmark(printing).captured_output, std::string("to stdout\nto stderr\n"));

    // With nocapture the body writes wherever its thread writes: here, into `outer`.
    auto outer = std::make_shared<quarv::CaptureBuffer>();
    quarv::CaptureHandle saved = quarv::detail::set_output_capture(outer);
    auto queue = std::make_shared<quarv::detail::CompletionQueue>();
    quarv::detail::benchmark(1, quarv::TestDesc::named("loud"), quarv::detail::CompletionSender(queue), true, printing);
    quarv::CaptureHandle after = quarv::detail::set_output_capture(saved);
    quarv::assert_true(after == nullptr, "benchmark leaves its thread without a capture");
    quarv::assert_eq(queue->recv().captured_output, std::string());
    quarv::assert_eq(outer->bytes(), std::string("to stdout\nto stderr\n"));
}

QUARV_TEST(run_once_runs_the_routine_once_without_measuring) {
    int calls = 0;
    bool summary_present = true;
    quarv::Result result = quarv::detail::run_once(quarv::DynamicBenchFn([&](quarv::Bencher& b) {
        quarv::assert_true(b.run_mode == quarv::BenchRunMode::SingleRun);
        b.iter([&] { return ++calls; });
        summary_present = b.ns_summary.has_value();
        return quarv::ok();
    }));
    quarv::assert_true(result.is_ok());
    quarv::assert_eq(calls, 1);
    quarv::assert_true(!summary_present, "a single run stores no summary");

    quarv::Result failed = quarv::detail::run_once(
        quarv::DynamicBenchFn([](quarv::Bencher&) { return quarv::fail("bench said no"); }));
    quarv::assert_eq(failed.is_ok() ? std::string() : failed.error(), std::string("bench said no"));
}

QUARV_TEST(run_once_lets_a_thrown_failure_through, quarv::should_panic("single run thrown")) {
    (void)quarv::detail::run_once(
        quarv::DynamicBenchFn([](quarv::Bencher&) -> quarv::Result { quarv::panic("single run thrown"); }));
}

}  // namespace bench_run
