// The colour terminal: colour counts, bright-colour fallback, the reset order and errors.
#include <quarv/quarv.hpp>

#include <memory>
#include <string>

#include "term/terminfo_terminal.hpp"

namespace term_colour {

using quarv::detail::IoError;
using quarv::detail::IoErrorKind;
using quarv::detail::IoResult;
using quarv::detail::term::msys_terminfo;
using quarv::detail::term::TermInfo;
using quarv::detail::term::TerminalSink;
using quarv::detail::term::TerminfoTerminal;

// Records what the terminal writes; fails every write once `broken` is set.
struct Recording {
    std::string bytes;
    bool broken = false;
};

class RecordingSink final : public TerminalSink {
public:
    explicit RecordingSink(std::shared_ptr<Recording> record) : m_record(std::move(record)) {}
    IoResult<> write_all(std::string_view bytes) override {
        if (m_record->broken) return quarv::detail::unexpected(IoError::from_errno(EPIPE));
        m_record->bytes.append(bytes);
        return {};
    }
    IoResult<> flush() override { return {}; }

private:
    std::shared_ptr<Recording> m_record;
};

struct Fixture {
    std::shared_ptr<Recording> record = std::make_shared<Recording>();
    TerminfoTerminal terminal;

    explicit Fixture(TermInfo entry)
        : terminal(TerminfoTerminal::new_with_terminfo(std::make_unique<RecordingSink>(record), std::move(entry))) {}
};

TermInfo entry_with(std::initializer_list<std::pair<const std::string, std::string>> strings, int colors = -1) {
    TermInfo entry;
    entry.string_caps = strings;
    if (colors >= 0) entry.number_caps["colors"] = static_cast<std::uint32_t>(colors);
    return entry;
}

const std::string kSetaf = "\x1b[%?%p1%{8}%<%t3%p1%d%e38;5;%p1%d%;m";

QUARV_TEST(mintty_entry_writes_green_and_reset) {
    Fixture f(msys_terminfo());
    quarv::assert_eq(f.terminal.color_count(), 8u);
    quarv::assert_true(*f.terminal.fg(2));
    quarv::assert_true(*f.terminal.reset());
    quarv::assert_eq(f.record->bytes, std::string("\x1b[32m\x1b[0m"));
}

QUARV_TEST(colour_count_needs_setaf_and_setab) {
    struct Case {
        TermInfo entry;
        std::uint32_t count;
    };
    Case cases[] = {
        {entry_with({{"setaf", kSetaf}, {"setab", "x"}}, 256), 256},
        {entry_with({{"setaf", kSetaf}}, 256), 0},
        {entry_with({{"setaf", kSetaf}, {"setab", "x"}}), 0},
        {entry_with({{"setf", kSetaf}, {"setb", "x"}}, 8), 0},
    };
    for (Case& c : cases) {
        Fixture f(std::move(c.entry));
        quarv::assert_eq(f.terminal.color_count(), c.count);
    }
}

QUARV_TEST(without_colours_only_the_reset_is_written) {
    Fixture f(entry_with({{"setaf", kSetaf}, {"sgr0", "\x1b[m"}}, 8));
    quarv::assert_eq(*f.terminal.fg(1), false);
    quarv::assert_true(*f.terminal.reset());
    quarv::assert_eq(f.record->bytes, std::string("\x1b[m"));
}

QUARV_TEST(bright_colours_dim_on_small_palettes) {
    Fixture eight(entry_with({{"setaf", kSetaf}, {"setab", "x"}}, 8));
    quarv::assert_eq(eight.terminal.dim_if_necessary(9), 1u);
    quarv::assert_eq(eight.terminal.dim_if_necessary(16), 16u);
    quarv::assert_true(*eight.terminal.fg(9));
    quarv::assert_eq(*eight.terminal.fg(16), false);
    quarv::assert_eq(eight.record->bytes, std::string("\x1b[31m"));

    Fixture sixteen(entry_with({{"setaf", kSetaf}, {"setab", "x"}}, 16));
    quarv::assert_true(*sixteen.terminal.fg(9));
    quarv::assert_eq(sixteen.record->bytes, std::string("\x1b[38;5;9m"));
}

QUARV_TEST(reset_prefers_sgr0_then_sgr_then_op) {
    const std::string sgr = "\x1b[0%?%p1%t;7%;%?%p9%t;X%;m";
    struct Case {
        TermInfo entry;
        std::string written;
        bool wrote;
    };
    Case cases[] = {
        {entry_with({{"sgr0", "A"}, {"sgr", sgr}, {"op", "C"}}), "A", true},
        {entry_with({{"sgr", sgr}, {"op", "C"}}), "\x1b[0m", true},
        {entry_with({{"op", "\x1b[39;49m"}}), "\x1b[39;49m", true},
        {entry_with({{"setaf", kSetaf}}), "", false},
    };
    for (Case& c : cases) {
        Fixture f(std::move(c.entry));
        quarv::assert_eq(*f.terminal.reset(), c.wrote);
        quarv::assert_eq(f.record->bytes, c.written);
    }
}

QUARV_TEST(broken_capabilities_are_invalid_data_and_write_nothing) {
    Fixture f(entry_with({{"setaf", "\x1b[%dm"}, {"setab", "x"}, {"sgr0", "%p1%s"}}, 8));
    auto fg = f.terminal.fg(1);
    quarv::assert_true(!fg);
    quarv::assert_true(fg.error().kind == IoErrorKind::InvalidData);
    quarv::assert_eq(fg.error().text(), std::string("stack is empty"));
    auto reset = f.terminal.reset();
    quarv::assert_eq(reset.error().text(), std::string("non-number on stack with %s"));
    quarv::assert_eq(f.record->bytes, std::string());
    quarv::assert_eq(*f.terminal.apply_cap("bold", {}), false);
}

QUARV_TEST(write_failures_pass_through) {
    Fixture f(msys_terminfo());
    f.record->broken = true;
    quarv::assert_true(f.terminal.fg(2).error().kind == IoErrorKind::BrokenPipe);
    quarv::assert_true(f.terminal.write_all("ok").error().kind == IoErrorKind::BrokenPipe);
}

QUARV_TEST(create_opens_nothing_without_a_term) {
    auto none = TerminfoTerminal::create(std::make_unique<RecordingSink>(std::make_shared<Recording>()),
                                         [](const char*) { return quarv::detail::EnvValue{}; });
    quarv::assert_true(!none.has_value());
}

}  // namespace term_colour
