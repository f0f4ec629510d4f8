// Splitting a selection across several processes (test sharding).
//
// A CI job that runs the same test executable N times in parallel sets
//
//   TEST_TOTAL_SHARDS=N  TEST_SHARD_INDEX=k   (0 <= k < N)
//
// in each copy's environment. After filtering and benchmark conversion, the selection is
// numbered by position 0, 1, 2, ... and shard k keeps exactly the entries whose position
// p has p % N == k; the others are reported as filtered out. The partition depends only on
// the executable's registry and the command line (never on a shuffle seed, which applies
// afterwards inside each shard), so the N shards together run every selected test once.
//
// When TEST_SHARD_STATUS_FILE is set, the file it names is touched (created when missing)
// to tell the caller that this executable understands sharding. That happens whenever
// the sharding variables are valid, including when neither of them is set.
//
// Both variables must be set together, to decimal digits (no sign, no spaces), with a
// total of at least 1 and an index below the total. Anything else is a configuration
// error: the process prints "error: {message}" on standard error and exits with status
// 101 before any test starts, the same way as a rejected command line. Silently running
// every test (or none) would hide the broken CI setup.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/test_result.hpp"
#include "platform/env.hpp"
#include "platform/expected.hpp"

namespace quarv::detail {

struct ShardSpec {
    std::size_t index = 0;
    std::size_t total = 1;
    bool operator==(const ShardSpec&) const = default;
};

// What the environment asks for: the shard (absent when neither variable is set) and the
// status file to touch.
struct ShardRequest {
    std::optional<ShardSpec> shard;
    std::optional<std::string> status_file;
};

// Reads TEST_TOTAL_SHARDS, TEST_SHARD_INDEX and TEST_SHARD_STATUS_FILE; an invalid
// combination gives the message that explains it.
Expected<ShardRequest, std::string> read_shard_request(const EnvLookup& env);

// Keeps the entries at positions p with p % total == index, in their order.
template <class T>
std::vector<T> keep_shard(std::vector<T> items, const ShardSpec& shard) {
    std::vector<T> kept;
    kept.reserve(items.size() / shard.total + 1);
    for (std::size_t position = shard.index; position < items.size(); position += shard.total) {
        kept.push_back(std::move(items[position]));
    }
    return kept;
}

// The selection after sharding as the process environment asks for it; touches the
// status file. Ends the process with "error: ..." and status 101 on an invalid setting
// or a status file that cannot be touched.
std::vector<TestDescAndFn> apply_shard_from_env(std::vector<TestDescAndFn> selected);

}  // namespace quarv::detail
