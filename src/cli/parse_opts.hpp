// Turning the argument vector and environment into a TestOpts record.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cli/test_opts.hpp"

namespace quarv::detail {

// The three results of parsing: the help screen was printed, the command line is invalid
// (with the message to print after "error: "), or the configuration.
struct OptionsHelp {};
struct OptionsInvalid {
    std::string message;
};
using OptionsResult = std::variant<OptionsHelp, OptionsInvalid, TestOpts>;

OptionsResult parse_opts(const std::vector<std::string>& args);

}  // namespace quarv::detail
