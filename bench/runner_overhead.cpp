// The runner's cost per test: 10,000 empty tests run through the whole runner (verbose
// output to /dev/null) at 1 and 2 threads, beside the cost of starting and joining one
// bare thread, which is the floor of a design that starts one thread per test.
//
//   cmake --build build --target runner_overhead && build/bin/runner_overhead [COUNT [OPTION...]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <quarv/quarv.hpp>

namespace {

int test_count = 10000;  // argv[1] overrides, for profiling runs

double micros_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

double bare_thread_micros() {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < test_count; ++i) std::thread([] {}).join();
    return micros_since(start) / test_count;
}

std::vector<quarv::TestDescAndFn> empty_tests() {
    std::vector<quarv::TestDescAndFn> tests;
    tests.reserve(test_count);
    for (int i = 0; i < test_count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "overhead::t%05d", i);
        tests.push_back({quarv::TestDesc::named(name), quarv::TestFn::dynamic_test([] { return quarv::ok(); })});
    }
    return tests;
}

std::vector<std::string> extra_args;  // argv[2...]: more runner options, for experiments

// Runs the tests with stdout on /dev/null and returns microseconds per test.
double runner_micros(int threads) {
    std::vector<quarv::TestDescAndFn> tests = empty_tests();
    std::fflush(stdout);
    int saved = ::dup(STDOUT_FILENO);
    int null_fd = ::open("/dev/null", O_WRONLY);
    ::dup2(null_fd, STDOUT_FILENO);
    ::close(null_fd);
    auto start = std::chrono::steady_clock::now();
    std::vector<std::string> args{"runner_overhead", "--test-threads", std::to_string(threads)};
    args.insert(args.end(), extra_args.begin(), extra_args.end());
    quarv::test_main(args, std::move(tests), std::nullopt);
    std::fflush(stdout);
    double per_test = micros_since(start) / test_count;
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    return per_test;
}

}  // namespace

// Best of three, so a burst of load on the machine does not decide the figure.
template <class F>
double best_of_three(F measure) {
    double best = measure();
    for (int i = 0; i < 2; ++i) best = std::min(best, measure());
    return best;
}

int main(int argc, char** argv) {
    if (argc > 1) test_count = std::max(1, std::atoi(argv[1]));
    for (int i = 2; i < argc; ++i) extra_args.emplace_back(argv[i]);
    double floor = best_of_three(bare_thread_micros);
    std::printf("bare thread start+join: %8.2f us\n", floor);
    for (int threads : {1, 2}) {
        double per_test = best_of_three([&] { return runner_micros(threads); });
        std::printf("runner, %d thread(s):    %8.2f us per test (%+.2f us beyond the bare thread)\n", threads, per_test,
                    per_test - floor);
    }
    return 0;
}
