// The interpretation of a parsed command line, free of side effects: the environment comes
// through a lookup function and nothing is printed, so every rule can be checked
// in-process. parse_opts (parse_opts.hpp) wraps it with the real environment, the help
// screen, the log-file warning and the fatal stop.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cli/option_parser.hpp"
#include "cli/parse_opts.hpp"
#include "platform/env.hpp"

namespace quarv::detail {

// A problem that is not a rejected command line but ends the process as an unrecovered
// failure of the main thread: a malformed time-limit variable or a non-numeric
// VESK_TEST_SHUFFLE_SEED.
struct OptionsFatal {
    std::string message;
};

using ImplResult = std::variant<TestOpts, OptionsInvalid, OptionsFatal>;

// Interprets and validates the options one by one in a fixed order; the first problem
// ends it: -Z, the unstable flags, time limits, shuffle, shuffle seed, the plain flags,
// log file, ignored-test policy, filters, capture, thread count, colour, format, output.
ImplResult parse_opts_impl(const ParsedArguments& matches, const EnvLookup& env);

// Both stages over a whole argument vector (program name first). `OptionsHelp` means the
// caller should print the help screen; no option other than the syntax was checked then.
using CommandLineResult = std::variant<OptionsHelp, OptionsInvalid, OptionsFatal, TestOpts>;
CommandLineResult interpret_command_line(const std::vector<std::string>& args, const EnvLookup& env);

// The program name shown in the help screen: args[0] unchanged, or "..." when empty.
std::string program_name(const std::vector<std::string>& args);

}  // namespace quarv::detail
