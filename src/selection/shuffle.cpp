// Placeholder until the seeded shuffle lands: no seed, no reordering.
#include "selection/shuffle.hpp"

namespace quarv::detail {

std::optional<std::uint64_t> get_shuffle_seed(const TestOpts& opts) { return opts.shuffle_seed; }

void shuffle_tests(std::uint64_t, std::vector<NumberedTest>&) {}

}  // namespace quarv::detail
