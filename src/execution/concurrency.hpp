#pragma once

#include <cstddef>

namespace quarv::detail {

// VESK_TEST_THREADS when set (a positive integer, else a fatal error), otherwise the
// number of hardware threads available.
std::size_t get_concurrency();

}  // namespace quarv::detail
