// The default, verbose output: one line per test and a summary.
#pragma once

#include "execution/time_options.hpp"
#include "formatters/output_formatter.hpp"
#include "formatters/styled_writer.hpp"

namespace quarv::detail {

class PrettyFormatter final : public OutputFormatter {
public:
    PrettyFormatter(OutputLocation output, bool use_color, std::size_t name_width, bool multithreaded,
                    std::optional<TestTimeOptions> time_limits);

    IoResult<> write_discovery_start() override;
    IoResult<> write_test_discovered(const TestDesc& desc, std::string_view kind_word) override;
    IoResult<> write_discovery_finish(const ConsoleTestDiscoveryState& state) override;
    IoResult<> write_run_start(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed) override;
    IoResult<> write_test_start(const TestDesc& desc) override;
    IoResult<> write_timeout(const TestDesc& desc) override;
    IoResult<> write_result(const TestDesc& desc, const TestResult& result, const std::optional<TestExecTime>& exec_time,
                            std::string_view captured_output, const ConsoleTestState& state) override;
    IoResult<bool> write_run_finish(const ConsoleTestState& state) override;
    IoResult<> write_merged_doctests_times(double total_time, double compilation_time) override;

private:
    IoResult<> write_test_name(const TestDesc& desc);
    IoResult<> write_time(const TestDesc& desc, const std::optional<TestExecTime>& exec_time);

    StyledWriter m_out;
    std::size_t m_name_width;
    bool m_multithreaded;
    std::optional<TestTimeOptions> m_time_limits;
};

// The run header shared by the text formats: "\nrunning N tests (shuffle seed: S)\n".
std::string run_start_line(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed);
// "test NAME - MODE ... " or "test NAME ... ", the name filled to `name_width` when it pads.
std::string test_name_prefix(const TestDesc& desc, std::size_t name_width);
// "test NAME has been running for over 60 seconds\n".
std::string timeout_line(const TestDesc& desc);
// ". P passed; F failed; I ignored; M measured; X filtered out; finished in T" without the leading word.
std::string summary_counts(const ConsoleTestState& state);
// "\ntest result: ok. ...\n\n" with the word coloured.
IoResult<> write_test_result_line(StyledWriter& out, const ConsoleTestState& state);
// "all doctests ran in ...s; merged doctests compilation took ...s\n".
std::string merged_doctests_line(double total_time, double compilation_time);

}  // namespace quarv::detail
