// The configuration of one run, built once from the command line and the environment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "execution/time_options.hpp"
#include "quarv/runner.hpp"

namespace quarv::detail {

enum class RunIgnored { IncludeIgnored, SkipIgnored, OnlyIgnored };
enum class OutputFormat { Pretty, Terse, Json, Junit };
enum class ColorConfig { Auto, Always, Never };

struct TestOpts {
    bool list = false;
    std::vector<std::string> filters;
    bool exact = false;
    std::vector<std::string> skip;
    bool exclude_should_panic = false;
    RunIgnored run_ignored = RunIgnored::SkipIgnored;
    bool execute_tests = true;
    bool measure_benchmarks = false;
    bool force_run_in_process = false;
    bool fail_fast = false;
    std::optional<std::size_t> test_threads;
    bool shuffle = false;
    std::optional<std::uint64_t> shuffle_seed;
    bool nocapture = false;
    std::optional<std::string> logfile;
    ColorConfig color = ColorConfig::Auto;
    OutputFormat format = OutputFormat::Pretty;
    std::optional<TestTimeOptions> time_options;
    RunOptions run_options;

    // Whether human-readable output may use colour: Always, never Never, and Auto only
    // when capture is on and standard output is a terminal.
    bool use_color() const;
};

}  // namespace quarv::detail
