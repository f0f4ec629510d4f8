// The colour terminal over standard output, driven by the terminal's terminfo entry.
#pragma once

#include <memory>

#include "term/terminal.hpp"

namespace quarv::detail {

// A terminal for standard output when TERM names a readable terminfo entry; null
// otherwise (every lookup or parse problem silently means plain output).
std::unique_ptr<Terminal> open_stdout_terminal();

}  // namespace quarv::detail
