// The help screen printed for -h / --help.
#pragma once

#include <string>
#include <string_view>

#include "cli/option_table.hpp"

namespace quarv::detail {

// The listing block of one row: name columns, then the description wrapped at 54 bytes and
// indented to column 25. `table_has_short` reserves the short-name column on rows without
// a short name.
std::string option_block(const OptionSpec& row, bool table_has_short);

// "Usage: {program} [OPTIONS] [FILTERS...]", "Options:" and one block per row.
std::string options_listing(std::string_view program_name, const OptionTable& table);

// The whole help screen, ending in one line break.
std::string help_screen(std::string_view program_name, const OptionTable& table);

// Writes help_screen to standard output in one piece and flushes it. A write failure is
// ignored: there is nowhere left to report it.
void usage(std::string_view program_name, const OptionTable& table);

}  // namespace quarv::detail
