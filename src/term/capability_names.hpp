// The capability names of the compiled terminfo format, by position.
//
// A compiled entry stores its booleans, numbers and strings by position only; position i
// of a section is named by entry i of the matching table. Most string capabilities are
// keyed by their short name, some by their long name; the runner itself reads only
// "setaf", "setab", "sgr0", "sgr", "op" and "colors".
#pragma once

#include <array>
#include <string_view>

namespace quarv::detail::term {

extern const std::array<std::string_view, 44> bool_names;
extern const std::array<std::string_view, 39> number_names;
extern const std::array<std::string_view, 414> string_names;

}  // namespace quarv::detail::term
