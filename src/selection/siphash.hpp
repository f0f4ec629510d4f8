// SipHash with a configurable number of rounds, fed as a byte stream. The seeded
// shuffle uses SipHash-1-3 (one compression round per 8-byte block, three
// finalization rounds) with an all-zero key.
//
//   SipHasher13 h;                 // key 0, 0
//   h.write_u64(3); h.write("abc");
//   std::uint64_t digest = h.finish();
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quarv::detail {

template <int CompressionRounds, int FinalizationRounds>
class SipHasher {
public:
    explicit SipHasher(std::uint64_t k0 = 0, std::uint64_t k1 = 0)
        : m_v0(k0 ^ 0x736f6d6570736575ULL),
          m_v1(k1 ^ 0x646f72616e646f6dULL),
          m_v2(k0 ^ 0x6c7967656e657261ULL),
          m_v3(k1 ^ 0x7465646279746573ULL) {}

    // Appends bytes to the message; the digest depends only on the concatenated bytes,
    // not on how they were split across calls.
    void write(std::string_view bytes) {
        for (char c : bytes) {
            m_tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * (m_length % 8));
            ++m_length;
            if (m_length % 8 == 0) {
                compress(m_tail);
                m_tail = 0;
            }
        }
    }
    // Appends the 8 little-endian bytes of `value`.
    void write_u64(std::uint64_t value) {
        char bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
        write(std::string_view(bytes, 8));
    }
    void write_u8(std::uint8_t value) {
        char byte = static_cast<char>(value);
        write(std::string_view(&byte, 1));
    }

    // The 64-bit digest of everything written so far; the hasher is left unchanged.
    std::uint64_t finish() const {
        SipHasher copy = *this;
        std::uint64_t last = copy.m_tail | (static_cast<std::uint64_t>(copy.m_length & 0xFF) << 56);
        copy.compress(last);
        copy.m_v2 ^= 0xFF;
        for (int i = 0; i < FinalizationRounds; ++i) copy.round();
        return copy.m_v0 ^ copy.m_v1 ^ copy.m_v2 ^ copy.m_v3;
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

    void round() {
        m_v0 += m_v1;
        m_v1 = rotl(m_v1, 13);
        m_v1 ^= m_v0;
        m_v0 = rotl(m_v0, 32);
        m_v2 += m_v3;
        m_v3 = rotl(m_v3, 16);
        m_v3 ^= m_v2;
        m_v0 += m_v3;
        m_v3 = rotl(m_v3, 21);
        m_v3 ^= m_v0;
        m_v2 += m_v1;
        m_v1 = rotl(m_v1, 17);
        m_v1 ^= m_v2;
        m_v2 = rotl(m_v2, 32);
    }

    void compress(std::uint64_t block) {
        m_v3 ^= block;
        for (int i = 0; i < CompressionRounds; ++i) round();
        m_v0 ^= block;
    }

    std::uint64_t m_v0, m_v1, m_v2, m_v3;
    std::uint64_t m_tail = 0;    // bytes of the unfinished block, little-endian
    std::uint64_t m_length = 0;  // bytes written in total
};

using SipHasher13 = SipHasher<1, 3>;
using SipHasher24 = SipHasher<2, 4>;

}  // namespace quarv::detail
