#include "selection/shuffle_rng.hpp"

#include "selection/siphash.hpp"

namespace quarv::detail {

std::uint64_t hash_names(const std::vector<TestName>& names) {
    SipHasher13 hasher;
    hasher.write_u64(names.size());
    for (const TestName& name : names) {
        hasher.write_u64(static_cast<std::uint64_t>(name.kind()));
        hasher.write(name.as_slice());
        hasher.write_u8(0xFF);
        if (name.kind() == TestName::Kind::AlignedName) hasher.write_u64(static_cast<std::uint64_t>(name.padding()));
    }
    return hasher.finish();
}

std::uint64_t Rng::rand_u64() {
    SipHasher13 hasher;
    hasher.write_u64(m_current);
    hasher.write_u64(m_names_hash);
    m_current = hasher.finish();
    return m_current;
}

std::uint64_t seed_from_epoch_time(std::uint64_t secs, std::uint32_t nanos) {
    return secs * 1000000000ULL + nanos;  // unsigned arithmetic wraps modulo 2^64
}

}  // namespace quarv::detail
