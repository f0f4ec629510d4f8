#include "driver/console_state.hpp"

namespace quarv::detail {

namespace {
// The log file named by --logfile, created (or truncated) now; none without the option.
IoResult<std::optional<LogFile>> open_log_file(const TestOpts& opts) {
    if (!opts.logfile) return std::optional<LogFile>();
    auto file = LogFile::create(*opts.logfile);
    if (!file) return unexpected(std::move(file).error());
    return std::optional<LogFile>(std::move(file).value());
}
}  // namespace

IoResult<ConsoleTestState> ConsoleTestState::create(const TestOpts& opts) {
    auto log_file = open_log_file(opts);
    if (!log_file) return unexpected(std::move(log_file).error());
    ConsoleTestState state;
    state.log_file = std::move(log_file).value();
    state.run_options = opts.run_options;
    return state;
}

IoResult<ConsoleTestDiscoveryState> ConsoleTestDiscoveryState::create(const TestOpts& opts) {
    auto log_file = open_log_file(opts);
    if (!log_file) return unexpected(std::move(log_file).error());
    ConsoleTestDiscoveryState state;
    state.log_file = std::move(log_file).value();
    return state;
}

}  // namespace quarv::detail
