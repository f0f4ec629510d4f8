// Environment access through getenv. The runner only reads its environment; nothing in it
// calls setenv, so reads from several threads are safe.
#include "platform/env.hpp"

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

bool is_valid_utf8(std::string_view bytes) noexcept {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the first continuation byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            if (lead == 0xE0) lo = 0xA0;       // no overlong forms
            if (lead == 0xED) hi = 0x9F;       // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            if (lead == 0xF0) lo = 0x90;       // no overlong forms
            if (lead == 0xF4) hi = 0x8F;       // nothing above U+10FFFF
        } else {
            return false;
        }
        if (n - i - 1 < extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            const unsigned char min = k == 1 ? lo : 0x80;
            const unsigned char max = k == 1 ? hi : 0xBF;
            if (c < min || c > max) return false;
        }
        i += extra + 1;
    }
    return true;
}

}  // namespace quarv::detail
