// Reading environment variables.
//
// A variable is unset, set to bytes that are not valid UTF-8, or set to text. The raw
// bytes are kept in both set states, so a caller that only needs bytes (a path, say) can
// take them whatever the encoding.
//
//   EnvValue seed = env_var("VESK_TEST_SHUFFLE_SEED");
//   if (seed.state == EnvState::Text) use(seed.value);
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/utf8.hpp"

namespace quarv::detail {

enum class EnvState { Unset, NotText, Text };

struct EnvValue {
    EnvState state = EnvState::Unset;
    std::string value;  // the raw bytes; empty when unset

    bool is_set() const noexcept { return state != EnvState::Unset; }
    bool is_text() const noexcept { return state == EnvState::Text; }
    bool operator==(const EnvValue&) const = default;
};

// The variable `name` of this process's environment.
EnvValue env_var(const char* name);

// The value when the variable is set to valid text, else nothing.
std::optional<std::string> env_text(const char* name);

// A source of environment values. Code that depends on the environment takes one of these
// so tests can hand it a fixed table instead of mutating the process environment (which
// other threads may be reading).
using EnvLookup = std::function<EnvValue(const char* name)>;

// The lookup that reads the real process environment.
EnvLookup process_env();


}  // namespace quarv::detail
