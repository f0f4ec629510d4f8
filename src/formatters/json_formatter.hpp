// The JSON event stream: one object per line for every event of a run or a listing.
//
//   { "type": "test", "name": "a::b", "event": "ok", "exec_time": 0.001 }
//
// Keys keep a fixed order and absent optional members leave no trace. Names, messages
// and captured output are decoded as UTF-8 (invalid sequences become U+FFFD) before
// escaping, so every line is valid UTF-8 JSON whatever bytes a test produced.
#pragma once

#include "formatters/output_formatter.hpp"
#include "term/output_location.hpp"

namespace quarv::detail {

class JsonFormatter final : public OutputFormatter {
public:
    explicit JsonFormatter(OutputLocation output) : m_output(std::move(output)) {}

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
    // Hands one complete line (ending in "\n") to the output in a single write, unflushed:
    // standard output is line-buffered, so the line reaches the reader at its newline.
    IoResult<> writeln_message(const std::string& line);

    OutputLocation m_output;
};

}  // namespace quarv::detail
