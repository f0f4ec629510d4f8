#include "driver/console_run.hpp"

#include "bench/fmt_bench.hpp"
#include "execution/run_loop.hpp"
#include "formatters/get_formatter.hpp"
#include "platform/fatal.hpp"

namespace quarv::detail {

namespace {

std::size_t len_if_padded(const TestDescAndFn& test) {
    return test.body.padding() == NamePadding::PadRight ? test.descriptor.name.as_slice().size() : 0;
}

// The column benchmark names are filled to: the name length of the last test among those
// with the greatest padded length.
std::size_t compute_name_width(const std::vector<TestDescAndFn>& tests) {
    const TestDescAndFn* chosen = nullptr;
    for (const TestDescAndFn& test : tests) {
        if (chosen == nullptr || len_if_padded(test) >= len_if_padded(*chosen)) chosen = &test;
    }
    return chosen ? chosen->descriptor.name.as_slice().size() : 0;
}

std::string outcome_word(const TestDesc& desc, const TestResult& outcome) {
    switch (outcome.kind()) {
        case TestResult::Kind::Passed: return "ok";
        case TestResult::Kind::Failed: return "failed";
        case TestResult::Kind::FailedWithMessage: return "failed: " + outcome.message();
        case TestResult::Kind::Ignored:
            return desc.ignore_message ? "ignored: " + *desc.ignore_message : std::string("ignored");
        case TestResult::Kind::Benchmarked: return fmt_bench_samples(outcome.bench());
        case TestResult::Kind::FailedTimeLimit: return "failed (time limit exceeded)";
    }
    return "";
}

IoResult<> write_log_result(ConsoleTestState& state, const TestDesc& desc, const TestResult& outcome,
                            const std::optional<TestExecTime>& exec_time) {
    if (!state.log_file) return {};
    QUARV_TRY_IO(state.log_file->write_all(outcome_word(desc, outcome) + " " + std::string(desc.name.as_slice())));
    if (exec_time) QUARV_TRY_IO(state.log_file->write_all(" <" + exec_time->to_string() + ">"));
    return state.log_file->write_all("\n");
}

void handle_test_result(ConsoleTestState& state, CompletedTest completed) {
    FinishedTest finished{std::move(completed.descriptor), std::move(completed.captured_output)};
    switch (completed.outcome.kind()) {
        case TestResult::Kind::Passed:
            ++state.passed;
            state.successes.push_back(std::move(finished));
            break;
        case TestResult::Kind::Failed:
            ++state.failed;
            state.failures.push_back(std::move(finished));
            break;
        case TestResult::Kind::FailedWithMessage:
            ++state.failed;
            finished.second += "note: " + completed.outcome.message();
            state.failures.push_back(std::move(finished));
            break;
        case TestResult::Kind::Ignored:
            ++state.ignored;
            state.ignored_tests.push_back(std::move(finished));
            break;
        case TestResult::Kind::Benchmarked: {
            ++state.measured;
            const Summary& summary = completed.outcome.bench().summary;
            state.metrics.insert_metric(finished.first.name.as_slice(), summary.median, summary.max - summary.min);
            break;
        }
        case TestResult::Kind::FailedTimeLimit:
            ++state.failed;
            state.time_failures.push_back(std::move(finished));
            break;
    }
}

IoResult<> on_test_event(TestEvent event, ConsoleTestState& state, OutputFormatter& formatter) {
    if (auto* e = std::get_if<FilteredOutCount>(&event)) {
        state.filtered_out = e->count;
    } else if (auto* e = std::get_if<RunPlanned>(&event)) {
        state.total = e->test_count;
        state.successes.reserve(e->test_count);  // the common case: most tests pass
        QUARV_TRY_IO(formatter.write_run_start(e->test_count, e->shuffle_seed));
    } else if (auto* e = std::get_if<TestStarting>(&event)) {
        QUARV_TRY_IO(formatter.write_test_start(e->descriptor));
    } else if (auto* e = std::get_if<TestRunningLong>(&event)) {
        QUARV_TRY_IO(formatter.write_timeout(e->descriptor));
    } else if (auto* e = std::get_if<TestCompleted>(&event)) {
        CompletedTest& completed = e->completed;
        QUARV_TRY_IO(write_log_result(state, completed.descriptor, completed.outcome, completed.elapsed));
        QUARV_TRY_IO(formatter.write_result(completed.descriptor, completed.outcome, completed.elapsed,
                                            completed.captured_output, state));
        handle_test_result(state, std::move(completed));
    }
    return {};
}

}  // namespace

IoResult<bool> run_tests_console(const TestOpts& opts, std::vector<TestDescAndFn> tests) {
    std::size_t name_width = compute_name_width(tests);
    std::unique_ptr<OutputFormatter> formatter = get_formatter(opts, name_width);
    auto created = ConsoleTestState::create(opts);
    if (!created) return unexpected(std::move(created).error());
    ConsoleTestState& state = *created;
    Instant start = now();
    QUARV_TRY_IO(run_tests(opts, std::move(tests),
                           [&](TestEvent event) { return on_test_event(std::move(event), state, *formatter); }));
    state.exec_time = TestSuiteExecTime{elapsed_since(start)};
    if (!opts.fail_fast && state.current_test_count() != state.total) {
        fatal_error("assertion failed: opts.fail_fast || st.current_test_count() == st.total");
    }
    return formatter->write_run_finish(state);
}

}  // namespace quarv::detail
