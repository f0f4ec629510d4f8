// The interface of the four output formats. Operations are called from the driver
// thread only, in the order a listing or a run produces them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "driver/console_state.hpp"
#include "model/test_result.hpp"
#include "platform/io_error.hpp"

namespace quarv::detail {

class OutputFormatter {
public:
    virtual ~OutputFormatter() = default;
    virtual IoResult<> write_discovery_start() = 0;
    virtual IoResult<> write_test_discovered(const TestDesc& desc, std::string_view kind_word) = 0;
    virtual IoResult<> write_discovery_finish(const ConsoleTestDiscoveryState& state) = 0;
    virtual IoResult<> write_run_start(std::uint64_t test_count, std::optional<std::uint64_t> shuffle_seed) = 0;
    virtual IoResult<> write_test_start(const TestDesc& desc) = 0;
    virtual IoResult<> write_timeout(const TestDesc& desc) = 0;
    // `state` is the run's state before this result was counted.
    virtual IoResult<> write_result(const TestDesc& desc, const TestResult& result,
                                    const std::optional<TestExecTime>& exec_time, std::string_view captured_output,
                                    const ConsoleTestState& state) = 0;
    // Writes the summary; true when the run succeeded (no failures).
    virtual IoResult<bool> write_run_finish(const ConsoleTestState& state) = 0;
    virtual IoResult<> write_merged_doctests_times(double total_time, double compilation_time) = 0;
};

}  // namespace quarv::detail
