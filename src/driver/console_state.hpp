// Bookkeeping of a console run and of a listing: counters, finished tests, log file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/metric_map.hpp"
#include "cli/test_opts.hpp"
#include "model/test_result.hpp"
#include "platform/log_file.hpp"

namespace quarv::detail {

using FinishedTest = std::pair<TestDesc, std::string>;  // descriptor, captured output

struct ConsoleTestState {
    std::optional<LogFile> log_file;
    std::size_t total = 0;
    std::size_t passed = 0;
    std::size_t failed = 0;
    std::size_t ignored = 0;
    std::size_t filtered_out = 0;
    std::size_t measured = 0;
    std::optional<TestSuiteExecTime> exec_time;
    MetricMap metrics;
    std::vector<FinishedTest> successes;
    std::vector<FinishedTest> failures;
    std::vector<FinishedTest> ignored_tests;
    std::vector<FinishedTest> time_failures;
    RunOptions run_options;

    static IoResult<ConsoleTestState> create(const TestOpts& opts);
    std::size_t current_test_count() const { return passed + failed + ignored + measured; }
};

struct ConsoleTestDiscoveryState {
    std::optional<LogFile> log_file;
    std::size_t tests = 0;
    std::size_t benchmarks = 0;
    std::size_t ignored = 0;

    static IoResult<ConsoleTestDiscoveryState> create(const TestOpts& opts);
};

}  // namespace quarv::detail
