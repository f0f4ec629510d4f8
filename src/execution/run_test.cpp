#include "execution/run_test.hpp"

#include <mutex>

#include "bench/benchmark.hpp"
#include "execution/caught_failure.hpp"
#include "model/outcome_rules.hpp"
#include "platform/capture.hpp"
#include "platform/fatal.hpp"

namespace quarv::detail {

namespace {

void send_or_die(const CompletionSender& sender, CompletedTest message) {
    if (!sender.send(std::move(message))) fatal_error("failed to report test result: the run loop is gone");
}

// Runs the body, turning a returned failure or anything thrown into its payload.
BodyOutcome run_catching(const TestDesc& desc, RunnableTest& runnable) {
    try {
        Result result = runnable.run();
        if (result.is_ok()) return std::nullopt;
        return FailurePayload{true, result.take_error(), {}};
    } catch (...) {
        return report_current_exception(desc);
    }
}

}  // namespace

void run_test_in_process(TestId id, const TestDesc& desc, bool nocapture, RunnableTest runnable,
                         const CompletionSender& sender, const std::optional<TestTimeOptions>& time_options) {
    CaptureHandle buffer = std::make_shared<CaptureBuffer>();
    if (!nocapture) set_output_capture(buffer);
    std::optional<Instant> start;
    if (time_options) start = now();
    BodyOutcome body = run_catching(desc, runnable);
    std::optional<TestExecTime> elapsed;
    if (start) elapsed = TestExecTime{elapsed_since(*start)};
    set_output_capture(nullptr);
    TestResult outcome = calc_result(desc, body, time_options, elapsed);
    send_or_die(sender, CompletedTest{id, desc, std::move(outcome), elapsed, buffer->bytes()});
}

std::optional<WorkerThread> run_test(const TestOpts& opts, bool force_ignore, TestId id, TestDescAndFn test,
                                     ExecutionMode mode, CompletionSender sender) {
    TestDesc& desc = test.descriptor;
    if (force_ignore || desc.ignore) {
        send_or_die(sender, CompletedTest{id, std::move(desc), TestResult::ignored(), std::nullopt, {}});
        return std::nullopt;
    }
    Runnable runnable = into_runnable(std::move(test.body));
    if (auto* bench = std::get_if<RunnableBench>(&runnable)) {
        benchmark(id, desc, sender, opts.nocapture, bench->body);
        return std::nullopt;
    }
    RunnableTest& runnable_test = std::get<RunnableTest>(runnable);
    if (runnable_test.is_dynamic() && mode != ExecutionMode::InProcess) {
        fatal_error("Cannot run dynamic test fn out-of-process");
    }

    // The job: taken exactly once, by the worker thread or, when no thread can be
    // started, by this thread.
    struct Job {
        TestId id;
        TestDesc desc;
        RunnableTest runnable;
        CompletionSender sender;
        ExecutionMode mode;
        bool nocapture;
        std::optional<TestTimeOptions> time_options;
        bool measure_benchmarks;
    };
    struct JobSlot {
        std::mutex mutex;
        std::optional<Job> job;
        std::optional<Job> take() {
            std::lock_guard lock(mutex);
            return std::exchange(job, std::nullopt);
        }
    };
    auto slot = std::make_shared<JobSlot>();
    std::string thread_name(desc.name.as_slice());
    slot->job.emplace(Job{id, std::move(desc), std::move(runnable_test), std::move(sender), mode, opts.nocapture,
                          opts.time_options, opts.measure_benchmarks});
    auto run_job = [slot] {
        std::optional<Job> job = slot->take();
        if (!job) return;
        if (job->mode == ExecutionMode::InProcess) {
            run_test_in_process(job->id, job->desc, job->nocapture, std::move(job->runnable), job->sender,
                                job->time_options);
        } else {
            spawn_test_subprocess(job->id, job->desc, job->nocapture, job->sender, job->time_options,
                                  job->measure_benchmarks);
        }
    };
    auto started = WorkerThread::start(thread_name, run_job);
    if (started) return std::move(started).value();
    if (started.error() == std::errc::resource_unavailable_try_again) {
        run_job();
        return std::nullopt;
    }
    fatal_error("failed to spawn thread to run test: " + started.error().message());
}

}  // namespace quarv::detail
