#include "term/terminfo_file.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

namespace quarv::detail::term {

bool path_exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::optional<std::string> home_dir(const EnvLookup& env) {
    EnvValue home = env("HOME");
    if (home.is_set() && !home.value.empty()) return home.value;

    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
    for (;;) {
        struct passwd entry;
        struct passwd* found = nullptr;
        int rc = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
        if (rc == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (rc != 0 || found == nullptr || found->pw_dir == nullptr) return std::nullopt;
        return std::string(found->pw_dir);
    }
}

IoResult<std::unique_ptr<FileReader>> FileReader::open(const std::string& path) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[buffer_size]);
    if (!buffer) return unexpected(IoError::custom(IoErrorKind::OutOfMemory, "failed to allocate read buffer"));
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return unexpected(IoError::from_errno(errno));
    return std::unique_ptr<FileReader>(new FileReader(fd, std::move(buffer)));
}

FileReader::~FileReader() { ::close(m_fd); }

// Serves reads from the buffer, refilling it with one read() when it is empty. A request
// at least as large as the buffer bypasses it.
IoResult<std::size_t> FileReader::read(char* out, std::size_t length) {
    if (length == 0) return std::size_t{0};
    if (m_start == m_end) {
        if (length >= buffer_size) {
            ssize_t got = ::read(m_fd, out, length);
            if (got < 0) return unexpected(IoError::from_errno(errno));
            return static_cast<std::size_t>(got);
        }
        ssize_t got = ::read(m_fd, m_buffer.get(), buffer_size);
        if (got < 0) return unexpected(IoError::from_errno(errno));
        m_start = 0;
        m_end = static_cast<std::size_t>(got);
        if (m_end == 0) return std::size_t{0};
    }
    const std::size_t count = std::min(length, m_end - m_start);
    std::memcpy(out, m_buffer.get() + m_start, count);
    m_start += count;
    return count;
}

}  // namespace quarv::detail::term
