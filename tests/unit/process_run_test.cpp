// The process facility: exit statuses, separate and deadlock-free output collection, the
// environment and standard input of the child, and the errors of a child that cannot start.
#include <quarv/quarv.hpp>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <set>
#include <unistd.h>

#include "platform/process.hpp"

namespace process {

using quarv::detail::ChildStdio;
using quarv::detail::ProcessCommand;
using quarv::detail::ProcessOutput;
using quarv::detail::run_process;

ProcessCommand shell(std::string script) { return ProcessCommand{"/bin/sh", {"-c", std::move(script)}, {}, {}, ChildStdio::Captured}; }

ProcessOutput run_ok(const ProcessCommand& command) {
    auto done = run_process(command);
    quarv::assert_true(done.has_value(), done ? "" : done.error().describe());
    return std::move(done).value();
}

QUARV_TEST(reports_exit_codes_and_signals) {
    struct Case {
        const char* script;
        std::optional<int> code;
        std::optional<int> signal;
    };
    const Case cases[] = {
        {"exit 0", 0, std::nullopt},       {"exit 3", 3, std::nullopt},       {"exit 50", 50, std::nullopt},
        {"kill -ABRT $$", std::nullopt, 6}, {"kill -SEGV $$", std::nullopt, 11}, {"kill -PIPE $$", std::nullopt, 13},
    };
    for (const Case& c : cases) {
        ProcessOutput done = run_ok(shell(c.script));
        quarv::assert_true(done.exit.code == c.code && done.exit.signal == c.signal, c.script);
    }
}

// Each stream far beyond a pipe's capacity, in both orders and interleaved: reading one
// pipe to its end before the other would leave the child blocked on a full pipe.
QUARV_TEST(collects_large_output_of_both_streams_in_any_order) {
    const char* scripts[] = {
        "head -c 1048576 /dev/zero | tr '\\0' e >&2; head -c 1048576 /dev/zero | tr '\\0' o",
        "head -c 1048576 /dev/zero | tr '\\0' o; head -c 1048576 /dev/zero | tr '\\0' e >&2",
        ("i=0; while [ $i -lt 12 ]; do head -c 100000 /dev/zero | tr '\\0' o; head -c 100000 /dev/zero | tr '\\0' e >&2;"
         " i=$((i+1)); done"),
    };
    for (const char* script : scripts) {
        ProcessOutput done = run_ok(shell(script));
        quarv::assert_true(done.exit.code == std::optional<int>(0), script);
        quarv::assert_true(done.stdout_bytes.size() >= 1048576 && done.stdout_bytes.find_first_not_of('o') == std::string::npos,
                           script);
        quarv::assert_true(done.stdout_bytes.size() == done.stderr_bytes.size(), script);
        quarv::assert_true(done.stderr_bytes.find_first_not_of('e') == std::string::npos, script);
    }
}

QUARV_TEST(keeps_the_streams_apart) {
    ProcessOutput done = run_ok(shell("printf a; printf b >&2; printf c"));
    quarv::assert_eq(done.stdout_bytes, std::string("ac"));
    quarv::assert_eq(done.stderr_bytes, std::string("b"));
}

QUARV_TEST(standard_input_is_empty) {
    ProcessOutput done = run_ok(shell("wc -c"));
    quarv::assert_eq(done.stdout_bytes, std::string("0\n"));
}

QUARV_TEST(inherited_streams_collect_nothing) {
    ProcessCommand command = shell(":");
    command.stdio = ChildStdio::Inherited;
    ProcessOutput done = run_ok(command);
    quarv::assert_true(done.exit.code == std::optional<int>(0));
    quarv::assert_eq(done.stdout_bytes + done.stderr_bytes, std::string());
}

// A replaced variable appears once with the new value, a removed one is gone, an added
// one arrives intact; the arguments follow argv[0], which is the program as given.
QUARV_TEST(child_environment_and_arguments) {
    ProcessCommand command = shell("printf '%s|%s|' \"$QUARV_PROBE\" \"$0\"; env | grep -c -e '^HOME=' -e '^PATH=/bin:/usr/bin$'");
    command.env_set = {{"QUARV_PROBE", "a=b c"}, {"PATH", "/bin:/usr/bin"}};
    command.env_remove = {"HOME"};
    ProcessOutput done = run_ok(command);
    quarv::assert_eq(done.stdout_bytes, std::string("a=b c|/bin/sh|1\n"));
}

// A process the child leaves running in the background keeps the pipes open; the
// collection still ends when the child itself has exited.
QUARV_TEST(does_not_wait_for_background_processes_holding_the_pipes) {
    auto start = std::chrono::steady_clock::now();
    ProcessOutput done = run_ok(shell("sleep 3 & echo started"));
    auto took = std::chrono::steady_clock::now() - start;
    quarv::assert_eq(done.stdout_bytes, std::string("started\n"));
    quarv::assert_true(took < std::chrono::seconds(2), "waited for the background process");
}

QUARV_TEST(a_program_that_cannot_start_is_an_error) {
    struct Case {
        const char* program;
        const char* described;
    };
    const Case cases[] = {
        {"/nonexistent/quarv-probe", "Os { code: 2, kind: NotFound, message: \"No such file or directory\" }"},
        {"quarv-probe-not-on-any-path", "Os { code: 2, kind: NotFound, message: \"No such file or directory\" }"},
        {"/dev/null", "Os { code: 13, kind: PermissionDenied, message: \"Permission denied\" }"},
        {"", "Custom { kind: InvalidInput, error: \"no program path to start\" }"},
    };
    for (const Case& c : cases) {
        auto done = run_process(ProcessCommand{c.program, {}, {}, {}, ChildStdio::Captured});
        quarv::assert_true(!done.has_value(), c.program);
        quarv::assert_eq(done.error().describe(), std::string(c.described));
    }
}

// Failing system calls, injected: the error comes back and every descriptor opened on the
// way is closed exactly once.
namespace injected {
std::mutex g_mutex;
std::multiset<int> g_opened;
std::multiset<int> g_closed;
int g_pipes_allowed = 0;

int counting_pipe(int fds[2]) {
    std::lock_guard lock(g_mutex);
    if (g_pipes_allowed-- <= 0) return EMFILE;
    int made = quarv::detail::real_process_syscalls().make_pipe(fds);
    if (made == 0) g_opened.insert({fds[0], fds[1]});
    return made;
}
void counting_close(int fd) {
    std::lock_guard lock(g_mutex);
    g_closed.insert(fd);
    ::close(fd);
}
int refusing_spawn(pid_t*, const char*, const posix_spawn_file_actions_t*, const posix_spawnattr_t*, char* const*,
                   char* const*) {
    return EAGAIN;
}
}  // namespace injected

QUARV_TEST(failed_system_calls_leave_no_descriptor_open) {
    struct Case {
        int pipes_allowed;
        bool spawn_refused;
        const char* described;
    };
    const Case cases[] = {
        {0, false, "Os { code: 24, kind: Other, message: \"Too many open files\" }"},
        {1, false, "Os { code: 24, kind: Other, message: \"Too many open files\" }"},
        {2, true, "Os { code: 11, kind: WouldBlock, message: \"Resource temporarily unavailable\" }"},
    };
    // The table is shared state of this test only; run the cases under one lock holder.
    static std::mutex serial;
    std::lock_guard hold(serial);
    for (const Case& c : cases) {
        {
            std::lock_guard lock(injected::g_mutex);
            injected::g_opened.clear();
            injected::g_closed.clear();
            injected::g_pipes_allowed = c.pipes_allowed;
        }
        quarv::detail::ProcessSyscalls syscalls = quarv::detail::real_process_syscalls();
        syscalls.make_pipe = injected::counting_pipe;
        syscalls.close_fd = injected::counting_close;
        if (c.spawn_refused) syscalls.spawn = injected::refusing_spawn;
        auto done = run_process(shell("exit 0"), syscalls);
        quarv::assert_true(!done.has_value());
        quarv::assert_eq(done.error().describe(), std::string(c.described));
        std::lock_guard lock(injected::g_mutex);
        quarv::assert_eq(injected::g_opened.size(), static_cast<std::size_t>(2 * std::min(c.pipes_allowed, 2)));
        quarv::assert_true(injected::g_opened == injected::g_closed, "descriptors left open or closed twice");
    }
}

}  // namespace process
