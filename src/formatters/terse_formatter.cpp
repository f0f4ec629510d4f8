#include "formatters/terse_formatter.hpp"

#include "bench/fmt_bench.hpp"
#include "formatters/pretty_formatter.hpp"

namespace quarv::detail {

TerseFormatter::TerseFormatter(OutputLocation output, bool use_color, std::size_t name_width, bool multithreaded)
    : m_out(std::move(output), use_color), m_name_width(name_width), m_multithreaded(multithreaded) {}

IoResult<> TerseFormatter::write_discovery_start() { return {}; }

IoResult<> TerseFormatter::write_test_discovered(const TestDesc& desc, std::string_view kind_word) {
    return m_out.write_plain(std::string(desc.name.as_slice()) + ": " + std::string(kind_word) + "\n");
}

// The terse listing has no count line.
IoResult<> TerseFormatter::write_discovery_finish(const ConsoleTestDiscoveryState&) { return {}; }

IoResult<> TerseFormatter::write_run_start(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed) {
    m_announced_count = test_count;
    return m_out.write_plain(run_start_line(test_count, shuffle_seed));
}

// Only a padded name (a benchmark) gets its "test NAME ... " prefix when it starts, and
// only when tests run one at a time; ordinary tests are just a mark.
IoResult<> TerseFormatter::write_test_start(const TestDesc& desc) {
    if (!m_multithreaded && desc.name.kind() == TestName::Kind::AlignedName &&
        desc.name.padding() == NamePadding::PadRight) {
        return m_out.write_plain(test_name_prefix(desc, m_name_width));
    }
    return {};
}

IoResult<> TerseFormatter::write_timeout(const TestDesc& desc) { return m_out.write_plain(timeout_line(desc)); }

// One mark; the 87th mark of a line is followed by the progress count. Counters move
// only once the mark is out.
IoResult<> TerseFormatter::write_short_result(std::string_view mark, Colour colour) {
    QUARV_TRY_IO(m_out.write_pretty(mark, colour));
    ++m_done_count;
    ++m_column;
    if (m_column % (marks_per_line + 1) == marks_per_line) return write_progress();
    return {};
}

IoResult<> TerseFormatter::write_progress() {
    QUARV_TRY_IO(m_out.write_plain(" " + std::to_string(m_done_count) + "/" + std::to_string(m_announced_count) + "\n"));
    m_column = 0;
    return {};
}

// A failure closes the current line of marks with its count and stands on its own line.
IoResult<> TerseFormatter::write_failed(const TestDesc& desc) {
    if (m_column != 0) QUARV_TRY_IO(write_progress());
    ++m_done_count;
    QUARV_TRY_IO(m_out.write_plain(std::string(desc.name.as_slice()) + " --- "));
    QUARV_TRY_IO(m_out.write_pretty("FAILED", Red));
    return m_out.write_plain("\n");
}

IoResult<> TerseFormatter::write_result(const TestDesc& desc, const TestResult& result,
                                        const std::optional<TestExecTime>&, std::string_view,
                                        const ConsoleTestState&) {
    switch (result.kind()) {
        case TestResult::Kind::Passed: return write_short_result(".", Green);
        case TestResult::Kind::Ignored: return write_short_result("i", Yellow);
        case TestResult::Kind::Failed:
        case TestResult::Kind::FailedWithMessage:
        case TestResult::Kind::FailedTimeLimit: return write_failed(desc);
        case TestResult::Kind::Benchmarked:
            if (m_multithreaded) QUARV_TRY_IO(m_out.write_plain(test_name_prefix(desc, m_name_width)));
            QUARV_TRY_IO(m_out.write_pretty("bench", Cyan));
            return m_out.write_plain(": " + fmt_bench_samples(result.bench()) + "\n");
    }
    return {};
}

// The summary of the pretty format without the time-limit section, closing the line of
// marks with the newline that opens it; a run of one ignored test with a reason repeats
// the reason at the end.
IoResult<bool> TerseFormatter::write_run_finish(const ConsoleTestState& state) {
    if (state.run_options.show_output) QUARV_TRY_IO(write_results(m_out, state.successes, "successes"));
    bool success = state.failed == 0;
    if (!success) QUARV_TRY_IO(write_results(m_out, state.failures, "failures"));
    QUARV_TRY_IO(write_test_result_line(m_out, state));
    if (m_announced_count == 1 && state.ignored_tests.size() == 1) {
        const TestDesc& ignored = state.ignored_tests.front().first;
        if (ignored.ignore_message) {
            QUARV_TRY_IO(m_out.write_plain("test: " + std::string(ignored.name.as_slice()) +
                                           ", ignore_message: " + *ignored.ignore_message + "\n\n"));
        }
    }
    return success;
}

IoResult<> TerseFormatter::write_merged_doctests_times(double total_time, double compilation_time) {
    return m_out.write_plain(merged_doctests_line(total_time, compilation_time));
}

}  // namespace quarv::detail
