// Linux thread identity: gettid() for the numeric id; the initial thread is the one whose
// id equals the process id.
#include "platform/thread_info.hpp"

#include <optional>
#include <sys/syscall.h>
#include <unistd.h>

namespace quarv::detail {

namespace {
thread_local std::optional<std::string> t_name;
}

void set_current_thread_name(std::string name) { t_name = std::move(name); }

std::string current_thread_name() {
    if (t_name) return *t_name;
    if (current_thread_os_id() == static_cast<long>(::getpid())) return "main";
    return "<unnamed>";
}

long current_thread_os_id() { return static_cast<long>(::syscall(SYS_gettid)); }

}  // namespace quarv::detail
