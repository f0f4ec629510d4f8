// Assumes the C stdio `stdout` stream is the process's fd 1. Errors are read from errno
// right after the failing call; the stream's error flag is cleared so that a later write
// reports its own failure rather than a stale one.
#include "platform/stdout_stream.hpp"

#include <cerrno>
#include <cstdio>

namespace quarv::detail {

namespace {
IoError last_stdout_error() {
    int code = errno != 0 ? errno : EIO;
    clearerr(stdout);
    return IoError::from_errno(code);
}
}  // namespace

IoResult<> stdout_write_all(std::string_view bytes) {
    if (bytes.empty()) return {};
    errno = 0;
    std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size()) return unexpected(last_stdout_error());
    return {};
}

IoResult<> stdout_flush() {
    errno = 0;
    if (std::fflush(stdout) != 0) return unexpected(last_stdout_error());
    return {};
}

void stdout_use_line_buffering() { std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); }

void stdout_lock() { flockfile(stdout); }
void stdout_unlock() { funlockfile(stdout); }

}  // namespace quarv::detail
