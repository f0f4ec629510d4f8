#include "driver/child_entry.hpp"

#include <iostream>

#include "bench/benchmark.hpp"
#include "execution/child_process.hpp"
#include "execution/run_test.hpp"
#include "platform/child_setup.hpp"
#include "platform/env.hpp"
#include "platform/thread_info.hpp"
#include "selection/filter.hpp"

namespace quarv::detail {

std::optional<std::string> requested_child_test() {
    EnvValue name = env_var(invoke_env_name);
    if (!name.is_set()) return std::nullopt;
    return name.value;
}

void run_child_test(const std::string& name, std::vector<TestDescAndFn> tests) {
    bool measure_benchmarks = env_text(bench_env_name) == "1";
    const char* const protocol[] = {invoke_env_name, bench_env_name};
    prepare_child_process(protocol, 2);

    std::vector<TestDescAndFn> selected;
    for (TestDescAndFn& test : tests) {
        if (test.descriptor.name.as_slice() == name) {
            selected.push_back(std::move(test));
            break;
        }
    }
    if (selected.empty()) {
        std::cerr << "error: no test named `" << name << "` in this executable\n";
        exit_child_process(101);
    }
    if (!measure_benchmarks) selected = convert_benchmarks_to_tests(std::move(selected));

    // Failure reports name the test, as they do when it runs on a worker thread.
    set_current_thread_name(name);
    auto queue = std::make_shared<CompletionQueue>();
    CompletionSender sender(queue);
    const TestDesc& desc = selected.front().descriptor;
    Runnable runnable = into_runnable(std::move(selected.front().body));
    if (auto* bench = std::get_if<RunnableBench>(&runnable)) {
        benchmark(0, desc, sender, true, bench->body);
    } else {
        run_test_in_process(0, desc, true, std::move(std::get<RunnableTest>(runnable)), sender, std::nullopt);
    }
    TestResult outcome = queue->recv().outcome;
    bool passed = outcome.kind() == TestResult::Kind::Passed || outcome.kind() == TestResult::Kind::Benchmarked;
    if (outcome.kind() == TestResult::Kind::FailedWithMessage) std::cerr << outcome.message() << '\n';
    if (!passed) abort_child_process();
    exit_child_process(child_success_code);
}

}  // namespace quarv::detail
