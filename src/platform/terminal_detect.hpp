// Whether an output stream is an interactive terminal.
#pragma once

namespace quarv::detail {

// True when standard output (file descriptor 1) refers to a terminal.
bool stdout_is_terminal() noexcept;

}  // namespace quarv::detail
