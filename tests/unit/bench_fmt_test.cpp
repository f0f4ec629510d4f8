#include <limits>
#include <string>
#include <vector>

#include "bench/fmt_bench.hpp"
#include "bench/metric_map.hpp"
#include "quarv/quarv.hpp"

namespace bench_fmt {

QUARV_TEST(thousands_separated_with_two_decimals) {
    struct Case {
        double n;
        const char* text;
    };
    const Case cases[] = {
        {1234567.891, "1,234,567.89"},
        {1005, "1,005.00"},
        {5.5, "5.50"},
        {0.25, "0.25"},
        {0, "0.00"},
        {999.994, "999.99"},
        {1000, "1,000.00"},
        {1000000, "1,000,000.00"},
        {1000000000, "1,000,000,000.00"},
        {1.5e12, "1500,000,000,000.00"},
        {12345.678, "12,345.68"},
        // A last group rounding up to a whole thousand carries into the group before it.
        {999.996, "1,000.00"},
        {1999999.999, "2,000,000.00"},
        {1234999.9999, "1,235,000.00"},
        {-1234.5, "-1,234.50"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const Case& c : cases) quarv::assert_eq(quarv::detail::fmt_thousands_sep(c.n), std::string(c.text));
}

QUARV_TEST(bench_line_shows_median_spread_and_throughput) {
    auto outcome = [](std::vector<double> samples, std::uint64_t mbps) {
        return quarv::detail::BenchOutcome{quarv::Summary::of(samples), mbps};
    };
    struct Case {
        quarv::detail::BenchOutcome outcome;
        const char* line;
    };
    const Case cases[] = {
        {outcome({0.0}, 0), "          0.00 ns/iter (+/- 0.00)"},
        {outcome({2000.0, 2048.7, 2100.0}, 500), "      2,048.70 ns/iter (+/- 100.00) = 500 MB/s"},
        {outcome({1.5e12}, 0), "1500,000,000,000.00 ns/iter (+/- 0.00)"},
        {outcome({12.25, 12.5, 1012.5}, 0), "         12.50 ns/iter (+/- 1,000.25)"},
    };
    for (const Case& c : cases) quarv::assert_eq(quarv::detail::fmt_bench_samples(c.outcome), std::string(c.line));
}

}  // namespace bench_fmt

namespace bench_metrics {

QUARV_TEST(a_repeated_name_keeps_the_later_metric) {
    quarv::detail::MetricMap map;
    map.insert_metric("sum", 10, 1);
    map.insert_metric("sum", 20, 2);
    quarv::assert_eq(map.entries().size(), 1u);
    quarv::assert_true(map.entries().at("sum") == quarv::detail::Metric{20, 2});
}

QUARV_TEST(names_iterate_in_byte_order_and_render_one_line_each) {
    quarv::detail::MetricMap map;
    map.insert_metric("b", 1234.5, 12);
    map.insert_metric("a", 0, 0);
    map.insert_metric("ab", 2.25, 0.5);
    quarv::assert_eq(map.fmt_metrics(), std::string("a: 0.00 (+/- 0.00)\n"
                                                    "ab: 2.25 (+/- 0.50)\n"
                                                    "b: 1,234.50 (+/- 12.00)\n"));
    quarv::assert_eq(quarv::detail::MetricMap().fmt_metrics(), std::string());
}

}  // namespace bench_metrics
