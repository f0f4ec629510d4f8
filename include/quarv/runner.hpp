// Entry points of the runner. Most programs link quarv::main, which provides main();
// a program with its own main() calls test_main_static (registered tests) or test_main
// (a list it built itself).
//
//   int main(int argc, char** argv) { return quarv::test_main_static(argc, argv); }
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quarv/test_desc.hpp"

namespace quarv {

// Two run settings an embedding entry may supply as a unit.
struct RunOptions {
    // Print the captured output of passing tests as well.
    bool show_output = false;
    // A failing test ends its whole process, so each test runs in a child copy of the
    // executable (unless --force-run-in-process is given).
    bool abort_on_panic = false;
};

// Runs the registered tests (sorted by name) with the process arguments and exits the
// process: status 0 when nothing failed, 101 otherwise. In a child started by the
// isolating mode it runs the one requested test instead.
[[noreturn]] void test_main_static(int argc, char** argv, std::optional<RunOptions> options = std::nullopt);

// The driver: parses the arguments, lists or runs `tests`, and exits with 101 on any
// failure. Returns normally after --help, a listing, or a successful run.
void test_main(const std::vector<std::string>& args, std::vector<TestDescAndFn> tests,
               std::optional<RunOptions> options);

// test_main, calling `exit_callback` once after a run and before the exit status is decided.
void test_main_with_exit_callback(const std::vector<std::string>& args, std::vector<TestDescAndFn> tests,
                                  std::optional<RunOptions> options, const std::function<void()>& exit_callback);

}  // namespace quarv
