// The console run and the listing: the driver's two ways of handling a parsed command line.
#pragma once

#include <vector>

#include "cli/test_opts.hpp"
#include "platform/io_error.hpp"

namespace quarv::detail {

// Runs the tests, printing progress and the summary; true when nothing failed.
IoResult<bool> run_tests_console(const TestOpts& opts, std::vector<TestDescAndFn> tests);

// Lists the selected tests and benchmarks instead of running them.
IoResult<> list_tests_console(const TestOpts& opts, std::vector<TestDescAndFn> tests);

}  // namespace quarv::detail
