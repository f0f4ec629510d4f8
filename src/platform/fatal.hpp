// Fatal errors of the runner: reported like an unrecovered failure of the calling thread,
// then the process exits with status 101.
#pragma once

#include <string>

#include "quarv/source_location.hpp"

namespace quarv::detail {

[[noreturn]] void fatal_error(const std::string& message, SourceLocation where = SourceLocation::current());

// Ends the process with `status` after flushing the C streams. When worker threads were
// left running (fail-fast, an output error) static destructors are skipped, since those
// threads may still be using shared state.
[[noreturn]] void exit_process(int status);
// Records that threads of an unfinished run were released while still running.
void note_threads_left_running();

}  // namespace quarv::detail
