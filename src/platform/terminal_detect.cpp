// Terminal detection through isatty on the raw descriptor, independent of any stdio
// buffering or redirection done inside the process.
#include "platform/terminal_detect.hpp"

#include <unistd.h>

namespace quarv::detail {

bool stdout_is_terminal() noexcept { return ::isatty(STDOUT_FILENO) == 1; }

}  // namespace quarv::detail
