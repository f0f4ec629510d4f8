// A terminal's terminfo entry: its names and boolean, numeric and string capabilities.
//
//   auto entry = term::TermInfo::from_env();          // TERM, the database, the fallback
//   if (entry) use(entry->string_caps["setaf"]);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/env.hpp"
#include "platform/expected.hpp"
#include "term/term_error.hpp"

namespace quarv::detail::term {

struct TermInfo {
    // Names from the entry's names section, in file order.
    std::vector<std::string> term_names;
    // Present booleans; every stored value is true.
    std::unordered_map<std::string, bool> bool_caps;
    std::unordered_map<std::string, std::uint32_t> number_caps;
    // Raw bytes of each string capability, without the terminating NUL.
    std::unordered_map<std::string, std::string> string_caps;

    // The entry of the terminal named by TERM. When TERM names no readable entry and
    // MSYSCON is exactly "mintty.exe", the built-in entry of that console instead.
    static Expected<TermInfo, Error> from_env(const EnvLookup& env = process_env());
    // Searches the database for `name`; IoFailure (NotFound, "terminfo file not found") when
    // no file is found.
    static Expected<TermInfo, Error> from_name(std::string_view name, const EnvLookup& env = process_env());
    // Reads and parses the compiled entry at `path`.
    static Expected<TermInfo, Error> from_path(const std::string& path);
};

// The built-in entry used for the mintty console, which ships no terminfo database:
// 8 colours, "setaf"/"setab" as ESC [3x m / ESC [4x m, "sgr0" and "bold".
TermInfo msys_terminfo();

}  // namespace quarv::detail::term
