// Standard output as the formatters use it: the C stdio stream, so that the runner's own
// lines and whatever tests print through stdio or std::cout keep their relative order.
#pragma once

#include <string_view>

#include "platform/io_error.hpp"

namespace quarv::detail {

// Writes all bytes to stdout; a failed write is returned as the operating-system error.
IoResult<> stdout_write_all(std::string_view bytes);
IoResult<> stdout_flush();
// Makes stdout line-buffered, so that every line reaches a pipe when its newline is written.
void stdout_use_line_buffering();
// Holds and releases the stdout lock (recursive; used for a whole listing).
void stdout_lock();
void stdout_unlock();

}  // namespace quarv::detail
