// Running one test: ignored, measured as a benchmark, or on a worker thread of its own.
#pragma once

#include <optional>

#include "cli/test_opts.hpp"
#include "execution/channel.hpp"
#include "model/runnable.hpp"
#include "platform/worker_thread.hpp"

namespace quarv::detail {

enum class ExecutionMode { InProcess, ChildProcess };

// Starts one test and returns its worker thread when one was started. Exactly one
// CompletedTest for the test is sent on `sender`, now or later.
std::optional<WorkerThread> run_test(const TestOpts& opts, bool force_ignore, TestId id, TestDescAndFn test,
                                     ExecutionMode mode, CompletionSender sender);

// Runs a test body on the calling thread with its output captured (unless `nocapture`)
// and sends its CompletedTest.
void run_test_in_process(TestId id, const TestDesc& desc, bool nocapture, RunnableTest runnable,
                         const CompletionSender& sender, const std::optional<TestTimeOptions>& time_options);

// Runs a test in a child copy of the executable and sends its CompletedTest.
void spawn_test_subprocess(TestId id, const TestDesc& desc, bool nocapture, const CompletionSender& sender,
                           const std::optional<TestTimeOptions>& time_options, bool measure_benchmarks);

}  // namespace quarv::detail
