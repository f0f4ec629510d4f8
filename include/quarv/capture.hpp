// Output capture across threads that a test starts itself.
//
//   std::thread worker = quarv::spawn_captured([] { std::cout << "from a helper thread\n"; });
//   worker.join();   // the line lands in the test's captured output
//
// While a test runs, whatever its thread writes to std::cout, std::cerr and std::clog is
// captured and shown with the test's result. Threads started with plain std::thread write
// to the real streams; start them with spawn_captured (or adopt the capture by hand with
// CaptureScope) to keep their output with the test. Output written through C stdio
// (printf, puts) or straight to file descriptors is never captured in process; the
// isolating mode (quarv::main_isolated) captures everything a test's process writes.
#pragma once

#include <memory>
#include <thread>
#include <utility>

namespace quarv {

class CaptureBuffer;
using CaptureHandle = std::shared_ptr<CaptureBuffer>;

// The calling thread's capture buffer, or null when its output is not captured.
CaptureHandle current_capture();

// Installs a capture buffer on the calling thread for the scope's lifetime and restores
// the previous one afterwards.
class CaptureScope {
public:
    explicit CaptureScope(CaptureHandle handle);
    ~CaptureScope();
    CaptureScope(const CaptureScope&) = delete;
    CaptureScope& operator=(const CaptureScope&) = delete;

private:
    CaptureHandle m_previous;
};

// std::thread whose output goes wherever the starting thread's output goes.
template <class F>
std::thread spawn_captured(F&& body) {
    return std::thread([handle = current_capture(), body = std::forward<F>(body)]() mutable {
        CaptureScope scope(handle);
        body();
    });
}

}  // namespace quarv
