// Threads are std::thread with the default stack size. The name is kept in the thread's
// own record (for failure reports); the kernel's 15-byte thread name is set as well so
// debuggers show which test a thread runs.
#include "platform/worker_thread.hpp"

#include <pthread.h>
#include <sched.h>

#include "platform/fatal.hpp"
#include "platform/thread_info.hpp"

namespace quarv::detail {

Expected<WorkerThread, std::error_code> WorkerThread::start(std::string name, std::function<void()> body) {
    WorkerThread worker;
    worker.m_failed = std::make_shared<bool>(false);
    try {
        worker.m_thread = std::thread([name = std::move(name), body = std::move(body), failed = worker.m_failed]() mutable {
            std::string short_name = name.substr(0, 15);
            pthread_setname_np(pthread_self(), short_name.c_str());
            set_current_thread_name(std::move(name));
            try {
                body();
            } catch (...) {
                *failed = true;
            }
        });
    } catch (const std::system_error& error) {
        return unexpected(error.code());
    }
    return worker;
}

WorkerThread::~WorkerThread() {
    if (m_thread.joinable()) {
        note_threads_left_running();
        m_thread.detach();
    }
}

bool WorkerThread::join() {
    if (m_thread.joinable()) m_thread.join();
    return m_failed && *m_failed;
}

std::size_t available_parallelism() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        int count = CPU_COUNT(&set);
        if (count > 0) return static_cast<std::size_t>(count);
    }
    unsigned hardware = std::thread::hardware_concurrency();
    return hardware == 0 ? 1 : hardware;
}

}  // namespace quarv::detail
