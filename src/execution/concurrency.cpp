#include "execution/concurrency.hpp"

#include <limits>
#include <string>

#include "platform/env.hpp"
#include "platform/fatal.hpp"
#include "platform/worker_thread.hpp"

namespace quarv::detail {

namespace {
// A positive decimal machine word: an optional "+", then digits only.
std::optional<std::size_t> parse_positive(const std::string& text) {
    std::string_view digits(text);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty()) return std::nullopt;
    std::size_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        std::size_t digit = static_cast<std::size_t>(c - '0');
        if (value > (std::numeric_limits<std::size_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    if (value == 0) return std::nullopt;
    return value;
}
}  // namespace

std::size_t get_concurrency() {
    EnvValue threads = env_var("VESK_TEST_THREADS");
    if (threads.is_text()) {
        if (auto count = parse_positive(threads.value)) return *count;
        fatal_error("VESK_TEST_THREADS is `" + threads.value + "`, should be a positive integer.");
    }
    return available_parallelism();
}

}  // namespace quarv::detail
