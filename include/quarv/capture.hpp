// Output capture across threads that a test starts itself.
//
//   quarv::thread worker([] { std::cout << "from a helper thread\n"; });
//   worker.join();   // the line lands in the test's captured output
//
// While a test runs, whatever its thread writes to std::cout, std::cerr and std::clog is
// captured and shown with the test's result. Threads started with plain std::thread write
// to the real streams; start them with quarv::thread (or adopt the capture by hand with
// CaptureScope) to keep their output with the test. Output written through C stdio
// (printf, puts) or straight to file descriptors is never captured in process; the
// isolating mode (quarv::main_isolated) captures everything a test's process writes.
#pragma once

#include <functional>
#include <memory>
#include <thread>
#include <tuple>
#include <type_traits>
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

// std::thread whose thread writes wherever the starting thread's output goes.
class thread : public std::thread {
public:
    thread() noexcept = default;

    template <class F, class... Args,
              class = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<F>, thread> &&
                                       !std::is_same_v<std::remove_cvref_t<F>, std::thread>>>
    explicit thread(F&& f, Args&&... args)
        : std::thread([handle = current_capture(), f = std::decay_t<F>(std::forward<F>(f)),
                       arguments = std::make_tuple(std::decay_t<Args>(std::forward<Args>(args))...)]() mutable {
              CaptureScope scope(handle);
              std::apply(
                  [&](auto&... values) { std::invoke(std::move(f), std::move(values)...); }, arguments);
          }) {}

    thread(thread&&) noexcept = default;
    thread& operator=(thread&&) noexcept = default;
};

}  // namespace quarv
