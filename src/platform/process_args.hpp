// The argument vector the process was started with, as the operating system passed it.
#pragma once

#include <string>
#include <vector>

namespace quarv::detail {

// argv of the running process, argv[0] (the path the program was started by) first. Empty
// when the process was started with no arguments at all.
std::vector<std::string> process_args();

}  // namespace quarv::detail
