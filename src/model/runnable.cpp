#include "model/runnable.hpp"

#include "bench/benchmark.hpp"
#include "quarv/bencher.hpp"

namespace quarv::detail {

[[gnu::noinline]] Result invoke_test_body(const StaticTestFn& body) { return black_box(body()); }

[[gnu::noinline]] Result invoke_test_body(DynamicTestFn& body) { return black_box(body()); }

[[gnu::noinline]] Result invoke_bench_body(const BenchBody& body, Bencher& bencher) {
    if (auto* f = std::get_if<StaticBenchFn>(&body)) return black_box((*f)(bencher));
    return black_box(std::get<DynamicBenchFn>(body)(bencher));
}

namespace {
BenchBody to_bench_body(TestFn::Body body) {
    if (auto* f = std::get_if<StaticBenchFn>(&body)) return *f;
    return std::get<DynamicBenchFn>(std::move(body));
}
}  // namespace

Result RunnableTest::run() {
    switch (m_kind) {
        case Kind::StaticTest: return invoke_test_body(std::get<StaticTestFn>(m_body));
        case Kind::DynamicTest: {
            DynamicTestFn body = std::get<DynamicTestFn>(std::move(m_body));
            m_body = StaticTestFn{nullptr};
            return invoke_test_body(body);
        }
        case Kind::StaticBenchAsTest:
        case Kind::DynamicBenchAsTest: {
            BenchBody body = to_bench_body(std::move(m_body));
            m_body = StaticTestFn{nullptr};
            return run_once(body);
        }
    }
    return ok();
}

Runnable into_runnable(TestFn body) {
    TestFn::Kind kind = body.kind();
    TestFn::Body callable = std::move(body).take_callable();
    switch (kind) {
        case TestFn::Kind::StaticTest: return RunnableTest(RunnableTest::Kind::StaticTest, std::move(callable));
        case TestFn::Kind::DynamicTest: return RunnableTest(RunnableTest::Kind::DynamicTest, std::move(callable));
        case TestFn::Kind::StaticBenchAsTest:
            return RunnableTest(RunnableTest::Kind::StaticBenchAsTest, std::move(callable));
        case TestFn::Kind::DynamicBenchAsTest:
            return RunnableTest(RunnableTest::Kind::DynamicBenchAsTest, std::move(callable));
        case TestFn::Kind::StaticBench:
        case TestFn::Kind::DynamicBench: return RunnableBench{to_bench_body(std::move(callable))};
    }
    return RunnableBench{to_bench_body(std::move(callable))};
}

}  // namespace quarv::detail
