// A scratch directory for the terminal tests, removed with everything in it at scope exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace quarv_test_support {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quarv-term-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }

    // Writes `bytes` to the file at `relative`, creating directories on the way.
    std::string write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::path full = std::filesystem::path(m_path) / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary) << bytes;
        return full.string();
    }

private:
    std::string m_path;
};

}  // namespace quarv_test_support
