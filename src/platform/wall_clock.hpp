// The wall clock, read as time since the Unix epoch (1970-01-01 00:00:00 UTC).
// Assumes a POSIX realtime clock; a clock set before the epoch is reported, not hidden.
#pragma once

#include <cstdint>
#include <optional>

namespace quarv::detail {

struct EpochTime {
    std::uint64_t secs = 0;
    std::uint32_t nanos = 0;  // below one second
};

// The current wall-clock time since the epoch, or nothing when the clock reads earlier
// than the epoch.
std::optional<EpochTime> wall_clock_since_epoch();

}  // namespace quarv::detail
