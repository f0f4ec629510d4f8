#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "cli/parse_opts.hpp"
#include "driver/child_entry.hpp"
#include "driver/console_run.hpp"
#include "platform/capture.hpp"
#include "platform/fatal.hpp"
#include "platform/stdout_stream.hpp"
#include "quarv/registry.hpp"
#include "quarv/runner.hpp"

namespace quarv {

namespace {

// Opens any of the three standard descriptors that is closed on /dev/null, so that the
// runner's writes never land in a file it opened itself, and ignores SIGPIPE so that a
// reader that went away shows up as a write error instead of killing the process.
void prepare_process() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != fd) {
                ::dup2(opened, fd);
                ::close(opened);
            }
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    detail::stdout_use_line_buffering();
}

void write_stderr(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

[[noreturn]] void exit_with_io_error(const detail::IoError& error) {
    write_stderr("error: io error when listing tests: " + error.describe() + "\n");
    detail::exit_process(101);
}

}  // namespace

void test_main_with_exit_callback(const std::vector<std::string>& args, std::vector<TestDescAndFn> tests,
                                  std::optional<RunOptions> options, const std::function<void()>& exit_callback) {
    prepare_process();
    detail::OptionsResult parsed = detail::parse_opts(args);
    if (std::holds_alternative<detail::OptionsHelp>(parsed)) return;
    if (auto* invalid = std::get_if<detail::OptionsInvalid>(&parsed)) {
        write_stderr("error: " + invalid->message + "\n");
        detail::exit_process(101);
    }
    detail::TestOpts opts = std::get<detail::TestOpts>(std::move(parsed));
    if (options) opts.run_options = *options;

    if (opts.list) {
        auto listed = detail::list_tests_console(opts, std::move(tests));
        if (!listed) exit_with_io_error(listed.error());
        return;
    }

    if (!opts.nocapture) {
        detail::install_stream_capture();
        detail::install_failure_hook();
    }
    auto result = detail::run_tests_console(opts, std::move(tests));
    detail::remove_failure_hook();
    exit_callback();
    if (!result) exit_with_io_error(result.error());
    if (!*result) detail::exit_process(101);
}

void test_main(const std::vector<std::string>& args, std::vector<TestDescAndFn> tests, std::optional<RunOptions> options) {
    test_main_with_exit_callback(args, std::move(tests), options, [] {});
}

void test_main_static(int argc, char** argv, std::optional<RunOptions> options) {
    std::vector<std::string> args(argv, argv + argc);
    std::vector<TestDescAndFn> tests = sorted_registry();
    for (const TestDescAndFn& test : tests) {
        TestFn::Kind kind = test.body.kind();
        if (kind != TestFn::Kind::StaticTest && kind != TestFn::Kind::StaticBench) {
            detail::fatal_error("non-static tests passed to quarv::test_main_static");
        }
    }
    if (auto child_test = detail::requested_child_test()) detail::run_child_test(*child_test, std::move(tests));
    test_main(args, std::move(tests), options);
    detail::exit_process(0);
}

}  // namespace quarv
