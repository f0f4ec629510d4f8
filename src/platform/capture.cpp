// Output capture for the C++ standard streams. The streams' buffers are replaced once by
// a dispatcher that looks at a thread-local handle on every write; the dispatcher keeps no
// buffer of its own, so uncaptured output reaches the original stream at once. The
// dispatchers are never destroyed: threads that outlive main may still write through them.
#include "platform/capture.hpp"

#include <cstdio>
#include <exception>
#include <iostream>
#include <streambuf>

namespace quarv {

namespace {

thread_local CaptureHandle t_capture;

class ThreadRoutedBuf final : public std::streambuf {
public:
    explicit ThreadRoutedBuf(std::streambuf* original) : m_original(original) {}

protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override {
        if (CaptureBuffer* buffer = t_capture.get()) {
            buffer->append(std::string_view(data, static_cast<std::size_t>(count)));
            return count;
        }
        return m_original->sputn(data, count);
    }

    int_type overflow(int_type ch) override {
        if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
        char c = traits_type::to_char_type(ch);
        return xsputn(&c, 1) == 1 ? ch : traits_type::eof();
    }

    int sync() override { return t_capture ? 0 : m_original->pubsync(); }

private:
    std::streambuf* m_original;
};

std::terminate_handler g_previous_terminate = nullptr;
bool g_hook_installed = false;

[[noreturn]] void terminate_with_captured_output() {
    // Held until the process ends, so no other thread's output interleaves.
    flockfile(stderr);
    flockfile(stdout);
    CaptureHandle captured = detail::set_output_capture(nullptr);
    if (captured) {
        std::string bytes = captured->bytes();
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        std::fflush(stdout);
    }
    if (g_previous_terminate) g_previous_terminate();
    std::abort();
}

}  // namespace

CaptureHandle current_capture() { return t_capture; }

CaptureScope::CaptureScope(CaptureHandle handle) : m_previous(detail::set_output_capture(std::move(handle))) {}
CaptureScope::~CaptureScope() { detail::set_output_capture(std::move(m_previous)); }

namespace detail {

CaptureHandle set_output_capture(CaptureHandle handle) {
    CaptureHandle previous = std::move(t_capture);
    t_capture = std::move(handle);
    return previous;
}

void install_stream_capture() {
    static const bool installed = [] {
        for (std::ostream* stream : {static_cast<std::ostream*>(&std::cout), static_cast<std::ostream*>(&std::cerr),
                                     static_cast<std::ostream*>(&std::clog)}) {
            stream->rdbuf(new ThreadRoutedBuf(stream->rdbuf()));
        }
        return true;
    }();
    (void)installed;
}

void install_failure_hook() {
    if (g_hook_installed) return;
    g_previous_terminate = std::set_terminate(terminate_with_captured_output);
    g_hook_installed = true;
}

void remove_failure_hook() {
    if (!g_hook_installed) return;
    std::set_terminate(g_previous_terminate);
    g_hook_installed = false;
}

}  // namespace detail
}  // namespace quarv
