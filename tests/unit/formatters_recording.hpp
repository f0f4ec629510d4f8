// A terminal that records what formatters write, for the formatter tests. Colour changes
// appear in the text as "<fg N>" and "<reset>"; flushes are counted; writes can be made
// to fail from a given write on.
#pragma once

#include <cerrno>
#include <memory>
#include <string>

#include "term/output_location.hpp"

namespace formatters_support {

struct Record {
    std::string text;
    std::size_t writes = 0;
    std::size_t flushes = 0;
    std::size_t fail_from_write = static_cast<std::size_t>(-1);  // index of the first failing write
};

class RecordingTerminal final : public quarv::detail::Terminal {
public:
    explicit RecordingTerminal(std::shared_ptr<Record> record) : m_record(std::move(record)) {}
    quarv::detail::IoResult<> write_all(std::string_view bytes) override {
        if (m_record->writes++ >= m_record->fail_from_write) {
            return quarv::detail::unexpected(quarv::detail::IoError::from_errno(EPIPE));
        }
        m_record->text.append(bytes);
        return {};
    }
    quarv::detail::IoResult<> flush() override {
        ++m_record->flushes;
        return {};
    }
    quarv::detail::IoResult<bool> fg(std::uint32_t colour) override {
        m_record->text += "<fg " + std::to_string(colour) + ">";
        return true;
    }
    quarv::detail::IoResult<bool> reset() override {
        m_record->text += "<reset>";
        return true;
    }

private:
    std::shared_ptr<Record> m_record;
};

inline quarv::detail::OutputLocation recording_location(const std::shared_ptr<Record>& record) {
    return quarv::detail::OutputLocation::color_terminal(std::make_unique<RecordingTerminal>(record));
}

}  // namespace formatters_support
