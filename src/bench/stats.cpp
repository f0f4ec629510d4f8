// Statistics over sample sets. Every operation reads its input and never changes it;
// the order-based ones sort a private copy (sample sets are small: one benchmark's
// timings), so no sorted copy is shared between operations.
#include "quarv/stats.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "quarv/assert.hpp"

namespace quarv {
namespace {

// Internal-invariant failures end the computation on the calling thread with `message`,
// so a test or benchmark that passes bad input fails with it instead of crashing.
[[noreturn]] void invariant_failed(const char* message, SourceLocation where = SourceLocation::current()) {
    throw Panic(message, where);
}

// A key whose signed integer order is the IEEE 754 total order of the doubles: negative
// values have their magnitude bits flipped so that larger magnitudes sort lower.
std::int64_t total_order_key(double x) {
    auto bits = std::bit_cast<std::int64_t>(x);
    return bits ^ static_cast<std::int64_t>(static_cast<std::uint64_t>(bits >> 63) >> 1);
}

std::vector<double> sorted_copy(std::span<const double> samples) {
    std::vector<double> copy(samples.begin(), samples.end());
    stats::local_sort(copy);
    return copy;
}

}  // namespace

namespace stats {

void local_sort(std::span<double> values) {
    std::stable_sort(values.begin(), values.end(),
                     [](double a, double b) { return total_order_key(a) < total_order_key(b); });
}

// Exact summation: the running total is kept as a list of non-overlapping partial sums,
// each the rounding error of the one after it, so no low-order bits are lost until the
// partials are added up at the end.
double sum(std::span<const double> samples) {
    std::vector<double> partials;
    for (double x : samples) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < partials.size(); ++i) {
            double y = partials[i];
            if (std::fabs(x) < std::fabs(y)) std::swap(x, y);
            double hi = x + y;
            double lo = y - (hi - x);
            if (lo != 0.0) partials[j++] = lo;  // a NaN lo is kept too
            x = hi;
        }
        if (j >= partials.size()) {
            partials.push_back(x);
        } else {
            partials[j] = x;
            partials.resize(j + 1);
        }
    }
    double total = 0.0;
    for (double p : partials) total += p;
    return total;
}

// NaN-ignoring minimum: a NaN running value is replaced, a NaN sample is skipped, and an
// equal sample (such as +0 after -0) keeps the running value. NaN for no samples.
double min(std::span<const double> samples) {
    if (samples.empty()) return std::numeric_limits<double>::quiet_NaN();
    double running = samples.front();
    for (double x : samples) {
        if (std::isnan(running) || (!std::isnan(x) && x < running)) running = x;
    }
    return running;
}

double max(std::span<const double> samples) {
    if (samples.empty()) return std::numeric_limits<double>::quiet_NaN();
    double running = samples.front();
    for (double x : samples) {
        if (std::isnan(running) || (!std::isnan(x) && x > running)) running = x;
    }
    return running;
}

double mean(std::span<const double> samples) { return sum(samples) / static_cast<double>(samples.size()); }

double median(std::span<const double> samples) { return percentile(samples, 50.0); }

// Sample variance with divisor n - 1; 0 for one sample, NaN for none.
double var(std::span<const double> samples) {
    if (samples.empty()) return std::numeric_limits<double>::quiet_NaN();
    if (samples.size() == 1) return 0.0;
    double m = mean(samples);
    double total = 0.0;
    for (double x : samples) total += (x - m) * (x - m);
    return total / static_cast<double>(samples.size() - 1);
}

double std_dev(std::span<const double> samples) { return std::sqrt(var(samples)); }

double std_dev_pct(std::span<const double> samples) { return (std_dev(samples) / mean(samples)) * 100.0; }

// The median absolute deviation from the median, scaled by 1.4826 so that it estimates
// the standard deviation of normally distributed samples.
double median_abs_dev(std::span<const double> samples) {
    double m = median(samples);
    std::vector<double> deviations;
    deviations.reserve(samples.size());
    for (double x : samples) deviations.push_back(std::fabs(m - x));
    return median(deviations) * 1.4826;
}

double median_abs_dev_pct(std::span<const double> samples) {
    return (median_abs_dev(samples) / median(samples)) * 100.0;
}

double percentile(std::span<const double> samples, double pct) {
    std::vector<double> copy = sorted_copy(samples);
    return percentile_of_sorted(copy, pct);
}

std::array<double, 3> quartiles(std::span<const double> samples) {
    std::vector<double> copy = sorted_copy(samples);
    return {percentile_of_sorted(copy, 25.0), percentile_of_sorted(copy, 50.0), percentile_of_sorted(copy, 75.0)};
}

double iqr(std::span<const double> samples) {
    std::array<double, 3> q = quartiles(samples);
    return q[2] - q[0];
}

// Linear interpolation between the two samples around rank pct/100 * (n - 1). A rank
// that rounds up to the last index (pct just below 100) gives the last sample.
double percentile_of_sorted(std::span<const double> sorted, double pct) {
    if (sorted.empty()) invariant_failed("assertion failed: !sorted_samples.is_empty()");
    if (sorted.size() == 1) return sorted.front();
    if (!(pct >= 0.0)) invariant_failed("assertion failed: zero <= pct");
    if (pct > 100.0) invariant_failed("assertion failed: pct <= hundred");
    if (pct == 100.0) return sorted.back();
    double rank = (pct / 100.0) * static_cast<double>(sorted.size() - 1);
    double lower = std::floor(rank);
    double d = rank - lower;
    auto i = static_cast<std::size_t>(lower);
    if (i + 1 >= sorted.size()) return sorted.back();
    return sorted[i] + (sorted[i + 1] - sorted[i]) * d;
}

// Clamps each sample into [the pct-th percentile, the (100 - pct)-th percentile] of the
// set, keeping the samples' order, so that a few outliers (a preempted sample, a cold
// cache) cannot dominate the spread. NaN samples are left as they are. pct must lie in
// 0 to 100 (values above 50 swap the bounds' roles and clamp everything to the median
// region); an empty set is left alone.
void winsorize(std::span<double> samples, double pct) {
    if (samples.empty()) return;
    std::vector<double> copy = sorted_copy(samples);
    double lo = percentile_of_sorted(copy, pct);
    double hi = percentile_of_sorted(copy, 100.0 - pct);
    if (hi < lo) std::swap(lo, hi);
    for (double& x : samples) {
        if (x < lo) x = lo;
        else if (x > hi) x = hi;
    }
}

}  // namespace stats

// Each field is computed by its own operation on the whole input; sum comes first so
// that an empty input is only rejected after it, as for every other caller of sum.
Summary Summary::of(std::span<const double> samples) {
    Summary s;
    s.sum = stats::sum(samples);
    if (samples.empty()) invariant_failed("assertion failed: !self.is_empty()");
    s.min = stats::min(samples);
    s.max = stats::max(samples);
    s.mean = stats::mean(samples);
    s.median = stats::median(samples);
    s.var = stats::var(samples);
    s.std_dev = stats::std_dev(samples);
    s.std_dev_pct = stats::std_dev_pct(samples);
    s.median_abs_dev = stats::median_abs_dev(samples);
    s.median_abs_dev_pct = stats::median_abs_dev_pct(samples);
    s.quartiles = stats::quartiles(samples);
    s.iqr = stats::iqr(samples);
    return s;
}

}  // namespace quarv
