#include "platform/touch_file.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarv::detail {

IoResult<> touch_file(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return unexpected(IoError::from_errno(errno));
    // A null time list means "now" for both timestamps.
    int stamped = ::futimens(fd, nullptr);
    int stamp_error = errno;
    ::close(fd);
    if (stamped != 0) return unexpected(IoError::from_errno(stamp_error));
    return {};
}

}  // namespace quarv::detail
