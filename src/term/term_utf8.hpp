// UTF-8 helpers for terminal names and parameter-language messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarv::detail::term {

// The byte length of the first character of `text`: the whole encoded code point when it
// starts with a well-formed UTF-8 sequence, else 1 (the lone byte stands for itself).
// `text` must not be empty.
std::size_t first_char_length(std::string_view text) noexcept;

// The code point of the first character of `text` (see first_char_length); a byte that
// does not start a well-formed sequence counts as the code point of its value.
char32_t first_code_point(std::string_view text) noexcept;

// The UTF-8 encoding of a code point below U+110000.
std::string encode_utf8(char32_t code_point);

}  // namespace quarv::detail::term
