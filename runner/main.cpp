// The runner with an empty registry: announces zero tests and passes. Every option of the
// runner works on it (listing, formats, help), which makes it the reference for the
// runner's behaviour without any test code.
#include <vector>

#include "quarv/runner.hpp"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    quarv::test_main(args, {}, std::nullopt);
    return 0;
}
