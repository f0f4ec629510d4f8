// The completion channel: many worker threads send finished tests, the run loop receives.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "model/test_result.hpp"

namespace quarv::detail {

class CompletionQueue {
public:
    // False when the receiving side is gone; the message is dropped then.
    bool send(CompletedTest message) {
        {
            std::lock_guard lock(m_mutex);
            if (m_closed) return false;
            m_items.push_back(std::move(message));
        }
        m_ready.notify_one();
        return true;
    }

    CompletedTest recv() {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return !m_items.empty(); });
        return pop_front();
    }

    // Waits at most `timeout`; empty when nothing arrived in time.
    std::optional<CompletedTest> recv_timeout(std::chrono::nanoseconds timeout) {
        std::unique_lock lock(m_mutex);
        if (!m_ready.wait_for(lock, timeout, [&] { return !m_items.empty(); })) return std::nullopt;
        return pop_front();
    }

    // Called when the receiver is released: later sends fail.
    void close() {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_items.clear();
    }

private:
    CompletedTest pop_front() {
        CompletedTest message = std::move(m_items.front());
        m_items.pop_front();
        return message;
    }

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<CompletedTest> m_items;
    bool m_closed = false;
};

// A sending end; copies share the queue.
class CompletionSender {
public:
    explicit CompletionSender(std::shared_ptr<CompletionQueue> queue) : m_queue(std::move(queue)) {}
    // False when the receiver is gone.
    [[nodiscard]] bool send(CompletedTest message) const { return m_queue->send(std::move(message)); }

private:
    std::shared_ptr<CompletionQueue> m_queue;
};

}  // namespace quarv::detail
