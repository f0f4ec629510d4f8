#include "formatters/pretty_formatter.hpp"

#include <cstdio>

#include "bench/fmt_bench.hpp"

namespace quarv::detail {

std::string run_start_line(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed) {
    std::string line = "\nrunning " + std::to_string(test_count) + (test_count == 1 ? " test" : " tests");
    if (shuffle_seed) line += " (shuffle seed: " + std::to_string(*shuffle_seed) + ")";
    line += '\n';
    return line;
}

std::string test_name_prefix(const TestDesc& desc, std::size_t name_width) {
    std::string name = desc.padded_name(name_width, desc.name.padding());
    if (auto mode = desc.test_mode()) return "test " + name + " - " + std::string(*mode) + " ... ";
    return "test " + name + " ... ";
}

std::string timeout_line(const TestDesc& desc) {
    return "test " + std::string(desc.name.as_slice()) + " has been running for over " +
           std::to_string(long_running_secs) + " seconds\n";
}

std::string summary_counts(const ConsoleTestState& state) {
    std::string text = ". " + std::to_string(state.passed) + " passed; " + std::to_string(state.failed) + " failed; " +
                       std::to_string(state.ignored) + " ignored; " + std::to_string(state.measured) + " measured; " +
                       std::to_string(state.filtered_out) + " filtered out";
    if (state.exec_time) text += "; finished in " + state.exec_time->to_string();
    return text;
}

IoResult<> write_test_result_line(StyledWriter& out, const ConsoleTestState& state) {
    QUARV_TRY_IO(out.write_plain("\ntest result: "));
    if (state.failed == 0) {
        QUARV_TRY_IO(out.write_pretty("ok", Green));
    } else {
        QUARV_TRY_IO(out.write_pretty("FAILED", Red));
    }
    QUARV_TRY_IO(out.write_plain(summary_counts(state)));
    return out.write_plain("\n\n");
}

std::string merged_doctests_line(double total_time, double compilation_time) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "all doctests ran in %.2fs; merged doctests compilation took %.2fs\n",
                  total_time, compilation_time);
    return buffer;
}

PrettyFormatter::PrettyFormatter(OutputLocation output, bool use_color, std::size_t name_width, bool multithreaded,
                                 std::optional<TestTimeOptions> time_limits)
    : m_out(std::move(output), use_color),
      m_name_width(name_width),
      m_multithreaded(multithreaded),
      m_time_limits(time_limits) {}

IoResult<> PrettyFormatter::write_discovery_start() { return {}; }

IoResult<> PrettyFormatter::write_test_discovered(const TestDesc& desc, std::string_view kind_word) {
    return m_out.write_plain(std::string(desc.name.as_slice()) + ": " + std::string(kind_word) + "\n");
}

IoResult<> PrettyFormatter::write_discovery_finish(const ConsoleTestDiscoveryState& state) {
    if (state.tests + state.benchmarks > 0) QUARV_TRY_IO(m_out.write_plain("\n"));
    return m_out.write_plain(plural(state.tests, "test") + ", " + plural(state.benchmarks, "benchmark") + "\n");
}

IoResult<> PrettyFormatter::write_run_start(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed) {
    return m_out.write_plain(run_start_line(test_count, shuffle_seed));
}

IoResult<> PrettyFormatter::write_test_start(const TestDesc& desc) {
    if (!m_multithreaded) return write_test_name(desc);
    return {};
}

IoResult<> PrettyFormatter::write_timeout(const TestDesc& desc) { return m_out.write_plain(timeout_line(desc)); }

IoResult<> PrettyFormatter::write_test_name(const TestDesc& desc) {
    return m_out.write_plain(test_name_prefix(desc, m_name_width));
}

IoResult<> PrettyFormatter::write_time(const TestDesc& desc, const std::optional<TestExecTime>& exec_time) {
    if (!exec_time || !m_time_limits) return {};
    std::string text = " <" + exec_time->to_string() + ">";
    if (m_out.use_color()) {
        if (m_time_limits->is_critical(desc, exec_time->duration)) return m_out.write_pretty(text, Red);
        if (m_time_limits->is_warn(desc, exec_time->duration)) return m_out.write_pretty(text, Yellow);
    }
    return m_out.write_plain(text);
}

IoResult<> PrettyFormatter::write_result(const TestDesc& desc, const TestResult& result,
                                         const std::optional<TestExecTime>& exec_time, std::string_view,
                                         const ConsoleTestState&) {
    if (m_multithreaded) QUARV_TRY_IO(write_test_name(desc));
    switch (result.kind()) {
        case TestResult::Kind::Passed: QUARV_TRY_IO(m_out.write_pretty("ok", Green)); break;
        case TestResult::Kind::Failed:
        case TestResult::Kind::FailedWithMessage: QUARV_TRY_IO(m_out.write_pretty("FAILED", Red)); break;
        case TestResult::Kind::Ignored:
            if (desc.ignore_message) {
                QUARV_TRY_IO(m_out.write_pretty("ignored, " + *desc.ignore_message, Yellow));
            } else {
                QUARV_TRY_IO(m_out.write_pretty("ignored", Yellow));
            }
            break;
        case TestResult::Kind::Benchmarked:
            QUARV_TRY_IO(m_out.write_pretty("bench", Cyan));
            QUARV_TRY_IO(m_out.write_plain(": " + fmt_bench_samples(result.bench())));
            break;
        case TestResult::Kind::FailedTimeLimit:
            QUARV_TRY_IO(m_out.write_pretty("FAILED (time limit exceeded)", Red));
            break;
    }
    QUARV_TRY_IO(write_time(desc, exec_time));
    return m_out.write_plain("\n");
}

IoResult<bool> PrettyFormatter::write_run_finish(const ConsoleTestState& state) {
    if (state.run_options.show_output) QUARV_TRY_IO(write_results(m_out, state.successes, "successes"));
    bool success = state.failed == 0;
    if (!success) {
        if (!state.failures.empty()) QUARV_TRY_IO(write_results(m_out, state.failures, "failures"));
        if (!state.time_failures.empty()) {
            QUARV_TRY_IO(write_results(m_out, state.time_failures, "failures (time limit exceeded)"));
        }
    }
    QUARV_TRY_IO(write_test_result_line(m_out, state));
    return success;
}

IoResult<> PrettyFormatter::write_merged_doctests_times(double total_time, double compilation_time) {
    return m_out.write_plain(merged_doctests_line(total_time, compilation_time));
}

}  // namespace quarv::detail
