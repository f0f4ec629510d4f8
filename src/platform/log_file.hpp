// A log file created (or truncated) for writing with mode 0666 before the umask.
#pragma once

#include <string>
#include <string_view>

#include "platform/io_error.hpp"

namespace quarv::detail {

class LogFile {
public:
    static IoResult<LogFile> create(const std::string& path);
    LogFile(LogFile&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    LogFile& operator=(LogFile&& other) noexcept;
    LogFile(const LogFile&) = delete;
    ~LogFile();

    IoResult<> write_all(std::string_view bytes);

private:
    explicit LogFile(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

}  // namespace quarv::detail
