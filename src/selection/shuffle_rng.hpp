// The generator behind the seeded shuffle: a SipHash-1-3 chain over the seed and a
// hash of the shuffled tests' names, so an order depends only on the seed and on which
// tests (by name, in order) take part.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "quarv/test_desc.hpp"

namespace quarv::detail {

// The hash of a list of names. The byte stream is the count as 8 little-endian bytes,
// then per name its kind number (static 0, dynamic 1, aligned 2) as 8 bytes, its text,
// the byte 0xFF, and for an aligned name its padding number (none 0, right 1) as 8 bytes.
std::uint64_t hash_names(const std::vector<TestName>& names);

class Rng {
public:
    Rng(std::uint64_t seed, std::uint64_t names_hash) : m_current(seed), m_names_hash(names_hash) {}

    // Replaces the state by the hash of (state, names hash), 16 bytes, and returns it.
    std::uint64_t rand_u64();
    // A draw in [low, high); `high` must exceed `low`.
    std::uint64_t rand_range(std::uint64_t low, std::uint64_t high) { return rand_u64() % (high - low) + low; }

private:
    std::uint64_t m_current;
    std::uint64_t m_names_hash;
};

// Fisher-Yates from the front: position i swaps with i + rand_range(0, n - i), for every
// i, so exactly n draws are made.
template <class T>
void shuffle(Rng& rng, std::vector<T>& list) {
    std::size_t n = list.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t j = static_cast<std::size_t>(rng.rand_range(0, n - i));
        if (j != 0) std::swap(list[i], list[i + j]);
    }
}

// The wall-clock seed: nanoseconds since the epoch, modulo 2^64.
std::uint64_t seed_from_epoch_time(std::uint64_t secs, std::uint32_t nanos);

}  // namespace quarv::detail
