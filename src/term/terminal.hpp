// A byte sink that can also set a foreground colour and reset attributes.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/io_error.hpp"

namespace quarv::detail {

class Terminal {
public:
    virtual ~Terminal() = default;
    virtual IoResult<> write_all(std::string_view bytes) = 0;
    virtual IoResult<> flush() = 0;
    // Sets the foreground colour (terminfo numbering: 1 red, 2 green, 3 yellow, 6 cyan).
    // False when this terminal cannot show the colour; nothing is written then.
    virtual IoResult<bool> fg(std::uint32_t colour) = 0;
    // Resets attributes; false when the terminal has no reset sequence.
    virtual IoResult<bool> reset() = 0;
};

}  // namespace quarv::detail
