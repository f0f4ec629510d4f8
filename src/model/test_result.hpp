// Outcomes of tests and the message that carries a finished test to the run loop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "execution/time_options.hpp"
#include "quarv/stats.hpp"
#include "quarv/test_desc.hpp"

namespace quarv::detail {

using TestId = std::uint64_t;

struct BenchOutcome {
    Summary summary;
    std::uint64_t megabytes_per_second = 0;
    bool operator==(const BenchOutcome&) const = default;
};

class TestResult {
public:
    enum class Kind { Passed, Failed, FailedWithMessage, Ignored, Benchmarked, FailedTimeLimit };

    static TestResult passed() { return TestResult(Kind::Passed); }
    static TestResult failed() { return TestResult(Kind::Failed); }
    static TestResult failed_with_message(std::string message) {
        TestResult r(Kind::FailedWithMessage);
        r.m_message = std::move(message);
        return r;
    }
    static TestResult ignored() { return TestResult(Kind::Ignored); }
    static TestResult benchmarked(BenchOutcome outcome) {
        TestResult r(Kind::Benchmarked);
        r.m_bench = outcome;
        return r;
    }
    static TestResult failed_time_limit() { return TestResult(Kind::FailedTimeLimit); }

    Kind kind() const noexcept { return m_kind; }
    // The explanation of FailedWithMessage.
    const std::string& message() const noexcept { return m_message; }
    // The measurements of Benchmarked.
    const BenchOutcome& bench() const noexcept { return *m_bench; }
    // Failed, FailedWithMessage and FailedTimeLimit count as failures.
    bool is_failure() const noexcept {
        return m_kind == Kind::Failed || m_kind == Kind::FailedWithMessage || m_kind == Kind::FailedTimeLimit;
    }
    bool operator==(const TestResult&) const = default;

private:
    explicit TestResult(Kind kind) : m_kind(kind) {}
    Kind m_kind;
    std::string m_message;
    std::optional<BenchOutcome> m_bench;
};

struct CompletedTest {
    TestId test_id = 0;
    TestDesc descriptor;
    TestResult outcome = TestResult::passed();
    std::optional<TestExecTime> elapsed;
    std::string captured_output;  // raw bytes
};

}  // namespace quarv::detail
