#include "selection/shuffle.hpp"

#include "platform/fatal.hpp"
#include "platform/wall_clock.hpp"
#include "selection/shuffle_rng.hpp"

namespace quarv::detail {

// A given seed shuffles on its own; --shuffle alone draws one from the wall clock.
std::optional<std::uint64_t> get_shuffle_seed(const TestOpts& opts) {
    if (opts.shuffle_seed) return opts.shuffle_seed;
    if (!opts.shuffle) return std::nullopt;
    std::optional<EpochTime> now = wall_clock_since_epoch();
    if (!now) fatal_error("Failed to get system time: the wall clock reads earlier than the Unix epoch");
    return seed_from_epoch_time(now->secs, now->nanos);
}

void shuffle_tests(std::uint64_t seed, std::vector<NumberedTest>& tests) {
    std::vector<TestName> names;
    names.reserve(tests.size());
    for (const NumberedTest& test : tests) names.push_back(test.second.descriptor.name);
    Rng rng(seed, hash_names(names));
    shuffle(rng, tests);
}

}  // namespace quarv::detail
