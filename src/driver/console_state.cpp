#include "driver/console_state.hpp"

namespace quarv::detail {

IoResult<ConsoleTestState> ConsoleTestState::create(const TestOpts& opts) {
    ConsoleTestState state;
    if (opts.logfile) {
        auto file = LogFile::create(*opts.logfile);
        if (!file) return unexpected(std::move(file).error());
        state.log_file.emplace(std::move(file).value());
    }
    state.run_options = opts.run_options;
    return state;
}

IoResult<ConsoleTestDiscoveryState> ConsoleTestDiscoveryState::create(const TestOpts& opts) {
    ConsoleTestDiscoveryState state;
    if (opts.logfile) {
        auto file = LogFile::create(*opts.logfile);
        if (!file) return unexpected(std::move(file).error());
        state.log_file.emplace(std::move(file).value());
    }
    return state;
}

}  // namespace quarv::detail
