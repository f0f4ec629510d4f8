// Fatal errors write straight to fd 2 (no stream locks are needed and a captured
// std::cerr cannot swallow the message) and end the process with _exit.
#include "platform/fatal.hpp"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "platform/panic_report.hpp"

namespace quarv::detail {

namespace {
std::atomic<bool> g_threads_left_running{false};

void write_stderr(const std::string& text) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        ssize_t written = ::write(STDERR_FILENO, text.data() + offset, text.size() - offset);
        if (written <= 0) return;
        offset += static_cast<std::size_t>(written);
    }
}
}  // namespace

void fatal_error(const std::string& message, SourceLocation where) {
    std::fflush(stdout);
    write_stderr(panic_report(source_position(where.file, where.line, where.column), message));
    // Other threads may be running; leave static state alone.
    note_threads_left_running();
    exit_process(101);
}

void note_threads_left_running() { g_threads_left_running = true; }

void exit_process(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    if (g_threads_left_running) ::_exit(status);
    std::exit(status);
}

}  // namespace quarv::detail
