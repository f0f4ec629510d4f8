// Environment access through getenv. The runner only reads its environment; nothing in it
// calls setenv, so reads from several threads are safe.
#include "platform/env.hpp"

#include "platform/utf8.hpp"

#include <cstdlib>

namespace quarv::detail {

EnvValue env_var(const char* name) {
    const char* raw = std::getenv(name);
    if (raw == nullptr) return {};
    std::string bytes(raw);
    EnvState state = is_valid_utf8(bytes) ? EnvState::Text : EnvState::NotText;
    return {state, std::move(bytes)};
}

std::optional<std::string> env_text(const char* name) {
    EnvValue value = env_var(name);
    if (!value.is_text()) return std::nullopt;
    return std::move(value.value);
}

EnvLookup process_env() { return [](const char* name) { return env_var(name); }; }

}  // namespace quarv::detail
