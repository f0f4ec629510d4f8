// Log files are written with plain POSIX calls: created with mode 0666 (the process's
// umask applies), truncated when they exist, written with retries on short writes and EINTR.
#include "platform/log_file.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quarv::detail {

IoResult<LogFile> LogFile::create(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return unexpected(IoError::from_errno(errno));
    return LogFile(fd);
}

LogFile& LogFile::operator=(LogFile&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

LogFile::~LogFile() {
    if (m_fd >= 0) ::close(m_fd);
}

IoResult<> LogFile::write_all(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return unexpected(IoError::from_errno(errno));
        }
        if (written == 0) return unexpected(IoError::custom(IoErrorKind::WriteZero, "failed to write whole buffer"));
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

}  // namespace quarv::detail
