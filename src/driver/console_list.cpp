#include "driver/console_run.hpp"
#include "formatters/get_formatter.hpp"
#include "selection/filter.hpp"
#include "selection/shard.hpp"

namespace quarv::detail {

IoResult<> list_tests_console(const TestOpts& opts, std::vector<TestDescAndFn> tests) {
    std::unique_ptr<OutputFormatter> formatter = get_listing_formatter(opts);
    auto created = ConsoleTestDiscoveryState::create(opts);
    if (!created) return unexpected(std::move(created).error());
    ConsoleTestDiscoveryState& state = *created;
    // Selected (and sharded) before anything is written, so that an invalid shard setting
    // leaves the output empty.
    std::vector<TestDescAndFn> selected = apply_shard_from_env(filter_tests(opts, std::move(tests)));
    QUARV_TRY_IO(formatter->write_discovery_start());
    for (const TestDescAndFn& test : selected) {
        const TestDesc& desc = test.descriptor;
        std::string_view kind_word = test.body.is_bench() ? "benchmark" : "test";
        ++(test.body.is_bench() ? state.benchmarks : state.tests);
        if (desc.ignore) ++state.ignored;
        QUARV_TRY_IO(formatter->write_test_discovered(desc, kind_word));
        if (state.log_file) {
            QUARV_TRY_IO(state.log_file->write_all(std::string(kind_word) + " " + std::string(desc.name.as_slice()) + "\n"));
        }
    }
    return formatter->write_discovery_finish(state);
}

}  // namespace quarv::detail
