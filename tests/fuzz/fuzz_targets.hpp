// Fuzz targets: each takes one input and must return 0 without crashing or tripping a
// sanitizer, whatever the bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quarv_fuzz {

// The input is a compiled terminfo entry. A parsed entry also drives a colour terminal
// (every colour and the reset) so its capability strings get expanded.
int terminfo_parse(const std::uint8_t* data, std::size_t size);

// The first byte gives the number of parameters (modulo 10), then 4 little-endian bytes
// per parameter, then the capability string.
int terminfo_expand(const std::uint8_t* data, std::size_t size);

}  // namespace quarv_fuzz
