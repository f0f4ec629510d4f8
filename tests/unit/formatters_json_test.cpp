// The JSON event stream: every line kind with its keys in order, optional members,
// escaping and number forms, one write per line without flushing.
#include <quarv/quarv.hpp>

#include "formatters/json_formatter.hpp"
#include "formatters_recording.hpp"

namespace formatters_json {

using formatters_support::Record;
using formatters_support::recording_location;
using quarv::detail::ConsoleTestState;
using quarv::detail::Duration;
using quarv::detail::JsonFormatter;
using quarv::detail::TestExecTime;
using quarv::detail::TestResult;

struct Harness {
    std::shared_ptr<Record> record = std::make_shared<Record>();
    JsonFormatter formatter{recording_location(record)};
    ConsoleTestState state;

    // The text written by one call, checking it was one write and no flush.
    template <class Call>
    std::string line(Call call) {
        record->text.clear();
        std::size_t writes = record->writes;
        quarv::assert_true(call().has_value());
        quarv::assert_eq(record->writes, writes + 1);
        quarv::assert_eq(record->flushes, std::size_t{0});
        return record->text;
    }
};

QUARV_TEST(suite_and_listing_lines) {
    Harness h;
    quarv::assert_eq(h.line([&] { return h.formatter.write_discovery_start(); }),
                     std::string("{ \"type\": \"suite\", \"event\": \"discovery\" }\n"));
    quarv::TestDesc desc = quarv::TestDesc::named("a::b");
    desc.source_path = "tests/a.cpp";
    desc.start_line = 3;
    desc.start_col = 1;
    desc.end_line = 3;
    desc.end_col = 9;
    quarv::assert_eq(h.line([&] { return h.formatter.write_test_discovered(desc, "test"); }),
                     std::string("{ \"type\": \"test\", \"event\": \"discovered\", \"name\": \"a::b\", \"ignore\": false, "
                                 "\"ignore_message\": \"\", \"source_path\": \"tests/a.cpp\", \"start_line\": 3, "
                                 "\"start_col\": 1, \"end_line\": 3, \"end_col\": 9 }\n"));
    desc.ignore = true;
    desc.ignore_message = "slow \"one\"";
    quarv::assert_eq(h.line([&] { return h.formatter.write_test_discovered(desc, "benchmark"); }),
                     std::string("{ \"type\": \"benchmark\", \"event\": \"discovered\", \"name\": \"a::b\", \"ignore\": true, "
                                 "\"ignore_message\": \"slow \\\"one\\\"\", \"source_path\": \"tests/a.cpp\", "
                                 "\"start_line\": 3, \"start_col\": 1, \"end_line\": 3, \"end_col\": 9 }\n"));
    quarv::detail::ConsoleTestDiscoveryState discovery;
    discovery.tests = 2;
    discovery.benchmarks = 1;
    discovery.ignored = 1;
    quarv::assert_eq(h.line([&] { return h.formatter.write_discovery_finish(discovery); }),
                     std::string("{ \"type\": \"suite\", \"event\": \"completed\", \"tests\": 2, \"benchmarks\": 1, "
                                 "\"total\": 3, \"ignored\": 1 }\n"));
    quarv::assert_eq(h.line([&] { return h.formatter.write_run_start(0, std::nullopt); }),
                     std::string("{ \"type\": \"suite\", \"event\": \"started\", \"test_count\": 0 }\n"));
    quarv::assert_eq(h.line([&] { return h.formatter.write_run_start(3, 18446744073709551615ULL); }),
                     std::string("{ \"type\": \"suite\", \"event\": \"started\", \"test_count\": 3, "
                                 "\"shuffle_seed\": 18446744073709551615 }\n"));
    quarv::assert_eq(h.line([&] { return h.formatter.write_test_start(desc); }),
                     std::string("{ \"type\": \"test\", \"event\": \"started\", \"name\": \"a::b\" }\n"));
    quarv::assert_eq(h.line([&] { return h.formatter.write_timeout(desc); }),
                     std::string("{ \"type\": \"test\", \"event\": \"timeout\", \"name\": \"a::b\" }\n"));
    quarv::assert_eq(h.line([&] { return h.formatter.write_merged_doctests_times(2.0, 0.25); }),
                     std::string("{ \"type\": \"report\", \"total_time\": 2, \"compilation_time\": 0.25 }\n"));
}

QUARV_TEST(result_lines_by_kind) {
    struct Case {
        TestResult result;
        std::optional<double> secs;
        std::string output;
        bool show_output;
        std::optional<std::string> ignore_message;
        std::string expected;
    };
    const std::string head = "{ \"type\": \"test\", \"name\": \"t\", ";
    const Case cases[] = {
        {TestResult::passed(), std::nullopt, "", false, {}, head + "\"event\": \"ok\" }\n"},
        {TestResult::passed(), 2.0, "out", false, {}, head + "\"event\": \"ok\", \"exec_time\": 2 }\n"},
        {TestResult::passed(), 1.5, "out\n", true, {}, head + "\"event\": \"ok\", \"exec_time\": 1.5, \"stdout\": \"out\\n\" }\n"},
        {TestResult::failed(), std::nullopt, "", false, {}, head + "\"event\": \"failed\" }\n"},
        {TestResult::failed(), std::nullopt, "x", false, {}, head + "\"event\": \"failed\", \"stdout\": \"x\" }\n"},
        {TestResult::failed_with_message("expected \"a\"\nnote"), std::nullopt, "", false, {},
         head + "\"event\": \"failed\", \"message\": \"expected \\\"a\\\"\\nnote\" }\n"},
        {TestResult::failed_time_limit(), 0.001, "late", false, {},
         head + "\"event\": \"failed\", \"exec_time\": 0.001, \"stdout\": \"late\", \"reason\": \"time limit exceeded\" }\n"},
        {TestResult::ignored(), std::nullopt, "", false, {}, head + "\"event\": \"ignored\" }\n"},
        {TestResult::ignored(), std::nullopt, "", false, "why", head + "\"event\": \"ignored\", \"message\": \"why\" }\n"},
        // Invalid UTF-8 in output is replaced, control bytes escaped.
        {TestResult::failed(), std::nullopt, "\xff\x1b[0m\x7f", false, {},
         head + "\"event\": \"failed\", \"stdout\": \"\xEF\xBF\xBD\\u001b[0m\\u007f\" }\n"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.state.run_options.show_output = c.show_output;
        quarv::TestDesc desc = quarv::TestDesc::named("t");
        desc.ignore_message = c.ignore_message;
        std::optional<TestExecTime> time;
        if (c.secs) time = TestExecTime{Duration::from_nanos(static_cast<std::uint64_t>(*c.secs * 1e9 + 0.5))};
        quarv::assert_eq(h.line([&] { return h.formatter.write_result(desc, c.result, time, c.output, h.state); }),
                         c.expected);
    }
}

QUARV_TEST(hostile_names_are_escaped) {
    Harness h;
    quarv::TestDesc desc = quarv::TestDesc::named("q\"b\\t\te\x1b\xc3\xa9\xfe");
    quarv::assert_eq(h.line([&] { return h.formatter.write_test_start(desc); }),
                     std::string("{ \"type\": \"test\", \"event\": \"started\", \"name\": \"q\\\"b\\\\t\\te\\u001b\xc3\xa9\xEF\xBF\xBD\" }\n"));
}

QUARV_TEST(benchmark_and_finish_lines) {
    Harness h;
    quarv::detail::BenchOutcome outcome;
    outcome.summary.median = 1234.5;
    outcome.summary.max = 1300;
    outcome.summary.min = 1200.25;
    quarv::TestDesc desc = quarv::TestDesc::named("b");
    quarv::assert_eq(h.line([&] { return h.formatter.write_result(desc, TestResult::benchmarked(outcome), std::nullopt, "x", h.state); }),
                     std::string("{ \"type\": \"bench\", \"name\": \"b\", \"median\": 1234.5, \"deviation\": 99.75 }\n"));
    outcome.megabytes_per_second = 17;
    quarv::assert_eq(h.line([&] { return h.formatter.write_result(desc, TestResult::benchmarked(outcome), std::nullopt, "", h.state); }),
                     std::string("{ \"type\": \"bench\", \"name\": \"b\", \"median\": 1234.5, \"deviation\": 99.75, "
                                 "\"mib_per_second\": 17 }\n"));

    h.state.passed = 4;
    h.state.ignored = 1;
    h.state.measured = 1;
    h.state.filtered_out = 2;
    h.state.exec_time = quarv::detail::TestSuiteExecTime{Duration{2, 0}};
    quarv::assert_eq(h.line([&] { return h.formatter.write_run_finish(h.state); }),
                     std::string("{ \"type\": \"suite\", \"event\": \"ok\", \"passed\": 4, \"failed\": 0, \"ignored\": 1, "
                                 "\"measured\": 1, \"filtered_out\": 2, \"exec_time\": 2 }\n"));
    h.state.failed = 1;
    h.state.exec_time.reset();
    h.record->text.clear();
    auto success = h.formatter.write_run_finish(h.state);
    quarv::assert_true(success.has_value() && !*success);
    quarv::assert_eq(h.record->text,
                     std::string("{ \"type\": \"suite\", \"event\": \"failed\", \"passed\": 4, \"failed\": 1, \"ignored\": 1, "
                                 "\"measured\": 1, \"filtered_out\": 2 }\n"));
}

}  // namespace formatters_json
