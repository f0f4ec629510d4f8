// Kernels measured with Bencher::iter, to compare the sampling against known costs and
// to see how long a --bench run takes per benchmark:
//
//   kernels --bench                    every kernel, one result line each
//   kernels --bench --exact kernels::sum_100000
#include <quarv/quarv.hpp>

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace kernels {
namespace {

std::vector<std::int64_t> ramp(std::size_t n) {
    std::vector<std::int64_t> values(n);
    std::iota(values.begin(), values.end(), 0);
    return values;
}

// The sum is taken through an opaque pointer so the compiler cannot fold it across
// iterations.
std::int64_t sum(const std::vector<std::int64_t>& values) {
    const std::vector<std::int64_t>* data = quarv::black_box(&values);
    return std::accumulate(data->begin(), data->end(), std::int64_t{0});
}

}  // namespace

QUARV_BENCH(sum_1000, b) {
    std::vector<std::int64_t> values = ramp(1000);
    b.bytes_per_iter = values.size() * sizeof(std::int64_t);
    b.iter([&] { return sum(values); });
}

QUARV_BENCH(sum_100000, b) {
    std::vector<std::int64_t> values = ramp(100000);
    b.bytes_per_iter = values.size() * sizeof(std::int64_t);
    b.iter([&] { return sum(values); });
}

QUARV_BENCH(string_copy_1000, b) {
    std::string text(1000, 'x');
    b.bytes_per_iter = text.size();
    b.iter([&] { return std::string(*quarv::black_box(&text)); });
}

QUARV_BENCH(empty_routine, b) {
    b.iter([] {});
}

}  // namespace kernels
