// A pull-style byte source for the compiled-entry parser, and the exact-size reads it needs.
//
//   MemoryReader reader(bytes);
//   IoResult<std::uint16_t> magic = read_le_u16(reader);
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/io_error.hpp"

namespace quarv::detail::term {

class ByteReader {
public:
    virtual ~ByteReader() = default;
    // Reads at most `length` bytes into `buffer`; 0 means end of input. An interrupted read
    // is reported as an error of kind Interrupted and may be retried.
    virtual IoResult<std::size_t> read(char* buffer, std::size_t length) = 0;
};

// Reads from a byte string that outlives the reader.
class MemoryReader final : public ByteReader {
public:
    explicit MemoryReader(std::string_view bytes) noexcept : m_bytes(bytes) {}
    IoResult<std::size_t> read(char* buffer, std::size_t length) override;

private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
};

// Exactly one byte; end of input is an UnexpectedEof error "end of file".
IoResult<std::uint8_t> read_byte(ByteReader& reader);
// Exactly 2 or 4 bytes, little-endian; a short read is an UnexpectedEof error
// "failed to fill whole buffer".
IoResult<std::uint16_t> read_le_u16(ByteReader& reader);
IoResult<std::uint32_t> read_le_u32(ByteReader& reader);
// Up to `limit` bytes, fewer when the input ends first.
IoResult<std::string> read_up_to(ByteReader& reader, std::size_t limit);

}  // namespace quarv::detail::term
