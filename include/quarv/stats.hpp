// Statistics over sample sets, used for benchmark timings.
//
//   double xs[] = {1, 2, 3, 4};
//   quarv::Summary s = quarv::Summary::of(xs);   // s.median == 2.5
#pragma once

#include <array>
#include <span>

namespace quarv {

// Every statistic of one sample set. Built only by Summary::of, which requires at least
// one sample.
struct Summary {
    double sum = 0;
    double min = 0;
    double max = 0;
    double mean = 0;
    double median = 0;
    double var = 0;
    double std_dev = 0;
    double std_dev_pct = 0;
    double median_abs_dev = 0;
    double median_abs_dev_pct = 0;
    std::array<double, 3> quartiles{};
    double iqr = 0;

    static Summary of(std::span<const double> samples);
    bool operator==(const Summary&) const = default;
};

// The operations over a read-only sequence of samples. Order-based operations sort a
// private copy; none changes its input.
namespace stats {
double sum(std::span<const double> samples);
double min(std::span<const double> samples);
double max(std::span<const double> samples);
double mean(std::span<const double> samples);
double median(std::span<const double> samples);
double var(std::span<const double> samples);
double std_dev(std::span<const double> samples);
double std_dev_pct(std::span<const double> samples);
double median_abs_dev(std::span<const double> samples);
double median_abs_dev_pct(std::span<const double> samples);
double percentile(std::span<const double> samples, double pct);
std::array<double, 3> quartiles(std::span<const double> samples);
double iqr(std::span<const double> samples);

// The pct-th percentile of samples already in ascending order.
double percentile_of_sorted(std::span<const double> sorted, double pct);
// Stable ascending sort in IEEE 754 total order (NaNs sort by sign at the ends).
void local_sort(std::span<double> values);
// Clamps every sample to the pct-th and (100 - pct)-th percentiles, in place.
void winsorize(std::span<double> samples, double pct);
}  // namespace stats

}  // namespace quarv
