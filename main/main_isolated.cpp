// main() for test executables linked with quarv::main_isolated: a failing test is taken to
// end its process, so each test runs in a child copy of the executable (unless
// --force-run-in-process is given).
#include "quarv/runner.hpp"

int main(int argc, char** argv) {
    quarv::RunOptions options;
    options.abort_on_panic = true;
    quarv::test_main_static(argc, argv, options);
}
