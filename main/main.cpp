// main() for test executables linked with quarv::main: runs the registered tests in process.
#include "quarv/runner.hpp"

int main(int argc, char** argv) { quarv::test_main_static(argc, argv); }
