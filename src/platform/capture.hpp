// Per-thread capture of the standard C++ streams. Assumes nothing replaces the stream
// buffers of std::cout, std::cerr and std::clog after install_stream_capture().
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "quarv/capture.hpp"

namespace quarv {

// A shared, lockable, growable byte buffer that receives a test's output.
class CaptureBuffer {
public:
    void append(std::string_view bytes) {
        std::lock_guard lock(m_mutex);
        m_bytes.append(bytes);
    }
    // A copy of everything captured so far.
    std::string bytes() const {
        std::lock_guard lock(m_mutex);
        return m_bytes;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_bytes;
};

namespace detail {

// Installs `handle` (or nothing, when null) as the calling thread's capture buffer and
// returns the one installed before.
CaptureHandle set_output_capture(CaptureHandle handle);

// Routes std::cout, std::cerr and std::clog through a per-thread switch: a thread with a
// capture buffer writes into it, any other thread writes to the original stream. Idempotent.
void install_stream_capture();

// Installs the failure hook for uncatchable failures (std::terminate): it takes hold of
// stderr and stdout, writes the failing thread's captured bytes to stdout, then hands over
// to the previous handler. remove_failure_hook() restores that previous handler.
void install_failure_hook();
void remove_failure_hook();

}  // namespace detail
}  // namespace quarv
