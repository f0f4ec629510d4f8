// Example benchmarks. Run them measured with `quarv_examples --bench`; without --bench
// each runs its routine once as an ordinary test.
#include <quarv/quarv.hpp>

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace benchmarks {

// The routine's result goes through black_box, so returning it keeps the work alive.
QUARV_BENCH(sum_of_squares, b) {
    std::vector<std::uint64_t> values(1000);
    std::iota(values.begin(), values.end(), 1);
    b.iter([&] {
        std::uint64_t total = 0;
        for (std::uint64_t v : values) total += v * v;
        return total;
    });
}

// With bytes_per_iter set, the result line adds the throughput in MB/s.
QUARV_BENCH(copy_a_kilobyte, b) {
    std::string source(1024, 'q');
    b.bytes_per_iter = source.size();
    b.iter([&] { return std::string(source); });
}

// Setup outside iter() is not timed; a routine returning nothing is fine too.
QUARV_BENCH(sort_a_shuffled_vector, b) {
    std::vector<int> shuffled(500);
    for (int i = 0; i < 500; ++i) shuffled[static_cast<std::size_t>(i)] = (i * 7919) % 500;
    b.iter([&] {
        std::vector<int> copy = shuffled;
        std::sort(copy.begin(), copy.end());
        quarv::black_box(copy.front());
    });
}

// A benchmark may fail like a test: by returning a failure or by throwing.
QUARV_BENCH(map_lookup, b) {
    std::map<int, int> squares;
    for (int i = 0; i < 1000; ++i) squares[i] = i * i;
    if (squares.at(31) != 961) return quarv::fail("the table is wrong");
    b.iter([&] { return squares.find(quarv::black_box(617))->second; });
    return quarv::ok();
}

}  // namespace benchmarks
