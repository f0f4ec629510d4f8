// The child side of running tests in child processes.
//
// A runner whose environment holds __VESK_TEST_INVOKE is a child started by a parent
// runner to run one test. It runs the test of exactly that name (an ignore mark does not
// stop it: the parent has decided), measured as a benchmark when
// __VESK_TEST_BENCH_BENCHMARKS is "1" and otherwise, for a benchmark, run once as a test.
// Nothing is captured and no run header or summary is printed: the test writes to the
// child's own standard output and standard error, which the parent collects. The child
// exits with code 50 when the test passed (or was measured) and aborts when it failed; a
// failure with an explanation (a test that should have failed but passed, say) writes the
// explanation to standard error first, and a body that failed abruptly has already written
// its failure report there. A name that matches no test is reported on standard error
// ("error: no test named `{}` in this executable") with exit code 101.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "quarv/test_desc.hpp"

namespace quarv::detail {

// The test this process was started to run, when it was started as a child.
std::optional<std::string> requested_child_test();

// Runs the test named `name` from `tests` and ends the process.
[[noreturn]] void run_child_test(const std::string& name, std::vector<TestDescAndFn> tests);

}  // namespace quarv::detail
