// Starting a program, collecting what it writes, and waiting for it to end.
//
//   ProcessCommand command{"/bin/sh", {"-c", "echo hi"}};
//   IoResult<ProcessOutput> done = run_process(command);   // done->stdout_bytes == "hi\n"
//
// The child gets the caller's environment with `env_set` added (replacing variables of the
// same name) and `env_remove` taken out, and standard input on /dev/null. Its standard
// output and standard error are either captured into two separate byte strings, drained
// together so that neither pipe can fill up and block the child, or inherited from the
// caller. Signal dispositions and the signal mask of the child start at their defaults
// (the runner ignores SIGPIPE; its children should not).
#pragma once

#include <optional>
#include <spawn.h>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "platform/io_error.hpp"

namespace quarv::detail {

enum class ChildStdio { Captured, Inherited };

struct ProcessCommand {
    // A path; one without a '/' is looked up in PATH, as a shell would.
    std::string program;
    std::vector<std::string> args;  // after the program name, which becomes argv[0]
    std::vector<std::pair<std::string, std::string>> env_set;
    std::vector<std::string> env_remove;
    ChildStdio stdio = ChildStdio::Captured;
};

// How a child ended: a normal exit with its code, or the signal that killed it.
struct ProcessExit {
    std::optional<int> code;
    std::optional<int> signal;
};

struct ProcessOutput {
    ProcessExit exit;
    std::string stdout_bytes;  // empty when inherited
    std::string stderr_bytes;  // empty when inherited
};

// The system calls whose failures decide whether a child starts, replaceable so that tests
// can make them fail. Each returns 0 or an errno value.
struct ProcessSyscalls {
    int (*make_pipe)(int fds[2]);  // a pipe whose both ends are close-on-exec
    int (*spawn)(pid_t* pid, const char* program, const posix_spawn_file_actions_t* actions,
                 const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]);
    void (*close_fd)(int fd);
};

const ProcessSyscalls& real_process_syscalls();

// Starts `command`, collects its output and waits until it has ended. An error means the
// child could not be started (a missing program gives NotFound, an empty program path
// InvalidInput) or, rarely, that its exit status was lost (a caller that ignores SIGCHLD
// lets the system reap children unseen: ECHILD).
IoResult<ProcessOutput> run_process(const ProcessCommand& command,
                                    const ProcessSyscalls& syscalls = real_process_syscalls());

}  // namespace quarv::detail
