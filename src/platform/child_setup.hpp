// Process-level steps of a child that runs one test for a parent runner.
#pragma once

namespace quarv::detail {

// Makes standard output unbuffered, so that everything a test printed reaches the parent
// even when the test then crashes, and removes `names` from the environment, so that
// programs the test starts do not take themselves for children of a runner.
void prepare_child_process(const char* const* names, int count);

// Flush the standard streams and end the child with exit code `code`, or by the abort
// signal. Static destructors are skipped: threads a test left running may still use what
// they would destroy.
[[noreturn]] void exit_child_process(int code);
[[noreturn]] void abort_child_process();

}  // namespace quarv::detail
