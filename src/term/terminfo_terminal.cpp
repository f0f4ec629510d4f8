#include "term/terminfo_terminal.hpp"

#include "platform/stdout_stream.hpp"

namespace quarv::detail {
namespace term {
namespace {

class StdoutSink final : public TerminalSink {
public:
    IoResult<> write_all(std::string_view bytes) override { return stdout_write_all(bytes); }
    IoResult<> flush() override { return stdout_flush(); }
};

}  // namespace

std::unique_ptr<TerminalSink> stdout_sink() { return std::make_unique<StdoutSink>(); }

std::optional<TerminfoTerminal> TerminfoTerminal::create(std::unique_ptr<TerminalSink> sink, const EnvLookup& env) {
    Expected<TermInfo, Error> entry = TermInfo::from_env(env);
    if (!entry) return std::nullopt;
    return new_with_terminfo(std::move(sink), std::move(entry).value());
}

TerminfoTerminal TerminfoTerminal::new_with_terminfo(std::unique_ptr<TerminalSink> sink, TermInfo entry) {
    std::uint32_t color_count = 0;
    if (entry.string_caps.count("setaf") != 0 && entry.string_caps.count("setab") != 0) {
        auto colors = entry.number_caps.find("colors");
        if (colors != entry.number_caps.end()) color_count = colors->second;
    }
    return TerminfoTerminal(std::move(sink), std::move(entry), color_count);
}

IoResult<> TerminfoTerminal::write_all(std::string_view bytes) { return m_sink->write_all(bytes); }

IoResult<> TerminfoTerminal::flush() { return m_sink->flush(); }

std::uint32_t TerminfoTerminal::dim_if_necessary(std::uint32_t colour) const noexcept {
    if (colour >= m_color_count && colour >= 8 && colour <= 15) return colour - 8;
    return colour;
}

IoResult<bool> TerminfoTerminal::fg(std::uint32_t colour) {
    const std::uint32_t usable = dim_if_necessary(colour);
    if (usable >= m_color_count) return false;
    const Param param = static_cast<Param>(usable);
    return apply_cap("setaf", std::span<const Param>(&param, 1));
}

IoResult<bool> TerminfoTerminal::apply_cap(std::string_view name, std::span<const Param> params) {
    auto cap = m_entry.string_caps.find(std::string(name));
    if (cap == m_entry.string_caps.end()) return false;
    Variables vars;
    Expected<std::string, std::string> bytes = expand(cap->second, params, vars);
    if (!bytes) return unexpected(IoError::custom(IoErrorKind::InvalidData, std::move(bytes).error()));
    QUARV_TRY_IO(m_sink->write_all(*bytes));
    return true;
}

IoResult<bool> TerminfoTerminal::reset() {
    for (const char* name : {"sgr0", "sgr", "op"}) {
        if (m_entry.string_caps.count(name) != 0) return apply_cap(name, {});
    }
    return false;
}

}  // namespace term

std::unique_ptr<Terminal> open_stdout_terminal() {
    std::optional<term::TerminfoTerminal> terminal = term::TerminfoTerminal::create(term::stdout_sink());
    if (!terminal) return nullptr;
    return std::make_unique<term::TerminfoTerminal>(std::move(*terminal));
}

}  // namespace quarv::detail
