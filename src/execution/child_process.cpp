#include "execution/child_process.hpp"

#include "execution/run_test.hpp"
#include "model/outcome_rules.hpp"
#include "platform/fatal.hpp"
#include "platform/process_args.hpp"

namespace quarv::detail {

ProcessCommand child_command(std::string program, std::string_view name, bool nocapture, bool measure_benchmarks) {
    ProcessCommand command;
    command.program = std::move(program);
    command.env_set.emplace_back(invoke_env_name, std::string(name));
    if (measure_benchmarks) {
        command.env_set.emplace_back(bench_env_name, "1");
    } else {
        command.env_remove.emplace_back(bench_env_name);
    }
    command.stdio = nocapture ? ChildStdio::Inherited : ChildStdio::Captured;
    return command;
}

void write_stderr_delimiter(std::string& output, std::string_view name) {
    if (!output.empty() && output.back() != '\n') output += '\n';
    output += "---- ";
    output += name;
    output += " stderr ----\n";
}

// Runs the test in a child and reports it. The measured time starts before the child is
// started, so it includes the child's start-up; a child that never started has none.
void spawn_test_subprocess(TestId id, const TestDesc& desc, bool nocapture, const CompletionSender& sender,
                           const std::optional<TestTimeOptions>& time_options, bool measure_benchmarks) {
    std::vector<std::string> args = process_args();
    std::string program = args.empty() ? std::string() : args.front();
    std::string_view name = desc.name.as_slice();
    ProcessCommand command = child_command(program, name, nocapture, measure_benchmarks);

    std::optional<Instant> start;
    if (time_options) start = now();
    IoResult<ProcessOutput> ran = run_process(command);

    CompletedTest completed{id, desc, TestResult::failed(), std::nullopt, {}};
    if (!ran) {
        completed.captured_output = "Failed to spawn " + program + " as child for test: " + ran.error().describe();
    } else {
        if (start) completed.elapsed = TestExecTime{elapsed_since(*start)};
        completed.captured_output = std::move(ran->stdout_bytes);
        write_stderr_delimiter(completed.captured_output, name);
        completed.captured_output += ran->stderr_bytes;
        ExitStatus status{ran->exit.code, ran->exit.signal};
        completed.outcome = get_result_from_exit_code(desc, status, time_options, completed.elapsed);
    }
    if (!sender.send(std::move(completed))) fatal_error("failed to report test result: the run loop is gone");
}

}  // namespace quarv::detail
