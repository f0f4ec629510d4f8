// Finding and reading a terminal's entry: directory order, the hexadecimal layout, the
// TERM and MSYSCON rules and the error kinds.
#include <quarv/quarv.hpp>

#include <map>
#include <string>

#include "platform/env.hpp"
#include "term/terminfo.hpp"
#include "term/terminfo_searcher.hpp"
#include "term_entry_builder.hpp"
#include "term_temp_dir.hpp"

namespace term_lookup {

using quarv::detail::EnvLookup;
using quarv::detail::EnvState;
using quarv::detail::EnvValue;
using quarv::detail::IoErrorKind;
using quarv::detail::term::get_dbpath_for_term;
using quarv::detail::term::IoFailure;
using quarv::detail::term::MalformedEntry;
using quarv::detail::term::NoTermVariable;
using quarv::detail::term::TermInfo;
using quarv_test_support::EntryBuilder;
using quarv_test_support::TempDir;

// A fixed environment; every other variable is unset.
EnvLookup fake_env(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) {
        auto found = values.find(name);
        if (found == values.end()) return EnvValue{};
        EnvState state = quarv::detail::is_valid_utf8(found->second) ? EnvState::Text : EnvState::NotText;
        return EnvValue{state, found->second};
    };
}

std::string entry_named(const std::string& name) {
    EntryBuilder entry;
    entry.names = name;
    return entry.bytes();
}

std::string found(const std::string& term, const EnvLookup& env) {
    return get_dbpath_for_term(term, env).value_or("<none>");
}

QUARV_TEST(searches_terminfo_then_the_listed_directories_in_order) {
    TempDir tmp;
    const std::string a = tmp.path() + "/a", b = tmp.path() + "/b", c = tmp.path() + "/c";
    tmp.write("b/x/xfix", entry_named("in b"));
    tmp.write("c/x/xfix", entry_named("in c"));
    quarv::assert_eq(found("xfix", fake_env({{"TERMINFO_DIRS", a + ":" + b + ":" + c}})), b + "/x/xfix");
    quarv::assert_eq(found("xfix", fake_env({{"TERMINFO", c}, {"TERMINFO_DIRS", b}})), c + "/x/xfix");
    quarv::assert_eq(found("", fake_env({{"TERMINFO", c}})), std::string("<none>"));
}

QUARV_TEST(listed_directories_replace_the_home_and_system_directories) {
    TempDir tmp;
    tmp.write("home/.terminfo/q/quarv-home-only", entry_named("home"));
    const std::string home = tmp.path() + "/home";
    const std::string expected = home + "/.terminfo/q/quarv-home-only";
    quarv::assert_eq(found("quarv-home-only", fake_env({{"HOME", home}})), expected);
    quarv::assert_eq(found("quarv-home-only", fake_env({{"HOME", home}, {"TERMINFO_DIRS", tmp.path() + ":"}})),
                     std::string("<none>"));
    // A list that is not valid UTF-8 is ignored and the usual directories apply.
    quarv::assert_eq(found("quarv-home-only", fake_env({{"HOME", home}, {"TERMINFO_DIRS", "/nowhere\xff"}})), expected);
}

QUARV_TEST(falls_back_to_the_hexadecimal_directory) {
    TempDir tmp;
    const std::string dirs = tmp.path();
    tmp.write("78/xfix", entry_named("hex"));
    quarv::assert_eq(found("xfix", fake_env({{"TERMINFO", dirs}})), dirs + "/78/xfix");
    tmp.write("x/xfix", entry_named("letter"));
    quarv::assert_eq(found("xfix", fake_env({{"TERMINFO", dirs}})), dirs + "/x/xfix");
    // The first character is a whole code point: U+00E9 is "e9" in the hexadecimal layout.
    tmp.write("e9/\xc3\xa9term", entry_named("accent"));
    quarv::assert_eq(found("\xc3\xa9term", fake_env({{"TERMINFO", dirs}})), dirs + "/e9/\xc3\xa9term");
    tmp.write("\xc3\xa9/\xc3\xa9term", entry_named("accent"));
    quarv::assert_eq(found("\xc3\xa9term", fake_env({{"TERMINFO", dirs}})), dirs + "/\xc3\xa9/\xc3\xa9term");
}

QUARV_TEST(terminfo_is_taken_as_raw_bytes) {
    TempDir tmp;
    const std::string raw = tmp.path() + "/db\xff";
    tmp.write("db\xff/x/xfix", entry_named("raw"));
    quarv::assert_eq(found("xfix", fake_env({{"TERMINFO", raw}, {"TERMINFO_DIRS", tmp.path()}})), raw + "/x/xfix");
}

QUARV_TEST(from_env_needs_a_text_term_and_falls_back_only_for_mintty) {
    TempDir tmp;
    tmp.write("x/xfix", entry_named("xfix|fixture"));
    const std::string dirs = tmp.path();

    auto no_term = TermInfo::from_env(fake_env({{"MSYSCON", "mintty.exe"}, {"TERMINFO_DIRS", dirs}}));
    quarv::assert_true(!no_term && no_term.error().is<NoTermVariable>());
    auto bad_term = TermInfo::from_env(fake_env({{"TERM", "x\xff"}, {"TERMINFO_DIRS", dirs}}));
    quarv::assert_true(!bad_term && bad_term.error().is<NoTermVariable>());

    auto fixture = TermInfo::from_env(fake_env({{"TERM", "xfix"}, {"TERMINFO_DIRS", dirs}}));
    quarv::assert_true(fixture.has_value());
    quarv::assert_eq(fixture->term_names, std::vector<std::string>{"xfix", "fixture"});

    auto missing = TermInfo::from_env(fake_env({{"TERM", "xterm"}, {"TERMINFO_DIRS", dirs}}));
    quarv::assert_true(!missing);
    const IoFailure* io = missing.error().get_if<IoFailure>();
    quarv::assert_true(io != nullptr && io->error.kind == IoErrorKind::NotFound);
    quarv::assert_eq(io->error.text(), std::string("terminfo file not found"));

    auto mintty = TermInfo::from_env(fake_env({{"TERM", "xterm"}, {"TERMINFO_DIRS", dirs}, {"MSYSCON", "mintty.exe"}}));
    quarv::assert_true(mintty.has_value());
    quarv::assert_eq(mintty->term_names, std::vector<std::string>{"cygwin"});
    quarv::assert_eq(mintty->number_caps.at("colors"), 8u);
    quarv::assert_eq(mintty->string_caps.at("setaf"), std::string("\x1b[3%p1%dm"));

    auto other_console = TermInfo::from_env(fake_env({{"TERM", "xterm"}, {"TERMINFO_DIRS", dirs}, {"MSYSCON", "mintty"}}));
    quarv::assert_true(!other_console);
}

QUARV_TEST(from_path_reports_open_and_parse_failures) {
    TempDir tmp;
    auto missing = TermInfo::from_path(tmp.path() + "/nothing");
    quarv::assert_true(!missing && missing.error().get_if<IoFailure>()->error.kind == IoErrorKind::NotFound);

    EntryBuilder broken;
    broken.bools_count = 45;
    auto malformed = TermInfo::from_path(tmp.write("broken", broken.bytes()));
    quarv::assert_true(!malformed);
    quarv::assert_eq(malformed.error().get_if<MalformedEntry>()->message,
                     std::string("incompatible file: more booleans than expected"));

    // Reading a directory fails inside the parser, with the operating system's message.
    auto directory = TermInfo::from_path(tmp.path());
    quarv::assert_true(!directory && directory.error().is<MalformedEntry>());
}

QUARV_TEST(reads_an_entry_larger_than_the_read_buffer) {
    TempDir tmp;
    EntryBuilder entry;
    entry.offsets = {0, 9001};
    entry.table = std::string(9000, 'a') + '\0' + "tail" + '\0';
    auto info = TermInfo::from_path(tmp.write("big", entry.bytes()));
    quarv::assert_true(info.has_value(), info ? "" : info.error().describe());
    quarv::assert_eq(info->string_caps.at("cbt").size(), 9000u);
    quarv::assert_eq(info->string_caps.at("bell"), std::string("tail"));
}

}  // namespace term_lookup
