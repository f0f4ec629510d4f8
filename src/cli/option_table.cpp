// The option rows and their help texts. Descriptions that span several lines are stored
// with a twelve-space indent on continuation lines; the help listing re-wraps them.
#include "cli/option_table.hpp"

#include <utility>

#include "platform/fatal.hpp"

namespace quarv::detail {

bool OptionSpec::is_well_formed() const noexcept {
    if (short_name.empty() && long_name.empty()) return false;
    if (short_name.size() > 1) return false;
    if (long_name.size() == 1) return false;
    return true;
}

OptionTable& OptionTable::add(OptionSpec row) {
    if (!row.is_well_formed()) {
        fatal_error("malformed option table row: short name `" + row.short_name + "`, long name `" +
                    row.long_name + "`");
    }
    m_rows.push_back(std::move(row));
    return *this;
}

std::size_t OptionTable::find(std::string_view name) const noexcept {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const OptionSpec& row = m_rows[i];
        if (name.size() == 1 ? row.short_name == name : (!name.empty() && row.long_name == name)) return i;
    }
    return m_rows.size();
}

namespace {

OptionSpec flag(std::string short_name, std::string long_name, std::string description) {
    return {std::move(short_name), std::move(long_name), "", std::move(description), ArgumentKind::NoValue,
            Occurrence::AtMostOnce};
}

OptionSpec valued(std::string short_name, std::string long_name, std::string hint, std::string description,
                  Occurrence occurrence = Occurrence::AtMostOnce) {
    return {std::move(short_name), std::move(long_name), std::move(hint), std::move(description),
            ArgumentKind::RequiredValue, occurrence};
}

constexpr const char* color_text =
    "Configure coloring of output:\n"
    "            auto   = colorize if stdout is a tty and tests are run on serially (default);\n"
    "            always = always colorize output;\n"
    "            never  = never colorize output;";

constexpr const char* format_text =
    "Configure formatting of output:\n"
    "            pretty = Print verbose output;\n"
    "            terse  = Display one character per test;\n"
    "            json   = Output a json document;\n"
    "            junit  = Output a JUnit document";

constexpr const char* unstable_text =
    "Enable nightly-only flags:\n"
    "            unstable-options = Allow use of experimental features";

constexpr const char* report_time_text =
    "Show execution time of each test.\n"
    "\n"
    "            Threshold values for colorized output can be configured via\n"
    "            `VESK_TEST_TIME_UNIT`, `VESK_TEST_TIME_INTEGRATION` and\n"
    "            `VESK_TEST_TIME_DOCTEST` environment variables.\n"
    "\n"
    "            Expected format of environment variable is `VARIABLE=WARN_TIME,CRITICAL_TIME`.\n"
    "            Durations must be specified in milliseconds, e.g. `500,2000` means that the warn time\n"
    "            is 0.5 seconds, and the critical time is 2 seconds.\n"
    "\n"
    "            Not available for --format=terse";

constexpr const char* ensure_time_text =
    "Treat excess of the test execution time limit as error.\n"
    "\n"
    "            Threshold values for this option can be configured via\n"
    "            `VESK_TEST_TIME_UNIT`, `VESK_TEST_TIME_INTEGRATION` and\n"
    "            `VESK_TEST_TIME_DOCTEST` environment variables.\n"
    "\n"
    "            Expected format of environment variable is `VARIABLE=WARN_TIME,CRITICAL_TIME`.\n"
    "\n"
    "            `CRITICAL_TIME` here means the limit that should not be exceeded by test.\n"
    "            ";

}  // namespace

OptionTable optgroups() {
    OptionTable table;
    table.add(flag("", "include-ignored", "Run ignored and not ignored tests"))
        .add(flag("", "ignored", "Run only ignored tests"))
        .add(flag("", "force-run-in-process", "Forces tests to run in-process when panic=abort"))
        .add(flag("", "exclude-should-panic", "Excludes tests marked as should_panic"))
        .add(flag("", "test", "Run tests and not benchmarks"))
        .add(flag("", "bench", "Run benchmarks instead of tests"))
        .add(flag("", "list", "List all tests and benchmarks"))
        .add(flag("", "fail-fast", "Don't start new tests after the first failure"))
        .add(flag("h", "help", "Display this message"))
        .add(valued("", "logfile", "PATH", "Write logs to the specified file (deprecated)"))
        .add(flag("", "no-capture", "don't capture stdout/stderr of each task, allow printing directly"))
        .add(valued("", "test-threads", "n_threads", "Number of threads used for running tests in parallel"))
        .add(valued("", "skip", "FILTER",
                    "Skip tests whose names contain FILTER (this flag can be used multiple times)",
                    Occurrence::Repeatable))
        .add(flag("q", "quiet", "Display one character per test instead of one line. Alias to --format=terse"))
        .add(flag("", "exact", "Exactly match filters rather than by substring"))
        .add(valued("", "color", "auto|always|never", color_text))
        .add(valued("", "format", "pretty|terse|json|junit", format_text))
        .add(flag("", "show-output", "Show captured stdout of successful tests"))
        .add(valued("Z", "", "unstable-options", unstable_text))
        .add(flag("", "report-time", report_time_text))
        .add(flag("", "ensure-time", ensure_time_text))
        .add(flag("", "shuffle", "Run tests in random order"))
        .add(valued("", "shuffle-seed", "SEED",
                    "Run tests in random order; seed the random number generator with SEED"));
    return table;
}

OptionTable parsing_optgroups() {
    OptionTable table = optgroups();
    table.add(flag("", "nocapture", "Deprecated, use `--no-capture`"));
    return table;
}

}  // namespace quarv::detail
