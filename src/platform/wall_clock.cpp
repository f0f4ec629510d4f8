#include "platform/wall_clock.hpp"

#include <time.h>

namespace quarv::detail {

std::optional<EpochTime> wall_clock_since_epoch() {
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0 || now.tv_sec < 0) return std::nullopt;
    return EpochTime{static_cast<std::uint64_t>(now.tv_sec), static_cast<std::uint32_t>(now.tv_nsec)};
}

}  // namespace quarv::detail
