// The scheduler of a run.
#pragma once

#include <vector>

#include "cli/test_opts.hpp"
#include "execution/test_event.hpp"

namespace quarv::detail {

// Selects, numbers and runs the tests (up to the concurrency at a time), then measures
// the benchmarks one at a time; every step reaches `notify` as an event. Returns the
// first error `notify` returned.
IoResult<> run_tests(const TestOpts& opts, std::vector<TestDescAndFn> tests, const TestEventCallback& notify);

}  // namespace quarv::detail
