// A fixed environment for command-line tests, so that no test mutates the process
// environment that parallel tests read.
#pragma once

#include <map>
#include <string>

#include "platform/env.hpp"

namespace cli_testing {

using quarv::detail::EnvLookup;
using quarv::detail::EnvState;
using quarv::detail::EnvValue;

// Variables given as raw bytes; a value that is not UTF-8 is reported as NotText.
inline EnvLookup fake_env(std::map<std::string, std::string> vars) {
    return [vars = std::move(vars)](const char* name) -> EnvValue {
        auto it = vars.find(name);
        if (it == vars.end()) return {};
        return {quarv::detail::is_valid_utf8(it->second) ? EnvState::Text : EnvState::NotText, it->second};
    };
}

}  // namespace cli_testing
