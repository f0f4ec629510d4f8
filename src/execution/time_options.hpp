// Execution-time limits per test kind, test and run durations, and their display.
#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

#include "quarv/test_desc.hpp"

namespace quarv::detail {

// A non-negative span with nanosecond resolution: whole seconds and nanoseconds below
// one second, ordered by seconds, then nanoseconds.
struct Duration {
    std::uint64_t secs = 0;
    std::uint32_t nanos = 0;

    static Duration from_millis(std::uint64_t ms) { return {ms / 1000, static_cast<std::uint32_t>((ms % 1000) * 1000000)}; }
    static Duration from_nanos(std::uint64_t ns) { return {ns / 1000000000, static_cast<std::uint32_t>(ns % 1000000000)}; }
    static Duration from_chrono(std::chrono::nanoseconds ns) { return from_nanos(ns.count() < 0 ? 0 : static_cast<std::uint64_t>(ns.count())); }
    double as_secs_f64() const { return static_cast<double>(secs) + static_cast<double>(nanos) / 1e9; }
    auto operator<=>(const Duration&) const = default;
};

using Instant = std::chrono::steady_clock::time_point;
inline Instant now() { return std::chrono::steady_clock::now(); }
inline Duration elapsed_since(Instant start) { return Duration::from_chrono(now() - start); }

struct TimeThreshold {
    Duration warn_at;
    Duration critical_at;
    bool operator==(const TimeThreshold&) const = default;

    // Reads "WARN_MS,CRITICAL_MS" from the named variable; absent when unset or not text.
    // A malformed value is a fatal error of the runner.
    static std::optional<TimeThreshold> from_env_var(const char* name);
};

// The interval after which a running test is reported as long-running.
inline constexpr std::uint64_t long_running_secs = 60;

struct TestTimeOptions {
    bool ensure_time = false;
    TimeThreshold unit_limits{Duration::from_millis(50), Duration::from_millis(100)};
    TimeThreshold integration_limits{Duration::from_millis(500), Duration::from_millis(1000)};
    TimeThreshold doctest_limits{Duration::from_millis(500), Duration::from_millis(1000)};
    bool operator==(const TestTimeOptions&) const = default;

    static TestTimeOptions new_from_env(bool ensure_time);
    Duration warn_time(const TestDesc& desc) const;
    Duration critical_time(const TestDesc& desc) const;
    bool is_warn(const TestDesc& desc, Duration exec_time) const { return exec_time >= warn_time(desc); }
    bool is_critical(const TestDesc& desc, Duration exec_time) const { return exec_time >= critical_time(desc); }
};

// The measured execution time of one test; displayed as seconds with three decimals ("0.012s").
struct TestExecTime {
    Duration duration;
    std::string to_string() const;
    bool operator==(const TestExecTime&) const = default;
};

// The wall time of a whole run; displayed with two decimals ("1.50s").
struct TestSuiteExecTime {
    Duration duration;
    std::string to_string() const;
};

}  // namespace quarv::detail
