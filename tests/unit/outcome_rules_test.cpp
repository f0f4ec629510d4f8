// Outcome rules: expected failures, child exit statuses, time limits, late failures.
#include <quarv/quarv.hpp>

#include "model/outcome_rules.hpp"

using quarv::detail::BodyOutcome;
using quarv::detail::FailurePayload;
using quarv::detail::TestResult;

namespace outcome_rules {

namespace {
quarv::TestDesc desc_with(quarv::ShouldPanic expectation, std::string path = "src/lib.cpp") {
    quarv::TestDesc desc = quarv::TestDesc::named("t");
    desc.should_panic = std::move(expectation);
    desc.source_path = std::move(path);
    desc.start_line = 12;
    desc.start_col = 5;
    return desc;
}
BodyOutcome text(std::string message) { return FailurePayload{true, std::move(message), {}}; }
BodyOutcome non_text(std::string type) { return FailurePayload{false, {}, std::move(type)}; }
}  // namespace

QUARV_TEST(calc_result_by_expectation_and_payload) {
    using quarv::ShouldPanic;
    struct Case {
        ShouldPanic expectation;
        BodyOutcome body;
        TestResult expected;
    };
    const Case cases[] = {
        {ShouldPanic::not_expected(), std::nullopt, TestResult::passed()},
        {ShouldPanic::not_expected(), text("returned error"), TestResult::failed()},
        {ShouldPanic::not_expected(), non_text("int"), TestResult::failed()},
        {ShouldPanic::any(), text("anything"), TestResult::passed()},
        {ShouldPanic::any(), non_text("int"), TestResult::passed()},
        {ShouldPanic::any(), std::nullopt,
         TestResult::failed_with_message("test did not panic as expected at src/lib.cpp:12:5")},
        {ShouldPanic::with_message("boo"), text("boom"), TestResult::passed()},
        {ShouldPanic::with_message(""), text("x"), TestResult::passed()},
        {ShouldPanic::with_message("bam"), text("boom"),
         TestResult::failed_with_message("panic did not contain expected string\n      panic message: \"boom\"\n "
                                         "expected substring: \"bam\"")},
        {ShouldPanic::with_message(""), non_text("Widget"),
         TestResult::failed_with_message("expected panic with string value,\n found non-string value: `Widget`\n"
                                         "     expected substring: \"\"")},
    };
    for (const Case& c : cases) {
        TestResult got = quarv::detail::calc_result(desc_with(c.expectation), c.body, std::nullopt, std::nullopt);
        quarv::assert_true(got == c.expected, "got: " + got.message());
    }
}

QUARV_TEST(no_location_without_source_path) {
    TestResult got = quarv::detail::calc_result(desc_with(quarv::ShouldPanic::any(), ""), std::nullopt, std::nullopt,
                                                std::nullopt);
    quarv::assert_eq(got.message(), std::string("test did not panic as expected"));
}

QUARV_TEST(quoted_form_escapes_like_a_literal) {
    quarv::assert_eq(quarv::detail::quoted_form("a\"b\\c\td\re\nf\x01g\x7f\xc3\xa9"),
                     std::string("\"a\\\"b\\\\c\\td\\re\\nf\\u{1}g\\u{7f}\xc3\xa9\""));
}

QUARV_TEST(time_limit_fails_only_passed_tests_under_ensure_time) {
    quarv::detail::TestTimeOptions ensure = quarv::detail::TestTimeOptions{};
    ensure.ensure_time = true;
    quarv::detail::TestTimeOptions report = ensure;
    report.ensure_time = false;
    auto at = [](std::uint64_t ms) { return quarv::detail::TestExecTime{quarv::detail::Duration::from_millis(ms)}; };
    quarv::TestDesc desc = desc_with(quarv::ShouldPanic::not_expected());
    using quarv::detail::calc_result;
    quarv::assert_true(calc_result(desc, std::nullopt, ensure, at(100)) == TestResult::failed_time_limit());
    quarv::assert_true(calc_result(desc, std::nullopt, ensure, at(99)) == TestResult::passed());
    quarv::assert_true(calc_result(desc, std::nullopt, report, at(500)) == TestResult::passed());
    quarv::assert_true(calc_result(desc, text("x"), ensure, at(500)) == TestResult::failed());
    quarv::assert_true(calc_result(desc, std::nullopt, ensure, std::nullopt) == TestResult::passed());
}

QUARV_TEST(exit_statuses_map_to_outcomes) {
    using quarv::detail::ExitStatus;
    struct Case {
        ExitStatus status;
        TestResult expected;
    };
    const Case cases[] = {
        {{50, std::nullopt}, TestResult::passed()},
        {{0, std::nullopt}, TestResult::failed_with_message("got unexpected return code 0")},
        {{101, std::nullopt}, TestResult::failed_with_message("got unexpected return code 101")},
        {{-1, std::nullopt}, TestResult::failed_with_message("got unexpected return code -1")},
        {{std::nullopt, 6}, TestResult::failed()},
        {{std::nullopt, 9}, TestResult::failed_with_message("child process exited with signal 9")},
    };
    for (const Case& c : cases) {
        TestResult got = quarv::detail::get_result_from_exit_code(desc_with(quarv::ShouldPanic::not_expected()),
                                                                  c.status, std::nullopt, std::nullopt);
        quarv::assert_true(got == c.expected, "got: " + got.message());
    }
}

QUARV_TEST(late_failure_changes_only_passed) {
    using quarv::detail::apply_late_failure;
    quarv::assert_true(apply_late_failure(TestResult::passed(), true) ==
                       TestResult::failed_with_message("panicked after reporting success"));
    quarv::assert_true(apply_late_failure(TestResult::passed(), false) == TestResult::passed());
    quarv::assert_true(apply_late_failure(TestResult::ignored(), true) == TestResult::ignored());
    quarv::assert_true(apply_late_failure(TestResult::failed(), true) == TestResult::failed());
}

}  // namespace outcome_rules
