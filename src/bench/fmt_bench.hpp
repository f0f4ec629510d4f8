// Text of benchmark results.
#pragma once

#include <string>

#include "model/test_result.hpp"

namespace quarv::detail {

// "{:>14} ns/iter (+/- {})", plus " = {} MB/s" when there is a throughput.
std::string fmt_bench_samples(const BenchOutcome& outcome);
// n with comma-separated thousands and two decimals ("1,234,567.89"). The groups above
// the last are whole thousands; only the last group is rounded to two decimals, and when
// that rounding reaches 1000.00 the value is carried into the group before it
// (999.996 -> "1,000.00", 1999999.999 -> "2,000,000.00"), so no group reads 1000.00.
// The top group is printed whole ("1500,000,000,000.00"). Negative values are shown as
// '-' and their magnitude; NaN and infinities as "NaN", "inf", "-inf".
std::string fmt_thousands_sep(double n);

}  // namespace quarv::detail
