#include "execution/concurrency.hpp"

#include <limits>
#include <string>

#include "cli/number_parse.hpp"
#include "platform/env.hpp"
#include "platform/fatal.hpp"
#include "platform/worker_thread.hpp"

namespace quarv::detail {

std::size_t get_concurrency() {
    EnvValue threads = env_var("VESK_TEST_THREADS");
    if (threads.is_text()) {
        auto count = parse_unsigned(threads.value, std::numeric_limits<std::size_t>::max());
        if (count && *count != 0) return static_cast<std::size_t>(*count);
        fatal_error("VESK_TEST_THREADS is `" + threads.value + "`, should be a positive integer.");
    }
    return available_parallelism();
}

}  // namespace quarv::detail
