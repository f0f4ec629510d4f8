// File-system access for the terminfo lookup: existence tests, the home directory, and a
// buffered reader over an open file.
//
// Assumes POSIX: stat() follows symbolic links, and the password database is the fallback
// for the home directory when HOME is unset or empty.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/env.hpp"
#include "term/byte_reader.hpp"

namespace quarv::detail::term {

// Whether any file-system entry (file, directory, ...) exists at `path`, links followed.
bool path_exists(const std::string& path);

// HOME when it is set and not empty, else the home directory of the process's user from
// the password database, else nothing.
std::optional<std::string> home_dir(const EnvLookup& env);

// Reads a file through a fixed-size buffer; closes the file when destroyed.
class FileReader final : public ByteReader {
public:
    static constexpr std::size_t buffer_size = 8192;

    // The buffer is allocated first (failing with "failed to allocate read buffer"), then
    // the file is opened (failing with the operating system's error).
    static IoResult<std::unique_ptr<FileReader>> open(const std::string& path);
    ~FileReader() override;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    IoResult<std::size_t> read(char* buffer, std::size_t length) override;

private:
    FileReader(int fd, std::unique_ptr<char[]> buffer) noexcept : m_fd(fd), m_buffer(std::move(buffer)) {}
    int m_fd;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_start = 0;
    std::size_t m_end = 0;
};

}  // namespace quarv::detail::term
