#include "bench/fmt_bench.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace quarv::detail {
namespace {

std::string format_double(const char* format, double value) {
    char text[400];
    int length = std::snprintf(text, sizeof text, format, value);
    if (length < 0) return {};
    return std::string(text, static_cast<std::size_t>(length) < sizeof text ? static_cast<std::size_t>(length) : sizeof text - 1);
}

// The number of whole `base`s in n: the integer part of n (saturated to 64 bits) divided
// by base. Above the 64-bit range the quotient is taken in floating point instead, so a
// huge figure is still printed in the right order of magnitude.
std::string whole_groups(double n, std::uint64_t base) {
    if (n < 18446744073709551616.0) {
        return std::to_string(static_cast<std::uint64_t>(n) / base);
    }
    return format_double("%.0f", std::floor(n / static_cast<double>(base)));
}

std::string three_digits(double n, std::uint64_t base) {
    char text[8];
    std::snprintf(text, sizeof text, "%03u", static_cast<unsigned>((static_cast<std::uint64_t>(n) / base) % 1000));
    return text;
}

std::string fmt_non_negative(double n) {
    // A last group that rounds to 1000.00 is carried into the group before it: n is moved
    // up to the next multiple of 1000 (exact, as such values are below 2^53), so no group
    // ever reads 1000.00 and 999.996 is shown as 1,000.00.
    double last = std::fmod(n, 1000.0);
    if (format_double("%.2f", last) == "1000.00") n = (n - last) + 1000.0;

    std::string out;
    bool trailing = false;
    for (int p : {9, 6, 3, 0}) {
        std::uint64_t base = 1;
        for (int i = 0; i < p; ++i) base *= 10;
        if (p == 0) {
            out += format_double(trailing ? "%06.2f" : "%.2f", n);
        } else if (trailing) {
            out += three_digits(n, base);
            out += ',';
        } else if (n / static_cast<double>(base) >= 1.0) {
            out += whole_groups(n, base);
            out += ',';
            trailing = true;
        }
        n = std::fmod(n, static_cast<double>(base));
    }
    return out;
}

}  // namespace

// Groups of three digits separated by commas, two decimals. Negative values get a
// leading '-' before the groups of their magnitude; NaN and infinities read "NaN",
// "inf" and "-inf".
std::string fmt_thousands_sep(double n) {
    if (std::isnan(n)) return "NaN";
    if (std::isinf(n)) return n > 0 ? "inf" : "-inf";
    if (std::signbit(n) && n != 0.0) return "-" + fmt_non_negative(-n);
    return fmt_non_negative(std::fabs(n));
}

std::string fmt_bench_samples(const BenchOutcome& outcome) {
    std::string median = fmt_thousands_sep(outcome.summary.median);
    std::string deviation = fmt_thousands_sep(outcome.summary.max - outcome.summary.min);
    std::string out;
    if (median.size() < 14) out.append(14 - median.size(), ' ');
    out += median;
    out += " ns/iter (+/- ";
    out += deviation;
    out += ')';
    if (outcome.megabytes_per_second != 0) {
        out += " = ";
        out += std::to_string(outcome.megabytes_per_second);
        out += " MB/s";
    }
    return out;
}

}  // namespace quarv::detail
