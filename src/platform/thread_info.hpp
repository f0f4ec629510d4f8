// The identity of the calling thread as failure reports show it.
#pragma once

#include <string>

namespace quarv::detail {

// Names the calling thread (worker threads take their test's name).
void set_current_thread_name(std::string name);
// The name given with set_current_thread_name; "main" for the process's initial thread;
// "<unnamed>" for any other thread.
std::string current_thread_name();
// The operating system's numeric id of the calling thread.
long current_thread_os_id();

}  // namespace quarv::detail
