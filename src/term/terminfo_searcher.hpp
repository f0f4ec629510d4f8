// Finding a terminal's compiled entry in the terminfo database directories.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/env.hpp"

namespace quarv::detail::term {

// The path of the first existing entry for `term`, or nothing.
//
// Directories, in order: TERMINFO (raw bytes); then either the pieces of TERMINFO_DIRS
// (split at ':', an empty piece standing for /usr/share/terminfo) when it is set to valid
// text, or ~/.terminfo, /etc/terminfo, /lib/terminfo, /usr/share/terminfo and
// /boot/system/data/terminfo. A directory that does not exist is skipped. In each,
// <dir>/<first character>/<term> is tried, then <dir>/<hex code point of the first
// character>/<term> (the layout of case-insensitive file systems, e.g. "78" for 'x').
// The first character is one UTF-8 encoded code point; a name that does not start with
// well-formed UTF-8 uses its first byte.
std::optional<std::string> get_dbpath_for_term(std::string_view term, const EnvLookup& env = process_env());

}  // namespace quarv::detail::term
