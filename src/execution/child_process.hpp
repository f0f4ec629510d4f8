// The parent side of running a test in a child copy of the executable.
//
// The child is the runner's own program (argv[0] as given; a path without a '/' is found
// through PATH the way the shell found it), started with no arguments, standard input on
// /dev/null, and two variables added to the environment: __VESK_TEST_INVOKE with the
// test's name, and __VESK_TEST_BENCH_BENCHMARKS=1 only when benchmarks are measured (the
// variable is removed otherwise, even when the runner itself was started with it). The
// child exits with 50 when its test passed and aborts when it failed; see child_entry.hpp.
// A runner started with an empty argument vector has no program to start: each test
// then fails with the spawn message, like a program path that does not exist.
#pragma once

#include <string>
#include <string_view>

#include "platform/process.hpp"

namespace quarv::detail {

inline constexpr const char* invoke_env_name = "__VESK_TEST_INVOKE";
inline constexpr const char* bench_env_name = "__VESK_TEST_BENCH_BENCHMARKS";
// The exit code of a child whose test passed.
inline constexpr int child_success_code = 50;

// The command that runs test `name` in a child of `program`.
ProcessCommand child_command(std::string program, std::string_view name, bool nocapture, bool measure_benchmarks);

// Ends `output` with a line feed unless it is empty or already does, then appends
// "---- {name} stderr ----\n": the line between a child's standard output and standard error.
void write_stderr_delimiter(std::string& output, std::string_view name);

}  // namespace quarv::detail
