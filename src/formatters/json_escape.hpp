// Escaping text for a JSON string value.
#pragma once

#include <string>
#include <string_view>

namespace quarv::detail {

// Appends `text` to `out` with the bytes JSON does not allow raw in a string escaped:
// '"' and '\\' with a backslash, 0x08 0x09 0x0A 0x0C 0x0D as \b \t \n \f \r, the other
// control bytes and 0x7F as \u00XX (lower-case hex). Every other byte, including "/"
// and the bytes of multi-byte UTF-8 characters, is copied unchanged.
void append_json_escaped(std::string& out, std::string_view text);

// The escaped text as a new string.
std::string json_escaped(std::string_view text);

}  // namespace quarv::detail
