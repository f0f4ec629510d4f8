// The terse format: marks, the 87-mark line and its count, failure and benchmark lines,
// the summary and the single-ignored-test line.
#include <quarv/quarv.hpp>

#include "bench/fmt_bench.hpp"
#include "formatters/terse_formatter.hpp"
#include "formatters_recording.hpp"

namespace formatters_terse {

using formatters_support::Record;
using formatters_support::recording_location;
using quarv::detail::ConsoleTestState;
using quarv::detail::TerseFormatter;
using quarv::detail::TestResult;

struct Harness {
    std::shared_ptr<Record> record = std::make_shared<Record>();
    TerseFormatter formatter;
    ConsoleTestState state;

    explicit Harness(bool use_color = false, bool multithreaded = false, std::size_t name_width = 0)
        : formatter(recording_location(record), use_color, name_width, multithreaded) {}

    void result(const char* name, const TestResult& outcome) {
        quarv::assert_true(formatter.write_result(quarv::TestDesc::named(name), outcome, std::nullopt, "", state).has_value());
    }
    void passes(int count) {
        for (int i = 0; i < count; ++i) result("p", TestResult::passed());
    }
};

std::string dots(std::size_t count) { return std::string(count, '.'); }

// 87 marks fill a line; a failure closes the line early with its count, and the count
// runs on across failure lines.
QUARV_TEST(lines_of_87_marks_and_failure_lines) {
    Harness h;
    quarv::assert_true(h.formatter.write_run_start(200, std::nullopt).has_value());
    h.passes(87);
    h.passes(10);
    h.result("a::broken", TestResult::failed_with_message("boom"));
    h.passes(87);
    h.result("a::slow", TestResult::failed_time_limit());
    h.result("a::again", TestResult::failed());
    h.result("skip", TestResult::ignored());
    std::string expected = "\nrunning 200 tests\n" + dots(87) + " 87/200\n" + dots(10) + " 97/200\n" +
                           "a::broken --- FAILED\n" + dots(87) + " 185/200\n" + "a::slow --- FAILED\n" +
                           "a::again --- FAILED\n" + "i";
    quarv::assert_eq(h.record->text, expected);
}

QUARV_TEST(first_result_failing_writes_no_count) {
    Harness h;
    (void)h.formatter.write_run_start(3, std::nullopt);
    h.result("x", TestResult::failed());
    h.passes(2);
    quarv::assert_eq(h.record->text, std::string("\nrunning 3 tests\nx --- FAILED\n.."));
}

QUARV_TEST(marks_and_words_are_coloured_and_flushed) {
    Harness h(/*use_color=*/true);
    (void)h.formatter.write_run_start(1, 42);
    std::size_t flushes = h.record->flushes;
    h.result("p", TestResult::passed());
    quarv::assert_eq(h.record->flushes, flushes + 1);
    h.result("i", TestResult::ignored());
    h.result("f", TestResult::failed());
    quarv::assert_eq(h.record->text, std::string("\nrunning 1 test (shuffle seed: 42)\n<fg 2>.<reset><fg 3>i<reset> 2/1\n"
                                                 "f --- <fg 1>FAILED<reset>\n"));
}

// A mark that could not be written is not counted.
QUARV_TEST(failed_write_does_not_count) {
    Harness h;
    (void)h.formatter.write_run_start(100, std::nullopt);
    h.passes(86);
    h.record->fail_from_write = h.record->writes;
    quarv::assert_true(!h.formatter.write_result(quarv::TestDesc::named("p"), TestResult::passed(), std::nullopt, "", h.state).has_value());
    h.record->fail_from_write = static_cast<std::size_t>(-1);
    h.passes(1);
    quarv::assert_eq(h.record->text, "\nrunning 100 tests\n" + dots(87) + " 87/100\n");
}

QUARV_TEST(benchmark_lines_by_threading) {
    quarv::detail::BenchOutcome outcome;
    outcome.summary.median = 1234;
    outcome.summary.max = 1300;
    outcome.summary.min = 1200;
    std::string summary = quarv::detail::fmt_bench_samples(outcome);
    for (bool multithreaded : {false, true}) {
        Harness h(false, multithreaded, 12);
        quarv::TestDesc desc = quarv::TestDesc::named("b::fast");
        desc.name = desc.name.with_padding(quarv::NamePadding::PadRight);
        quarv::TestDesc plain = quarv::TestDesc::named("t");
        (void)h.formatter.write_test_start(plain);
        (void)h.formatter.write_test_start(desc);
        quarv::assert_true(h.formatter.write_result(desc, TestResult::benchmarked(outcome), std::nullopt, "", h.state).has_value());
        h.passes(1);
        quarv::assert_eq(h.record->text, "test b::fast      ... bench: " + summary + "\n.");
    }
}

QUARV_TEST(summary_with_failures_and_no_time_section) {
    Harness h;
    (void)h.formatter.write_run_start(3, std::nullopt);
    h.state.total = 3;
    h.state.passed = 1;
    h.state.failed = 2;
    h.state.exec_time = quarv::detail::TestSuiteExecTime{quarv::detail::Duration{1, 500000000}};
    h.state.failures.emplace_back(quarv::TestDesc::named("z::b"), "printed\n");
    h.state.failures.emplace_back(quarv::TestDesc::named("A::a"), "");
    h.state.time_failures.emplace_back(quarv::TestDesc::named("slow"), "");
    auto success = h.formatter.write_run_finish(h.state);
    quarv::assert_true(success.has_value() && !*success);
    quarv::assert_eq(h.record->text, std::string("\nrunning 3 tests\n"
                                                 "\nfailures:\n\n---- z::b stdout ----\nprinted\n\n"
                                                 "\nfailures:\n    A::a\n    z::b\n"
                                                 "\ntest result: FAILED. 1 passed; 2 failed; 0 ignored; 0 measured; "
                                                 "0 filtered out; finished in 1.50s\n\n"));
}

// The reason of a run's only test, ignored, is repeated after the summary; not with
// two tests, and not without a reason.
QUARV_TEST(single_ignored_test_line) {
    struct Case {
        std::uint64_t announced;
        bool with_reason;
        bool line;
    };
    const Case cases[] = {{1, true, true}, {2, true, false}, {1, false, false}};
    for (const Case& c : cases) {
        Harness h;
        (void)h.formatter.write_run_start(c.announced, std::nullopt);
        quarv::TestDesc desc = quarv::TestDesc::named("only");
        desc.ignore = true;
        if (c.with_reason) desc.ignore_message = "needs a network";
        h.state.ignored = 1;
        h.state.ignored_tests.emplace_back(desc, "");
        (void)h.formatter.write_run_finish(h.state);
        std::string tail = "test: only, ignore_message: needs a network\n\n";
        bool has_line = h.record->text.size() > tail.size() &&
                        h.record->text.compare(h.record->text.size() - tail.size(), tail.size(), tail) == 0;
        quarv::assert_eq(has_line, c.line);
    }
}

QUARV_TEST(listing_has_no_count_line) {
    Harness h;
    quarv::detail::ConsoleTestDiscoveryState discovery;
    discovery.tests = 1;
    (void)h.formatter.write_discovery_start();
    (void)h.formatter.write_test_discovered(quarv::TestDesc::named("a::b"), "test");
    (void)h.formatter.write_discovery_finish(discovery);
    quarv::assert_eq(h.record->text, std::string("a::b: test\n"));
}

}  // namespace formatters_terse
