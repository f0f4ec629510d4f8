// The terse output: one mark per finished test, 87 marks to a line followed by the
// progress count, a line of its own for each failure and benchmark, then the summary.
#pragma once

#include "formatters/output_formatter.hpp"
#include "formatters/styled_writer.hpp"

namespace quarv::detail {

class TerseFormatter final : public OutputFormatter {
public:
    // Marks on one line before the progress count ends it.
    static constexpr std::size_t marks_per_line = 87;

    TerseFormatter(OutputLocation output, bool use_color, std::size_t name_width, bool multithreaded);

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
    IoResult<> write_short_result(std::string_view mark, Colour colour);
    IoResult<> write_progress();
    IoResult<> write_failed(const TestDesc& desc);

    StyledWriter m_out;
    std::size_t m_name_width;
    bool m_multithreaded;
    std::size_t m_done_count = 0;       // marks and failure lines written
    std::size_t m_column = 0;           // marks on the current line
    std::uint64_t m_announced_count = 0;  // the count given at run start
};

}  // namespace quarv::detail
