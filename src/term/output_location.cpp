#include "term/output_location.hpp"

#include "platform/stdout_stream.hpp"
#include "term/terminfo_terminal.hpp"

namespace quarv::detail {

OutputLocation OutputLocation::color_terminal(std::unique_ptr<Terminal> terminal) {
    OutputLocation location;
    location.m_terminal = std::move(terminal);
    return location;
}

OutputLocation OutputLocation::plain_stdout(bool locked) {
    OutputLocation location;
    location.m_locked = locked;
    if (locked) stdout_lock();
    return location;
}

OutputLocation OutputLocation::for_stdout(bool locked) {
    if (auto terminal = open_stdout_terminal()) return color_terminal(std::move(terminal));
    return plain_stdout(locked);
}

OutputLocation::OutputLocation(OutputLocation&& other) noexcept
    : m_terminal(std::move(other.m_terminal)), m_locked(other.m_locked) {
    other.m_locked = false;
}

OutputLocation& OutputLocation::operator=(OutputLocation&& other) noexcept {
    if (this != &other) {
        if (m_locked) stdout_unlock();
        m_terminal = std::move(other.m_terminal);
        m_locked = other.m_locked;
        other.m_locked = false;
    }
    return *this;
}

OutputLocation::~OutputLocation() {
    if (m_locked) stdout_unlock();
}

IoResult<> OutputLocation::write_all(std::string_view bytes) {
    if (m_terminal) return m_terminal->write_all(bytes);
    return stdout_write_all(bytes);
}

IoResult<> OutputLocation::flush() {
    if (m_terminal) return m_terminal->flush();
    return stdout_flush();
}

}  // namespace quarv::detail
