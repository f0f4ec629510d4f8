// Text of benchmark results.
#pragma once

#include <string>

#include "model/test_result.hpp"

namespace quarv::detail {

// "{:>14} ns/iter (+/- {})", plus " = {} MB/s" when there is a throughput.
std::string fmt_bench_samples(const BenchOutcome& outcome);
// n with comma-separated thousands and two decimals ("1,234,567.89").
std::string fmt_thousands_sep(double n);

}  // namespace quarv::detail
