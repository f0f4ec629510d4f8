#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "quarv/quarv.hpp"
#include "quarv/stats.hpp"

namespace stats_ops {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

std::string show(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", x);
    return text;
}

// Exact equality of doubles, with NaN equal to NaN.
void assert_same(double actual, double expected, const std::string& what) {
    bool same = (std::isnan(actual) && std::isnan(expected)) || actual == expected;
    quarv::assert_true(same, what + ": got " + show(actual) + ", expected " + show(expected));
}

// The message of the Panic that `f` throws, or "" when it returns.
std::string panic_message(const std::function<void()>& f) {
    try {
        f();
    } catch (const quarv::Panic& panic) {
        return panic.message();
    }
    return "";
}

using Op = std::function<double(std::span<const double>)>;

Op at(double pct) {
    return [pct](std::span<const double> xs) { return quarv::stats::percentile(xs, pct); };
}

}  // namespace

QUARV_TEST(operations_give_exact_results) {
    namespace st = quarv::stats;
    std::vector<double> tenths(10, 0.1);
    struct Case {
        const char* what;
        Op op;
        std::vector<double> samples;
        double expected;
    };
    const Case cases[] = {
        {"sum keeps the small term between cancelling large ones", st::sum, {1e100, 1.0, -1e100}, 1.0},
        {"sum of ten tenths", st::sum, tenths, 1.0},
        {"sum overflowing to opposite infinities", st::sum, {1e308, 1e308}, nan},
        {"sum of nothing", st::sum, {}, 0.0},
        {"mean", st::mean, {1, 2, 3, 4}, 2.5},
        {"min skips NaN", st::min, {3, nan, 1}, 1.0},
        {"max skips a leading NaN", st::max, {nan, 2}, 2.0},
        {"min of NaNs only", st::min, {nan, nan}, nan},
        {"median of an even count interpolates", st::median, {4, 1, 3, 2}, 2.5},
        {"50th percentile", at(50), {1, 2, 3, 4}, 2.5},
        {"100th percentile", at(100), {1, 2, 3, 4}, 4.0},
        {"0th percentile", at(0), {1, 2, 3, 4}, 1.0},
        {"one sample ignores the percentage", at(150), {7}, 7.0},
        {"25th percentile interpolates", at(25), {10, 20, 30}, 15.0},
        {"variance", st::var, {2, 4, 4, 4, 5, 5, 7, 9}, 32.0 / 7.0},
        {"variance of one sample", st::var, {42}, 0.0},
        {"standard deviation", st::std_dev, {2, 4, 4, 4, 5, 5, 7, 9}, std::sqrt(32.0 / 7.0)},
        {"median absolute deviation", st::median_abs_dev, {1, 2, 3, 4, 5}, 1.4826},
        {"median absolute deviation in percent", st::median_abs_dev_pct, {1, 2, 3, 4, 5}, (1.4826 / 3.0) * 100.0},
        {"interquartile range", st::iqr, {5, 1, 4, 2, 3}, 2.0},
    };
    for (const Case& c : cases) assert_same(c.op(c.samples), c.expected, c.what);
}

QUARV_TEST(quartiles_of_odd_and_single_sets) {
    using Q = std::array<double, 3>;
    quarv::assert_true(quarv::stats::quartiles(std::vector<double>{1, 2, 3, 4, 5}) == Q{2, 3, 4});
    quarv::assert_true(quarv::stats::quartiles(std::vector<double>{9}) == Q{9, 9, 9});
}

QUARV_TEST(operations_leave_their_input_unchanged) {
    const std::vector<double> samples{3, nan, -1, 2};
    std::vector<double> copy = samples;
    (void)quarv::Summary::of(copy);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        quarv::assert_eq(std::bit_cast<std::uint64_t>(copy[i]), std::bit_cast<std::uint64_t>(samples[i]));
    }
}

QUARV_TEST(summary_of_a_single_zero) {
    quarv::Summary s = quarv::Summary::of(std::vector<double>{0.0});
    const std::pair<const char*, double> zeros[] = {
        {"sum", s.sum},       {"min", s.min},         {"max", s.max},
        {"mean", s.mean},     {"median", s.median},   {"var", s.var},
        {"std_dev", s.std_dev}, {"median_abs_dev", s.median_abs_dev}, {"first quartile", s.quartiles[0]},
        {"second quartile", s.quartiles[1]}, {"third quartile", s.quartiles[2]}, {"iqr", s.iqr},
    };
    for (const auto& [what, value] : zeros) assert_same(value, 0.0, what);
    assert_same(s.std_dev_pct, nan, "std_dev_pct");
    assert_same(s.median_abs_dev_pct, nan, "median_abs_dev_pct");
}

QUARV_TEST(summary_fields_follow_their_operations) {
    quarv::Summary s = quarv::Summary::of(std::vector<double>{5, 1, 4, 2, 3});
    assert_same(s.sum, 15, "sum");
    assert_same(s.min, 1, "min");
    assert_same(s.max, 5, "max");
    assert_same(s.mean, 3, "mean");
    assert_same(s.median, 3, "median");
    assert_same(s.var, 2.5, "var");
    assert_same(s.std_dev, std::sqrt(2.5), "std_dev");
    assert_same(s.std_dev_pct, (std::sqrt(2.5) / 3.0) * 100.0, "std_dev_pct");
    assert_same(s.median_abs_dev, 1.4826, "median_abs_dev");
    assert_same(s.iqr, 2, "iqr");
}

QUARV_TEST(local_sort_uses_total_order) {
    const double negative_nan = -nan;
    std::vector<double> values{nan, inf, 0.0, 1.0, -0.0, negative_nan, -inf, -1.0};
    quarv::stats::local_sort(values);
    const double expected[] = {negative_nan, -inf, -1.0, -0.0, 0.0, 1.0, inf, nan};
    for (std::size_t i = 0; i < values.size(); ++i) {
        quarv::assert_eq(std::bit_cast<std::uint64_t>(values[i]), std::bit_cast<std::uint64_t>(expected[i]));
    }
}

QUARV_TEST(broken_invariants_fail_with_their_messages) {
    namespace st = quarv::stats;
    const std::vector<double> none;
    const std::vector<double> two{1, 2};
    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {[&] { (void)st::percentile_of_sorted(none, 50); }, "assertion failed: !sorted_samples.is_empty()"},
        {[&] { (void)st::percentile_of_sorted(two, -1); }, "assertion failed: zero <= pct"},
        {[&] { (void)st::percentile_of_sorted(two, nan); }, "assertion failed: zero <= pct"},
        {[&] { (void)st::percentile_of_sorted(two, 100.5); }, "assertion failed: pct <= hundred"},
        {[&] { (void)st::median(none); }, "assertion failed: !sorted_samples.is_empty()"},
        {[&] { (void)st::quartiles(none); }, "assertion failed: !sorted_samples.is_empty()"},
        {[&] { (void)quarv::Summary::of(none); }, "assertion failed: !self.is_empty()"},
    };
    for (const Case& c : cases) quarv::assert_eq(panic_message(c.call), std::string(c.message));
}

QUARV_TEST(winsorize_clamps_to_the_outer_percentiles_in_place) {
    // 21 samples 0..20 in shuffled order: the 5th and 95th percentiles are 1 and 19.
    std::vector<double> samples{20, 5, 0, 10, 1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    std::vector<double> expected = samples;
    expected[0] = 19;
    expected[2] = 1;
    quarv::stats::winsorize(samples, 5);
    quarv::assert_true(samples == expected);

    std::vector<double> none;
    quarv::stats::winsorize(none, 5);
    quarv::assert_true(none.empty());
}

}  // namespace stats_ops
