// Reading the sharding variables and splitting a selection by position.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli_fake_env.hpp"
#include "quarv/quarv.hpp"
#include "selection/shard.hpp"

namespace shard {

using namespace quarv::detail;

namespace {

// The request as one line of text, or "error: " and the message.
std::string read(std::map<std::string, std::string> vars) {
    auto request = read_shard_request(cli_testing::fake_env(std::move(vars)));
    if (!request) return "error: " + request.error();
    std::string text = request->shard ? std::to_string(request->shard->index) + "/" + std::to_string(request->shard->total)
                                      : "all";
    if (request->status_file) text += " touch " + *request->status_file;
    return text;
}

}  // namespace

QUARV_TEST(reads_the_variables) {
    const std::string index_range = "error: TEST_SHARD_INDEX is ";
    const struct {
        std::map<std::string, std::string> vars;
        std::string expected;
    } cases[] = {
        {{}, "all"},
        {{{"TEST_SHARD_STATUS_FILE", "/tmp/s"}}, "all touch /tmp/s"},
        {{{"TEST_TOTAL_SHARDS", "3"}, {"TEST_SHARD_INDEX", "0"}}, "0/3"},
        {{{"TEST_TOTAL_SHARDS", "3"}, {"TEST_SHARD_INDEX", "2"}, {"TEST_SHARD_STATUS_FILE", "f"}}, "2/3 touch f"},
        {{{"TEST_TOTAL_SHARDS", "1"}, {"TEST_SHARD_INDEX", "0"}}, "0/1"},
        {{{"TEST_TOTAL_SHARDS", "007"}, {"TEST_SHARD_INDEX", "06"}}, "6/7"},
        {{{"TEST_TOTAL_SHARDS", "3"}}, "error: TEST_TOTAL_SHARDS is set but TEST_SHARD_INDEX is not; set both or neither."},
        {{{"TEST_SHARD_INDEX", "0"}}, "error: TEST_SHARD_INDEX is set but TEST_TOTAL_SHARDS is not; set both or neither."},
        {{{"TEST_TOTAL_SHARDS", "0"}, {"TEST_SHARD_INDEX", "0"}}, "error: TEST_TOTAL_SHARDS is `0`, should be a positive integer."},
        {{{"TEST_TOTAL_SHARDS", ""}, {"TEST_SHARD_INDEX", "0"}}, "error: TEST_TOTAL_SHARDS is ``, should be a positive integer."},
        {{{"TEST_TOTAL_SHARDS", "+3"}, {"TEST_SHARD_INDEX", "0"}}, "error: TEST_TOTAL_SHARDS is `+3`, should be a positive integer."},
        {{{"TEST_TOTAL_SHARDS", " 3"}, {"TEST_SHARD_INDEX", "0"}}, "error: TEST_TOTAL_SHARDS is ` 3`, should be a positive integer."},
        {{{"TEST_TOTAL_SHARDS", "18446744073709551616"}, {"TEST_SHARD_INDEX", "0"}},
         "error: TEST_TOTAL_SHARDS is `18446744073709551616`, should be a positive integer."},
        {{{"TEST_TOTAL_SHARDS", "\xff"}, {"TEST_SHARD_INDEX", "0"}},
         "error: TEST_TOTAL_SHARDS is not valid unicode, should be a positive integer."},
        {{{"TEST_TOTAL_SHARDS", "3"}, {"TEST_SHARD_INDEX", "3"}}, index_range + "`3`, should be an integer from 0 to 2 (TEST_TOTAL_SHARDS is 3)."},
        {{{"TEST_TOTAL_SHARDS", "3"}, {"TEST_SHARD_INDEX", "-1"}}, index_range + "`-1`, should be an integer from 0 to 2 (TEST_TOTAL_SHARDS is 3)."},
        {{{"TEST_TOTAL_SHARDS", "2"}, {"TEST_SHARD_INDEX", "x"}}, index_range + "`x`, should be an integer from 0 to 1 (TEST_TOTAL_SHARDS is 2)."},
        // The total is checked first: its message is the one that explains the index.
        {{{"TEST_TOTAL_SHARDS", "x"}, {"TEST_SHARD_INDEX", "9"}}, "error: TEST_TOTAL_SHARDS is `x`, should be a positive integer."},
    };
    std::string failures;
    for (const auto& c : cases) {
        const std::string actual = read(c.vars);
        if (actual != c.expected) failures += "\n  expected " + c.expected + ", got " + actual;
    }
    if (!failures.empty()) quarv::panic("cases failed:" + failures);
}

// Every split of 0..n-1 is a partition: shards are disjoint, cover everything, keep
// order, and differ in size by at most one.
QUARV_TEST(shards_partition_the_selection) {
    for (std::size_t n : {0u, 1u, 2u, 7u, 10u}) {
        for (std::size_t total : {1u, 2u, 3u, 10u, 13u}) {
            std::vector<std::size_t> items;
            for (std::size_t i = 0; i < n; ++i) items.push_back(i);
            std::set<std::size_t> seen;
            std::size_t smallest = n, largest = 0;
            for (std::size_t index = 0; index < total; ++index) {
                std::vector<std::size_t> kept = keep_shard(items, ShardSpec{index, total});
                for (std::size_t k = 0; k < kept.size(); ++k) {
                    quarv::assert_eq(kept[k], index + k * total);
                    quarv::assert_true(seen.insert(kept[k]).second, "an item landed in two shards");
                }
                smallest = std::min(smallest, kept.size());
                largest = std::max(largest, kept.size());
            }
            quarv::assert_eq(seen.size(), n);
            quarv::assert_true(largest - smallest <= 1, "shards are unbalanced");
        }
    }
}

}  // namespace shard
