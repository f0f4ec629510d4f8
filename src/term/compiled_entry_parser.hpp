// The parser of compiled terminfo entries (the legacy section of the binary format).
//
// Layout, all numbers little-endian: magic (0432 for 16-bit numbers, 01036 for 32-bit
// numbers), five 16-bit signed counts (names size, booleans, numbers, string offsets,
// string table size), the names ("a|b|c" and a NUL), one byte per boolean, a padding
// byte when names size + booleans is odd, the numbers, the 16-bit string offsets and the
// string table. Anything after the string table (extended capabilities) is not read.
//
// Absent values: a 16-bit number of 0xFFFF is absent (every other value, 0xFFFE
// included, is stored). In the 32-bit format the database writes -1 for an absent and -2
// for a cancelled number; every value whose top bit is set is taken as absent, and all
// others are stored as they are (so 65535 is a real value there). A string offset of
// 0xFFFF is absent, 0xFFFE cancelled (stored as an empty string).
//
// Beyond the classic checks, an entry whose string table is shorter in the file than its
// declared size, or whose string offset points at or past the end of the declared table,
// is rejected: both mean a truncated or corrupt file.
#pragma once

#include <string>

#include "platform/expected.hpp"
#include "term/byte_reader.hpp"
#include "term/terminfo.hpp"

namespace quarv::detail::term {

inline constexpr std::uint16_t kMagic16Bit = 0432;
inline constexpr std::uint16_t kMagic32Bit = 01036;

// Parses one compiled entry from `reader`; the error is the message of a MalformedEntry.
Expected<TermInfo, std::string> parse(ByteReader& reader);

}  // namespace quarv::detail::term
