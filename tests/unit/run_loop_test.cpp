// The run loop's events: order, ids, concurrency limit, fail-fast, benchmarks last.
#include <quarv/quarv.hpp>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "execution/run_loop.hpp"

namespace run_loop {

namespace {
using quarv::detail::TestEvent;

quarv::TestDescAndFn test(std::string name, std::function<quarv::Result()> body, bool ignored = false) {
    quarv::TestDesc desc = quarv::TestDesc::named(std::move(name));
    desc.ignore = ignored;
    return {std::move(desc), quarv::TestFn::dynamic_test(std::move(body))};
}

quarv::TestDescAndFn bench(std::string name) {
    return {quarv::TestDesc::named(std::move(name)), quarv::TestFn::dynamic_bench([](quarv::Bencher&) { return quarv::ok(); })};
}

quarv::detail::TestOpts options(std::size_t threads) {
    quarv::detail::TestOpts opts;
    opts.test_threads = threads;
    return opts;
}

// Renders each event as a short word so a run reads as one line.
std::string describe(const TestEvent& event) {
    using namespace quarv::detail;
    if (auto* e = std::get_if<FilteredOutCount>(&event)) return "filtered(" + std::to_string(e->count) + ")";
    if (auto* e = std::get_if<RunPlanned>(&event)) return "planned(" + std::to_string(e->test_count) + ")";
    if (auto* e = std::get_if<TestStarting>(&event)) return "start(" + std::string(e->descriptor.name.as_slice()) + ")";
    if (auto* e = std::get_if<TestRunningLong>(&event)) return "long(" + std::string(e->descriptor.name.as_slice()) + ")";
    const CompletedTest& done = std::get<TestCompleted>(event).completed;
    static const char* words[] = {"passed", "failed", "failed_msg", "ignored", "bench", "time"};
    return std::string(done.descriptor.name.as_slice()) + "#" + std::to_string(done.test_id) + "=" +
           words[static_cast<int>(done.outcome.kind())];
}

std::string run(const quarv::detail::TestOpts& opts, std::vector<quarv::TestDescAndFn> tests,
                quarv::detail::LongRunningPolicy long_running = {}) {
    std::string trace;
    auto notify = [&](TestEvent event) -> quarv::detail::IoResult<> {
        trace += describe(event) + " ";
        return {};
    };
    auto result = quarv::detail::run_tests(opts, std::move(tests), notify, long_running);
    quarv::assert_true(result.has_value());
    return trace;
}

quarv::Result pass() { return quarv::ok(); }
}  // namespace

QUARV_TEST(empty_run_announces_zero) { quarv::assert_eq(run(options(1), {}), std::string("filtered(0) planned(0) ")); }

QUARV_TEST(serial_run_reports_in_order_with_ids) {
    std::vector<quarv::TestDescAndFn> tests;
    tests.push_back(test("a", pass));
    tests.push_back(bench("b"));
    tests.push_back(test("c", [] { return quarv::fail("no"); }));
    tests.push_back(test("d", pass, true));
    quarv::detail::TestOpts opts = options(1);
    opts.filters = {"a", "b", "c"};
    quarv::assert_eq(run(opts, std::move(tests)),
                     std::string("filtered(1) planned(3) start(a) a#0=passed start(b) b#1=passed start(c) c#2=failed "));
}

QUARV_TEST(fail_fast_stops_after_first_failure) {
    std::vector<quarv::TestDescAndFn> tests;
    tests.push_back(test("a", [] { return quarv::fail("no"); }));
    tests.push_back(test("b", pass));
    tests.push_back(bench("c"));
    quarv::detail::TestOpts opts = options(1);
    opts.fail_fast = true;
    opts.measure_benchmarks = true;
    quarv::assert_eq(run(opts, std::move(tests)), std::string("filtered(0) planned(3) start(a) a#0=failed "));
}

QUARV_TEST(bench_mode_ignores_tests_and_measures_benchmarks_last) {
    std::vector<quarv::TestDescAndFn> tests;
    tests.push_back(bench("a_bench"));
    tests.push_back(test("b", pass));
    quarv::detail::TestOpts opts = options(4);
    opts.measure_benchmarks = true;
    opts.execute_tests = false;
    quarv::assert_eq(run(opts, std::move(tests)),
                     std::string("filtered(0) planned(2) start(b) b#1=ignored start(a_bench) a_bench#0=bench "));
}

QUARV_TEST(concurrency_limit_holds) {
    std::atomic<int> running{0};
    std::atomic<int> peak{0};
    auto body = [&] {
        int now = ++running;
        int seen = peak.load();
        while (now > seen && !peak.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        --running;
        return quarv::ok();
    };
    std::vector<quarv::TestDescAndFn> tests;
    for (int i = 0; i < 12; ++i) tests.push_back(test("t" + std::to_string(i), body));
    std::string trace = run(options(3), std::move(tests));
    quarv::assert_true(peak.load() <= 3, "peak " + std::to_string(peak.load()));
    quarv::assert_true(peak.load() >= 2, "tests should overlap");
    quarv::assert_eq(trace.substr(0, 23), std::string("filtered(0) planned(12)"));
}

QUARV_TEST(long_running_tests_are_reported_once_before_completing) {
    std::vector<quarv::TestDescAndFn> tests;
    tests.push_back(test("fast", pass));
    tests.push_back(test("slow", [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return quarv::ok();
    }));
    quarv::detail::LongRunningPolicy policy{std::chrono::milliseconds(100)};
    std::string trace = run(options(2), std::move(tests), policy);
    std::size_t long_at = trace.find("long(slow)");
    quarv::assert_true(long_at != std::string::npos, trace);
    quarv::assert_true(trace.find("long(slow)", long_at + 1) == std::string::npos, trace);
    quarv::assert_true(long_at < trace.find("slow#1=passed"), trace);
    quarv::assert_true(trace.find("long(fast)") == std::string::npos, trace);
}

QUARV_TEST(serial_runs_never_report_long_running) {
    std::vector<quarv::TestDescAndFn> tests;
    tests.push_back(test("slow", [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        return quarv::ok();
    }));
    std::string trace = run(options(1), std::move(tests), quarv::detail::LongRunningPolicy{std::chrono::milliseconds(10)});
    quarv::assert_eq(trace, std::string("filtered(0) planned(1) start(slow) slow#0=passed "));
}

QUARV_TEST(callback_error_ends_the_run) {
    std::vector<quarv::TestDescAndFn> tests;
    tests.push_back(test("a", pass));
    tests.push_back(test("b", pass));
    int events = 0;
    auto result = quarv::detail::run_tests(options(1), std::move(tests), [&](TestEvent event) -> quarv::detail::IoResult<> {
        ++events;
        if (std::holds_alternative<quarv::detail::TestStarting>(event)) {
            return quarv::detail::unexpected(quarv::detail::IoError::from_errno(32));
        }
        return {};
    });
    quarv::assert_true(!result.has_value());
    quarv::assert_eq(result.error().os_code, 32);
    quarv::assert_eq(events, 3);
}

}  // namespace run_loop
