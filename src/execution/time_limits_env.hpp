// Execution-time limits read from the environment, with failures as values so that the
// rules can be checked without ending the process. TimeThreshold::from_env_var and
// TestTimeOptions::new_from_env are the fatal-on-error forms over the real environment.
#pragma once

#include <optional>
#include <string>

#include "execution/time_options.hpp"
#include "platform/env.hpp"
#include "platform/expected.hpp"

namespace quarv::detail {

// The limits in variable `name`, written "WARN_MS,CRITICAL_MS" (each an unsigned decimal
// number of milliseconds with an optional leading '+', warn not above critical). Nothing
// when the variable is unset or not text. The error is the message of the fatal stop.
Expected<std::optional<TimeThreshold>, std::string> threshold_from_env(const char* name, const EnvLookup& env);

// The unit, integration and doc-test limits, read in that order; a variable that gives no
// value leaves its kind at the default. The first malformed variable is the error.
Expected<TestTimeOptions, std::string> time_options_from_env(bool ensure_time, const EnvLookup& env);

}  // namespace quarv::detail
