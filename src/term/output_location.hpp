// Where a formatter writes: a colour terminal over standard output, or plain standard output.
#pragma once

#include <memory>
#include <string_view>

#include "platform/io_error.hpp"
#include "term/terminal.hpp"

namespace quarv::detail {

class OutputLocation {
public:
    // Writes go to the colour terminal.
    static OutputLocation color_terminal(std::unique_ptr<Terminal> terminal);
    // Writes go to standard output; `locked` holds the stream's lock until destruction
    // (used for a listing).
    static OutputLocation plain_stdout(bool locked = false);
    // The colour terminal for standard output when the environment offers one, else plain.
    static OutputLocation for_stdout(bool locked = false);

    OutputLocation(OutputLocation&&) noexcept;
    OutputLocation& operator=(OutputLocation&&) noexcept;
    ~OutputLocation();

    IoResult<> write_all(std::string_view bytes);
    IoResult<> flush();
    // The terminal, or null for plain output.
    Terminal* terminal() noexcept { return m_terminal.get(); }

private:
    OutputLocation() = default;
    std::unique_ptr<Terminal> m_terminal;
    bool m_locked = false;
};

}  // namespace quarv::detail
