// What a test body becomes when it is about to run.
#pragma once

#include <variant>

#include "quarv/test_desc.hpp"

namespace quarv::detail {

// A benchmark body: a static function or a callable that may run many times.
using BenchBody = std::variant<StaticBenchFn, DynamicBenchFn>;

class RunnableTest {
public:
    enum class Kind { StaticTest, DynamicTest, StaticBenchAsTest, DynamicBenchAsTest };

    RunnableTest(Kind kind, TestFn::Body body) : m_kind(kind), m_body(std::move(body)) {}
    Kind kind() const noexcept { return m_kind; }
    bool is_dynamic() const noexcept { return m_kind == Kind::DynamicTest || m_kind == Kind::DynamicBenchAsTest; }
    // Runs the body (a benchmark once, in SingleRun mode). Throws whatever the body throws.
    Result run();

private:
    Kind m_kind;
    TestFn::Body m_body;
};

struct RunnableBench {
    BenchBody body;
};

using Runnable = std::variant<RunnableTest, RunnableBench>;

Runnable into_runnable(TestFn body);

// The boundary between runner and body: every call of a test or benchmark body goes
// through these, which are never inlined so a stack trace can be cut at their frame.
Result invoke_test_body(const StaticTestFn& body);
Result invoke_test_body(DynamicTestFn& body);
Result invoke_bench_body(const BenchBody& body, Bencher& bencher);

}  // namespace quarv::detail
