// Writing text pieces for the human-readable formats: every piece is flushed at once so
// progress shows, and a coloured word is wrapped in the terminal's colour and reset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/console_state.hpp"
#include "platform/utf8.hpp"
#include "term/output_location.hpp"

namespace quarv::detail {

enum Colour : std::uint32_t { Red = 1, Green = 2, Yellow = 3, Cyan = 6 };

class StyledWriter {
public:
    StyledWriter(OutputLocation output, bool use_color) : m_output(std::move(output)), m_use_color(use_color) {}

    // Writes the text and flushes.
    IoResult<> write_plain(std::string_view text);
    // Writes the word in `colour` when colour is wanted and the output is a terminal.
    IoResult<> write_pretty(std::string_view word, Colour colour);
    bool use_color() const noexcept { return m_use_color; }

private:
    OutputLocation m_output;
    bool m_use_color;
};

// "1 test" / "2 tests".
std::string plural(std::size_t count, std::string_view word);

// A results section ("failures", "successes", ...): the captured outputs in arrival
// order, then the names sorted by bytes.
IoResult<> write_results(StyledWriter& out, const std::vector<FinishedTest>& list, std::string_view section);

}  // namespace quarv::detail
