// The seeded shuffle: a reproducible order from a 64-bit seed and the tests' names.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cli/test_opts.hpp"
#include "selection/filter.hpp"

namespace quarv::detail {

// The seed of this run: the given one, the wall clock when only --shuffle was given, or none.
std::optional<std::uint64_t> get_shuffle_seed(const TestOpts& opts);

// Permutes the tests in place; the order depends only on the seed and the names.
void shuffle_tests(std::uint64_t seed, std::vector<NumberedTest>& tests);

}  // namespace quarv::detail
