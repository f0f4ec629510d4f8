// Marking a file as touched: created empty when missing (mode 0666 before the umask), its
// contents left alone when present, its modification time set to now either way.
#pragma once

#include <string>

#include "platform/io_error.hpp"

namespace quarv::detail {

IoResult<> touch_file(const std::string& path);

}  // namespace quarv::detail
