// UTF-8: validation, decoding one character, encoding, and lossy conversion of bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarv::detail {

// The length of the well-formed UTF-8 sequence at the start of `text` (shortest form, no
// surrogates, at most U+10FFFF), storing its code point; 0 when there is none.
std::size_t decode_utf8(std::string_view text, char32_t& code_point) noexcept;

// Whether `bytes` is well-formed UTF-8 throughout.
bool is_valid_utf8(std::string_view bytes) noexcept;

// The byte length of the first character of `text`: its whole sequence when well-formed,
// else 1 (the lone byte stands for itself). `text` must not be empty.
std::size_t first_char_length(std::string_view text) noexcept;

// The code point of the first character (see first_char_length); a byte that does not
// start a well-formed sequence counts as the code point of its value.
char32_t first_code_point(std::string_view text) noexcept;

// The UTF-8 encoding of a code point below U+110000.
std::string encode_utf8(char32_t code_point);

// The bytes as UTF-8 with every maximal invalid subsequence replaced by U+FFFD.
std::string utf8_lossy(std::string_view bytes);

}  // namespace quarv::detail
