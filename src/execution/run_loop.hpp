// The scheduler of a run.
#pragma once

#include <chrono>
#include <vector>

#include "cli/test_opts.hpp"
#include "execution/test_event.hpp"

namespace quarv::detail {

// How long a test may run before it is reported as long-running (once). Tests shorten it
// so the report can be checked without waiting a minute.
struct LongRunningPolicy {
    std::chrono::nanoseconds interval = std::chrono::seconds(long_running_secs);
};

// Selects, numbers and runs the tests (up to the concurrency at a time), then measures
// the benchmarks one at a time; every step reaches `notify` as an event. Returns the
// first error `notify` returned.
IoResult<> run_tests(const TestOpts& opts, std::vector<TestDescAndFn> tests, const TestEventCallback& notify,
                     LongRunningPolicy long_running = {});

}  // namespace quarv::detail
