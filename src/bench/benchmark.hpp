// Running benchmark bodies: measured (benchmark) or once as a test (run_once).
#pragma once

#include <string>

#include "execution/channel.hpp"
#include "model/runnable.hpp"
#include "model/test_result.hpp"

namespace quarv::detail {

// Runs one benchmark in Sampled mode on the calling thread, capturing its output unless
// `nocapture`, and sends exactly one CompletedTest for it.
void benchmark(TestId id, const TestDesc& desc, CompletionSender sender, bool nocapture, const BenchBody& body);

// Runs a benchmark body once in SingleRun mode. Failures thrown by the body propagate.
Result run_once(const BenchBody& body);

}  // namespace quarv::detail
