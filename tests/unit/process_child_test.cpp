// Running a test in a child copy of this very executable: the command the parent builds,
// the merged output, and the round trip through the child side of quarv_unit_tests.
#include <quarv/quarv.hpp>

#include <iostream>

#include "execution/child_process.hpp"
#include "execution/run_test.hpp"

namespace process_child {

using quarv::detail::ChildStdio;
using quarv::detail::CompletedTest;
using quarv::detail::TestResult;

QUARV_TEST(command_carries_the_protocol) {
    struct Case {
        bool nocapture;
        bool measure;
    };
    for (Case c : {Case{false, false}, Case{true, true}}) {
        auto command = quarv::detail::child_command("./suite", "a::b", c.nocapture, c.measure);
        quarv::assert_eq(command.program, std::string("./suite"));
        quarv::assert_true(command.args.empty());
        quarv::assert_true(command.stdio == (c.nocapture ? ChildStdio::Inherited : ChildStdio::Captured));
        using Vars = std::vector<std::pair<std::string, std::string>>;
        Vars expected{{"__VESK_TEST_INVOKE", "a::b"}};
        if (c.measure) expected.emplace_back("__VESK_TEST_BENCH_BENCHMARKS", "1");
        quarv::assert_true(command.env_set == expected);
        // Not measuring: the variable is taken out even if the runner inherited it.
        quarv::assert_true(command.env_remove ==
                           (c.measure ? std::vector<std::string>{} : std::vector<std::string>{"__VESK_TEST_BENCH_BENCHMARKS"}));
    }
}

QUARV_TEST(stderr_delimiter_follows_a_line_end) {
    struct Case {
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"", "---- t stderr ----\n"},
        {"a", "a\n---- t stderr ----\n"},
        {"a\n", "a\n---- t stderr ----\n"},
        {"a\n\n", "a\n\n---- t stderr ----\n"},
    };
    for (const Case& c : cases) {
        std::string output = c.before;
        quarv::detail::write_stderr_delimiter(output, "t");
        quarv::assert_eq(output, c.after);
    }
}

// Run in a child by the tests below; in an ordinary run it simply passes.
QUARV_TEST(writes_a_and_b) {
    std::cout << "a" << std::flush;
    std::cerr << "b";
}

CompletedTest run_in_child(const char* name, bool report_time) {
    auto queue = std::make_shared<quarv::detail::CompletionQueue>();
    quarv::detail::CompletionSender sender(queue);
    std::optional<quarv::detail::TestTimeOptions> time_options;
    if (report_time) time_options = quarv::detail::TestTimeOptions{};
    quarv::detail::spawn_test_subprocess(7, quarv::TestDesc::named(name), false, sender, time_options, false);
    return queue->recv();
}

QUARV_TEST(round_trip_through_a_child_of_this_executable) {
    CompletedTest done = run_in_child("process_child::writes_a_and_b", true);
    quarv::assert_eq(done.test_id, quarv::detail::TestId{7});
    quarv::assert_true(done.outcome == TestResult::passed());
    quarv::assert_eq(done.captured_output, std::string("a\n---- process_child::writes_a_and_b stderr ----\nb"));
    quarv::assert_true(done.elapsed.has_value() && done.elapsed->duration > quarv::detail::Duration{});
}

QUARV_TEST(a_name_the_child_does_not_know_fails_with_its_exit_code) {
    CompletedTest done = run_in_child("process_child::no_such_test", false);
    quarv::assert_true(done.outcome == TestResult::failed_with_message("got unexpected return code 101"));
    quarv::assert_eq(done.captured_output, std::string("---- process_child::no_such_test stderr ----\n"
                                                       "error: no test named `process_child::no_such_test` in this "
                                                       "executable\n"));
    quarv::assert_true(!done.elapsed.has_value());
}

}  // namespace process_child
