// Assumes it runs on the child's main thread before any test thread has started, so the
// environment can be changed without racing readers.
#include "platform/child_setup.hpp"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace quarv::detail {

void prepare_child_process(const char* const* names, int count) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    for (int i = 0; i < count; ++i) ::unsetenv(names[i]);
}

namespace {
void flush_streams() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
}
}  // namespace

void exit_child_process(int code) {
    flush_streams();
    ::_exit(code);
}

void abort_child_process() {
    flush_streams();
    std::abort();
}

}  // namespace quarv::detail
