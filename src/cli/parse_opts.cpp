// parse_opts: the command line of this process, with its side effects (help screen,
// log-file warning, fatal stop).
#include "cli/parse_opts.hpp"

#include <cstdio>

#include "cli/parse_opts_impl.hpp"
#include "cli/usage.hpp"
#include "platform/fatal.hpp"

namespace quarv::detail {

OptionsResult parse_opts(const std::vector<std::string>& args) {
    CommandLineResult result = interpret_command_line(args, process_env());
    if (std::holds_alternative<OptionsHelp>(result)) {
        usage(program_name(args), optgroups());
        return OptionsHelp{};
    }
    if (auto* failure = std::get_if<OptionsInvalid>(&result)) return std::move(*failure);
    if (auto* fatal = std::get_if<OptionsFatal>(&result)) fatal_error(std::move(fatal->message));

    TestOpts opts = std::get<TestOpts>(std::move(result));
    if (opts.logfile) {
        // Deprecated but still honoured; a failed write of the warning is ignored.
        std::fputs("warning: `--logfile` is deprecated", stderr);
        std::fflush(stderr);
    }
    return opts;
}

}  // namespace quarv::detail
