// The colour terminal over standard output, driven by the terminal's terminfo entry.
//
//   auto terminal = open_stdout_terminal();      // null: no usable entry, write plain
//   if (terminal) { terminal->fg(2); terminal->write_all("ok"); terminal->reset(); }
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "term/parm.hpp"
#include "term/terminal.hpp"
#include "term/terminfo.hpp"

namespace quarv::detail {

// A terminal for standard output when TERM names a readable terminfo entry; null
// otherwise (every lookup or parse problem silently means plain output).
std::unique_ptr<Terminal> open_stdout_terminal();

namespace term {

// Where a terminal's bytes go. The real one is standard output through the same stdio
// path as plain output, so coloured and plain writes keep their order.
class TerminalSink {
public:
    virtual ~TerminalSink() = default;
    virtual IoResult<> write_all(std::string_view bytes) = 0;
    virtual IoResult<> flush() = 0;
};

std::unique_ptr<TerminalSink> stdout_sink();

// A Terminal that expands the entry's "setaf" for colours and "sgr0" (or "sgr", or "op")
// for reset. It keeps no state between calls: every expansion starts from fresh variables.
class TerminfoTerminal final : public Terminal {
public:
    // The terminal for TERM's entry (see TermInfo::from_env), or nothing when there is none.
    static std::optional<TerminfoTerminal> create(std::unique_ptr<TerminalSink> sink,
                                                  const EnvLookup& env = process_env());
    // Colours are usable only when the entry has both "setaf" and "setab"; their number is
    // then the entry's "colors" (0 when absent). "setf"/"setb" are never used.
    static TerminfoTerminal new_with_terminfo(std::unique_ptr<TerminalSink> sink, TermInfo entry);

    IoResult<> write_all(std::string_view bytes) override;
    IoResult<> flush() override;
    // Writes "setaf" for the colour (bright colours 8-15 fall back to 0-7 on terminals with
    // fewer colours); false, writing nothing, when the terminal cannot show it.
    IoResult<bool> fg(std::uint32_t colour) override;
    // Writes the first of "sgr0", "sgr", "op" the entry has; false when it has none.
    IoResult<bool> reset() override;

    // Expands the string capability `name` with `params` and writes it. False when the
    // entry lacks the capability; an expansion failure is an InvalidData error carrying
    // the expansion's message, and nothing is written then.
    IoResult<bool> apply_cap(std::string_view name, std::span<const Param> params);
    std::uint32_t dim_if_necessary(std::uint32_t colour) const noexcept;
    std::uint32_t color_count() const noexcept { return m_color_count; }
    const TermInfo& entry() const noexcept { return m_entry; }

private:
    TerminfoTerminal(std::unique_ptr<TerminalSink> sink, TermInfo entry, std::uint32_t color_count)
        : m_color_count(color_count), m_entry(std::move(entry)), m_sink(std::move(sink)) {}

    std::uint32_t m_color_count;
    TermInfo m_entry;
    std::unique_ptr<TerminalSink> m_sink;
};

}  // namespace term
}  // namespace quarv::detail
