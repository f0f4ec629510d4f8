// The JUnit report: the declaration at run start, the one-line document at the end,
// elements by result kind, escaping, and the unsupported listing operations.
#include <quarv/quarv.hpp>

#include "formatters/junit_formatter.hpp"
#include "formatters_recording.hpp"

namespace formatters_junit {

using formatters_support::Record;
using formatters_support::recording_location;
using quarv::detail::ConsoleTestState;
using quarv::detail::Duration;
using quarv::detail::JunitFormatter;
using quarv::detail::TestExecTime;
using quarv::detail::TestResult;

const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
const std::string closing = "<system-out/><system-err/></testsuite></testsuites>\n";

struct Harness {
    std::shared_ptr<Record> record = std::make_shared<Record>();
    JunitFormatter formatter{recording_location(record)};
    ConsoleTestState state;

    void result(quarv::TestDesc desc, const TestResult& outcome, std::string output = "",
                std::optional<TestExecTime> time = std::nullopt) {
        quarv::assert_true(formatter.write_result(desc, outcome, time, output, state).has_value());
    }
};

std::string suite_tag(int failures, int tests, int skipped) {
    return "<testsuite name=\"test\" package=\"test\" id=\"0\" errors=\"0\" failures=\"" + std::to_string(failures) +
           "\" tests=\"" + std::to_string(tests) + "\" skipped=\"" + std::to_string(skipped) + "\" >";
}

QUARV_TEST(zero_tests_document) {
    Harness h;
    quarv::assert_true(h.formatter.write_run_start(0, 7).has_value());
    quarv::assert_eq(h.record->text, declaration);
    auto success = h.formatter.write_run_finish(h.state);
    quarv::assert_true(success.has_value() && *success);
    quarv::assert_eq(h.record->text, declaration + "<testsuites>" + suite_tag(0, 0, 0) + closing);
}

QUARV_TEST(elements_by_result_kind) {
    Harness h;
    (void)h.formatter.write_run_start(7, std::nullopt);
    h.result(quarv::TestDesc::named("m::ok"), TestResult::passed(), "quiet\n", TestExecTime{Duration{2, 0}});
    h.result(quarv::TestDesc::named("top"), TestResult::failed(), "a]]>b\n\nc", TestExecTime{Duration{0, 1500000}});
    h.result(quarv::TestDesc::named("m::n::msg"), TestResult::failed_with_message("left: \"1\"\n<right> & 'x'\t!"));
    h.result(quarv::TestDesc::named("m::slow"), TestResult::failed_time_limit(), "not shown");
    h.result(quarv::TestDesc::named("m::skip"), TestResult::ignored());
    quarv::detail::BenchOutcome outcome;
    outcome.summary.sum = 12345.5;
    h.result(quarv::TestDesc::named("b::fast"), TestResult::benchmarked(outcome));
    quarv::TestDesc doc = quarv::TestDesc::named("src/w.cc - Widget (line 3)");
    doc.test_kind = quarv::TestKind::Doc;
    h.result(doc, TestResult::passed());
    quarv::assert_eq(h.record->text, declaration);  // nothing before the run ends

    h.state.total = 7;
    h.state.failed = 3;
    h.state.ignored = 1;
    auto success = h.formatter.write_run_finish(h.state);
    quarv::assert_true(success.has_value() && !*success);
    quarv::assert_eq(h.record->text,
                     declaration + "<testsuites>" + suite_tag(3, 7, 1) +
                         "<testcase classname=\"m\" name=\"ok\" time=\"2\"/>"
                         "<testcase classname=\"crate\" name=\"top\" time=\"0.0015\"><failure type=\"assert\"/>"
                         "<system-out><![CDATA[a]]]]><![CDATA[>b]]>&#xA;&#xA;<![CDATA[c]]></system-out></testcase>"
                         "<testcase classname=\"m::n\" name=\"msg\" time=\"0\">"
                         "<failure message=\"left: &quot;1&quot;&#xA;&lt;right&gt; &amp; &apos;x&apos;&#x9;!\" "
                         "type=\"assert\"/></testcase>"
                         "<testcase classname=\"m\" name=\"slow\" time=\"0\"><failure type=\"timeout\"/></testcase>"
                         "<testcase classname=\"benchmark::b\" name=\"fast\" time=\"12345.5\" />"
                         "<testcase classname=\"src/w.cc\" name=\"Widget (line 3)\" time=\"0\"/>" +
                         closing);
    // The buffer was emptied: a second finish writes no test case.
    h.record->text.clear();
    (void)h.formatter.write_run_finish(h.state);
    quarv::assert_eq(h.record->text, "<testsuites>" + suite_tag(3, 7, 1) + closing);
}

QUARV_TEST(passing_output_only_with_show_output) {
    Harness h;
    h.state.run_options.show_output = true;
    h.result(quarv::TestDesc::named("a::p"), TestResult::passed(), "hi\n");
    h.result(quarv::TestDesc::named("a::q"), TestResult::passed(), "");
    h.state.total = 2;
    (void)h.formatter.write_run_finish(h.state);
    quarv::assert_eq(h.record->text, "<testsuites>" + suite_tag(0, 2, 0) +
                                         "<testcase classname=\"a\" name=\"p\" time=\"0\"><system-out><![CDATA[hi]]>&#xA;"
                                         "<![CDATA[]]></system-out></testcase>"
                                         "<testcase classname=\"a\" name=\"q\" time=\"0\"/>" +
                                         closing);
}

// Characters XML 1.0 forbids never reach the document, not even inside CDATA.
QUARV_TEST(forbidden_characters_are_replaced) {
    Harness h;
    h.result(quarv::TestDesc::named("e\x1bsc::n\xfful"), TestResult::failed(), std::string("\x01\x00<?x\xc3", 6));
    h.state.total = 1;
    h.state.failed = 1;
    (void)h.formatter.write_run_finish(h.state);
    const std::string r = "\xEF\xBF\xBD";
    quarv::assert_eq(h.record->text, "<testsuites>" + suite_tag(1, 1, 0) + "<testcase classname=\"e" + r +
                                         "sc\" name=\"n" + r + "ul\" time=\"0\"><failure type=\"assert\"/>"
                                         "<system-out><![CDATA[" + r + r + "<]]><![CDATA[?x" + r +
                                         "]]></system-out></testcase>" + closing);
}

QUARV_TEST(listing_operations_are_not_supported) {
    Harness h;
    quarv::detail::ConsoleTestDiscoveryState discovery;
    auto start = h.formatter.write_discovery_start();
    auto found = h.formatter.write_test_discovered(quarv::TestDesc::named("x"), "test");
    auto finish = h.formatter.write_discovery_finish(discovery);
    for (const auto* r : {&start, &found, &finish}) {
        quarv::assert_true(!r->has_value());
        quarv::assert_true(r->error().kind == quarv::detail::IoErrorKind::NotFound);
        quarv::assert_eq(r->error().message, std::string("not yet implemented!"));
    }
    quarv::assert_eq(h.record->text, std::string());
}

QUARV_TEST(merged_doctests_report) {
    Harness h;
    quarv::assert_true(h.formatter.write_merged_doctests_times(2.0, 0.125).has_value());
    quarv::assert_eq(h.record->text, std::string("<report total_time=\"2\" compilation_time=\"0.125\"></report>\n"));
}

}  // namespace formatters_junit
