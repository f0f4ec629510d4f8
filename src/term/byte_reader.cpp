#include "term/byte_reader.hpp"

#include <algorithm>
#include <cstring>

namespace quarv::detail::term {
namespace {

// Fills `buffer` completely, retrying interrupted reads.
IoResult<> read_exact(ByteReader& reader, char* buffer, std::size_t length) {
    std::size_t filled = 0;
    while (filled < length) {
        IoResult<std::size_t> got = reader.read(buffer + filled, length - filled);
        if (!got) {
            if (got.error().kind == IoErrorKind::Interrupted) continue;
            return unexpected(std::move(got).error());
        }
        if (*got == 0) return unexpected(IoError::custom(IoErrorKind::UnexpectedEof, "failed to fill whole buffer"));
        filled += *got;
    }
    return {};
}

}  // namespace

IoResult<std::size_t> MemoryReader::read(char* buffer, std::size_t length) {
    const std::size_t count = std::min(length, m_bytes.size() - m_position);
    if (count != 0) std::memcpy(buffer, m_bytes.data() + m_position, count);
    m_position += count;
    return count;
}

IoResult<std::uint8_t> read_byte(ByteReader& reader) {
    char byte = 0;
    for (;;) {
        IoResult<std::size_t> got = reader.read(&byte, 1);
        if (!got) {
            if (got.error().kind == IoErrorKind::Interrupted) continue;
            return unexpected(std::move(got).error());
        }
        if (*got == 0) return unexpected(IoError::custom(IoErrorKind::UnexpectedEof, "end of file"));
        return static_cast<std::uint8_t>(byte);
    }
}

IoResult<std::uint16_t> read_le_u16(ByteReader& reader) {
    unsigned char bytes[2];
    QUARV_TRY_IO(read_exact(reader, reinterpret_cast<char*>(bytes), sizeof bytes));
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

IoResult<std::uint32_t> read_le_u32(ByteReader& reader) {
    unsigned char bytes[4];
    QUARV_TRY_IO(read_exact(reader, reinterpret_cast<char*>(bytes), sizeof bytes));
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

IoResult<std::string> read_up_to(ByteReader& reader, std::size_t limit) {
    std::string out;
    char chunk[4096];
    while (out.size() < limit) {
        IoResult<std::size_t> got = reader.read(chunk, std::min(sizeof chunk, limit - out.size()));
        if (!got) {
            if (got.error().kind == IoErrorKind::Interrupted) continue;
            return unexpected(std::move(got).error());
        }
        if (*got == 0) break;
        out.append(chunk, *got);
    }
    return out;
}

}  // namespace quarv::detail::term
