// Worker threads: started with a name, joined, and able to tell whether their body ended
// by throwing.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "platform/expected.hpp"

namespace quarv::detail {

class WorkerThread {
public:
    // Starts `body` on a new thread named `name`. A refused start returns the error
    // (std::errc::resource_unavailable_try_again when the system is out of threads for now).
    static Expected<WorkerThread, std::error_code> start(std::string name, std::function<void()> body);

    WorkerThread(WorkerThread&&) noexcept = default;
    WorkerThread& operator=(WorkerThread&&) noexcept = default;
    // A thread that was never joined is detached: its run may still be going on.
    ~WorkerThread();

    // Waits for the thread; true when its body ended by throwing.
    bool join();

private:
    WorkerThread() = default;
    std::thread m_thread;
    std::shared_ptr<bool> m_failed;
};

// The number of hardware threads available to the process; 1 when unknown.
std::size_t available_parallelism();

}  // namespace quarv::detail
