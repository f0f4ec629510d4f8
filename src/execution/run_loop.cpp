#include "execution/run_loop.hpp"

#include <deque>
#include <map>

#include "execution/concurrency.hpp"
#include "execution/run_test.hpp"
#include "model/outcome_rules.hpp"
#include "platform/fatal.hpp"
#include "selection/filter.hpp"
#include "selection/shard.hpp"
#include "selection/shuffle.hpp"

namespace quarv::detail {

namespace {

struct TimeoutEntry {
    TestId test_id;
    TestDesc descriptor;
    Instant deadline;
};

// The run's channel. The queue is shared with every sender and is never closed: tests
// still running when the loop returns early (fail-fast, an output error) deliver their
// outcomes into it unread instead of failing, and it goes away with the last sender.
struct Receiver {
    std::shared_ptr<CompletionQueue> queue = std::make_shared<CompletionQueue>();
    CompletionSender sender() const { return CompletionSender(queue); }
};

CompletedTest join_running(std::optional<WorkerThread> thread, CompletedTest completed) {
    if (thread) completed.outcome = apply_late_failure(std::move(completed.outcome), thread->join());
    return completed;
}

std::optional<std::chrono::nanoseconds> calc_timeout(const std::deque<TimeoutEntry>& queue) {
    if (queue.empty()) return std::nullopt;
    Instant current = now();
    if (queue.front().deadline < current) return std::chrono::nanoseconds(0);
    return queue.front().deadline - current;
}

std::vector<TestDesc> get_timed_out_tests(const std::map<TestId, std::optional<WorkerThread>>& running,
                                          std::deque<TimeoutEntry>& queue) {
    std::vector<TestDesc> timed_out;
    Instant current = now();
    while (!queue.empty() && queue.front().deadline <= current) {
        TimeoutEntry entry = std::move(queue.front());
        queue.pop_front();
        if (running.count(entry.test_id)) timed_out.push_back(std::move(entry.descriptor));
    }
    return timed_out;
}

#define QUARV_EMIT(event) QUARV_TRY_IO(notify(event))

}  // namespace

IoResult<> run_tests(const TestOpts& opts, std::vector<TestDescAndFn> tests, const TestEventCallback& notify,
                     LongRunningPolicy long_running) {
    std::size_t received = tests.size();
    std::vector<TestDescAndFn> selected = filter_tests(opts, std::move(tests));
    if (!opts.measure_benchmarks) selected = convert_benchmarks_to_tests(std::move(selected));
    // Under TEST_TOTAL_SHARDS / TEST_SHARD_INDEX only this process's share stays; the rest
    // counts as filtered out.
    selected = apply_shard_from_env(std::move(selected));

    FilteredTests filtered;
    filtered.tests.reserve(selected.size());
    for (TestDescAndFn& test : selected) {
        test.descriptor.name = test.descriptor.name.with_padding(test.body.padding());
        if (test.body.is_bench()) {
            filtered.add_bench(std::move(test.descriptor), std::move(test.body));
        } else {
            filtered.add_test(std::move(test.descriptor), std::move(test.body));
        }
    }

    QUARV_EMIT(FilteredOutCount{received - filtered.total_len()});
    std::optional<std::uint64_t> seed = get_shuffle_seed(opts);
    QUARV_EMIT((RunPlanned{filtered.total_len(), seed}));
    std::size_t concurrency = opts.test_threads ? *opts.test_threads : get_concurrency();
    if (seed) shuffle_tests(*seed, filtered.tests);

    std::deque<NumberedTest> pending(std::make_move_iterator(filtered.tests.begin()),
                                     std::make_move_iterator(filtered.tests.end()));
    Receiver receiver;
    ExecutionMode mode = opts.run_options.abort_on_panic && !opts.force_run_in_process ? ExecutionMode::ChildProcess
                                                                                         : ExecutionMode::InProcess;
    bool force_ignore = !opts.execute_tests;

    if (concurrency == 1) {
        while (!pending.empty()) {
            NumberedTest next = std::move(pending.front());
            pending.pop_front();
            QUARV_EMIT(TestStarting{next.second.descriptor});
            auto thread = run_test(opts, force_ignore, next.first, std::move(next.second), mode, receiver.sender());
            // With one test at a time its worker's exit follows its only message, so
            // joining first and then taking the waiting message costs one wake-up, not two.
            bool thread_failed = thread && thread->join();
            CompletedTest completed = receiver.queue->recv();
            completed.outcome = apply_late_failure(std::move(completed.outcome), thread_failed);
            bool stop = completed.outcome.is_failure() && opts.fail_fast;
            QUARV_EMIT(TestCompleted{std::move(completed)});
            if (stop) return {};
        }
    } else {
        std::map<TestId, std::optional<WorkerThread>> running;
        std::deque<TimeoutEntry> timeout_queue;
        std::size_t in_flight = 0;
        while (in_flight > 0 || !pending.empty()) {
            while (in_flight < concurrency && !pending.empty()) {
                NumberedTest next = std::move(pending.front());
                pending.pop_front();
                Instant deadline = now() + long_running.interval;
                TestDesc descriptor = next.second.descriptor;
                QUARV_EMIT(TestStarting{descriptor});
                auto thread = run_test(opts, force_ignore, next.first, std::move(next.second), mode, receiver.sender());
                running.emplace(next.first, std::move(thread));
                timeout_queue.push_back(TimeoutEntry{next.first, std::move(descriptor), deadline});
                ++in_flight;
            }
            std::optional<CompletedTest> received_test;
            while (!received_test) {
                if (auto timeout = calc_timeout(timeout_queue)) {
                    received_test = receiver.queue->recv_timeout(*timeout);
                    for (TestDesc& desc : get_timed_out_tests(running, timeout_queue)) {
                        QUARV_EMIT(TestRunningLong{std::move(desc)});
                    }
                } else {
                    received_test = receiver.queue->recv();
                }
            }
            auto entry = running.find(received_test->test_id);
            if (entry == running.end()) fatal_error("internal error: a finished test was not among the running tests");
            std::optional<WorkerThread> thread = std::move(entry->second);
            running.erase(entry);
            CompletedTest completed = join_running(std::move(thread), std::move(*received_test));
            bool stop = completed.outcome.is_failure() && opts.fail_fast;
            QUARV_EMIT(TestCompleted{std::move(completed)});
            --in_flight;
            if (stop) return {};
        }
    }

    if (opts.measure_benchmarks) {
        for (NumberedTest& bench : filtered.benchmarks) {
            QUARV_EMIT(TestStarting{bench.second.descriptor});
            auto thread = run_test(opts, false, bench.first, std::move(bench.second), mode, receiver.sender());
            CompletedTest completed = join_running(std::move(thread), receiver.queue->recv());
            QUARV_EMIT(TestCompleted{std::move(completed)});
        }
    }
    return {};
}

#undef QUARV_EMIT

}  // namespace quarv::detail
