// Child processes on Linux with glibc: posix_spawnp starts the child (no code of ours runs
// between fork and exec, and a failed exec comes back as an error number), pipes created
// close-on-exec carry its output (so children started at the same time by other threads
// never inherit each other's pipe ends), poll drains both pipes at once, and waitpid
// collects the exit. When the kernel offers pidfds, the child's exit is watched as well:
// once it has exited, whatever is left in the pipes is read and the drain stops even if a
// process the child started in the background still holds the pipes open.
#include "platform/process.hpp"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quarv::detail {

namespace {

int real_make_pipe(int fds[2]) { return ::pipe2(fds, O_CLOEXEC) == 0 ? 0 : errno; }

int real_spawn(pid_t* pid, const char* program, const posix_spawn_file_actions_t* actions,
               const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]) {
    return ::posix_spawnp(pid, program, actions, attributes, argv, envp);
}

void real_close_fd(int fd) { ::close(fd); }

// One end of a pipe, closed through the syscall table when it goes out of scope.
class OwnedFd {
public:
    OwnedFd() = default;
    OwnedFd(int fd, const ProcessSyscalls& syscalls) : m_fd(fd), m_syscalls(&syscalls) {}
    OwnedFd(OwnedFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_syscalls(other.m_syscalls) {}
    OwnedFd& operator=(OwnedFd&& other) noexcept {
        reset();
        m_fd = std::exchange(other.m_fd, -1);
        m_syscalls = other.m_syscalls;
        return *this;
    }
    ~OwnedFd() { reset(); }

    int get() const noexcept { return m_fd; }
    bool is_open() const noexcept { return m_fd >= 0; }
    void reset() {
        if (m_fd >= 0) m_syscalls->close_fd(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    const ProcessSyscalls* m_syscalls = nullptr;
};

struct Pipe {
    OwnedFd read_end;
    OwnedFd write_end;
};

IoResult<Pipe> make_pipe(const ProcessSyscalls& syscalls) {
    int fds[2] = {-1, -1};
    if (int error = syscalls.make_pipe(fds); error != 0) return unexpected(IoError::from_errno(error));
    return Pipe{OwnedFd(fds[0], syscalls), OwnedFd(fds[1], syscalls)};
}

bool has_name(const char* entry, const std::string& name) {
    return std::strncmp(entry, name.data(), name.size()) == 0 && entry[name.size()] == '=';
}

// The caller's environment without the removed and replaced variables, then the added ones.
std::vector<std::string> child_environment(const ProcessCommand& command) {
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        bool dropped = false;
        for (const std::string& name : command.env_remove) dropped = dropped || has_name(*entry, name);
        for (const auto& [name, value] : command.env_set) dropped = dropped || has_name(*entry, name);
        if (!dropped) entries.emplace_back(*entry);
    }
    for (const auto& [name, value] : command.env_set) entries.push_back(name + "=" + value);
    return entries;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// posix_spawn's attribute and file-action objects, destroyed with the scope.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

int open_pidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

struct Sink {
    OwnedFd* fd;
    std::string* bytes;
};

// Reads once from `sink`; closes it at end of file or on an error other than EINTR/EAGAIN.
void read_once(Sink& sink, char* buffer, std::size_t size) {
    ssize_t got = ::read(sink.fd->get(), buffer, size);
    if (got > 0) {
        sink.bytes->append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
        sink.fd->reset();
    }
}

// Reads whatever the pipe holds right now, without waiting for more.
void read_remaining(Sink& sink, char* buffer, std::size_t size) {
    int flags = ::fcntl(sink.fd->get(), F_GETFL);
    if (flags >= 0) ::fcntl(sink.fd->get(), F_SETFL, flags | O_NONBLOCK);
    while (sink.fd->is_open()) {
        ssize_t got = ::read(sink.fd->get(), buffer, size);
        if (got > 0) {
            sink.bytes->append(buffer, static_cast<std::size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            sink.fd->reset();
        }
    }
}

// Reads both pipes as data arrives until both are at end of file or, when `pidfd` is
// valid, until the child has exited and the pipes hold nothing more. A failing poll (which
// leaves nothing sensible to wait for) ends the drain with what was read so far.
void drain(std::vector<Sink> sinks, int pidfd) {
    static constexpr std::size_t buffer_size = 64 * 1024;
    std::vector<char> buffer(buffer_size);
    auto any_open = [&] {
        for (const Sink& sink : sinks) {
            if (sink.fd->is_open()) return true;
        }
        return false;
    };
    while (any_open()) {
        std::vector<pollfd> watched;
        std::vector<Sink*> owners;
        for (Sink& sink : sinks) {
            if (!sink.fd->is_open()) continue;
            watched.push_back(pollfd{sink.fd->get(), POLLIN, 0});
            owners.push_back(&sink);
        }
        if (pidfd >= 0) watched.push_back(pollfd{pidfd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (std::size_t i = 0; i < owners.size(); ++i) {
            if (watched[i].revents != 0) read_once(*owners[i], buffer.data(), buffer.size());
        }
        if (pidfd >= 0 && watched.back().revents != 0) {
            for (Sink* owner : owners) read_remaining(*owner, buffer.data(), buffer.size());
            break;
        }
    }
    for (Sink& sink : sinks) sink.fd->reset();
}

}  // namespace

const ProcessSyscalls& real_process_syscalls() {
    static const ProcessSyscalls syscalls{real_make_pipe, real_spawn, real_close_fd};
    return syscalls;
}

IoResult<ProcessOutput> run_process(const ProcessCommand& command, const ProcessSyscalls& syscalls) {
    if (command.program.empty()) return unexpected(IoError::custom(IoErrorKind::InvalidInput, "no program path to start"));
    bool captured = command.stdio == ChildStdio::Captured;
    Pipe out;
    Pipe err;
    if (captured) {
        auto made_out = make_pipe(syscalls);
        if (!made_out) return unexpected(std::move(made_out).error());
        out = std::move(made_out).value();
        auto made_err = make_pipe(syscalls);
        if (!made_err) return unexpected(std::move(made_err).error());
        err = std::move(made_err).value();
    }

    // Everything the child needs is prepared here, in the parent: posix_spawn runs no code
    // of ours in the child.
    std::vector<std::string> argv_texts{command.program};
    argv_texts.insert(argv_texts.end(), command.args.begin(), command.args.end());
    std::vector<char*> argv = pointers_to(argv_texts);
    std::vector<std::string> env_texts = child_environment(command);
    std::vector<char*> envp = pointers_to(env_texts);

    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (captured) {
        posix_spawn_file_actions_adddup2(&setup.actions, out.write_end.get(), STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&setup.actions, err.write_end.get(), STDERR_FILENO);
    }
    sigset_t no_signals;
    sigemptyset(&no_signals);
    posix_spawnattr_setsigmask(&setup.attributes, &no_signals);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    int spawned = syscalls.spawn(&pid, command.program.c_str(), &setup.actions, &setup.attributes, argv.data(),
                                 envp.data());
    if (spawned != 0) return unexpected(IoError::from_errno(spawned));

    // The child holds its own copies of the write ends; ours must go so that end of file
    // arrives when the child is done.
    out.write_end.reset();
    err.write_end.reset();
    int pidfd = open_pidfd(pid);
    ProcessOutput output;
    if (captured) drain({Sink{&out.read_end, &output.stdout_bytes}, Sink{&err.read_end, &output.stderr_bytes}}, pidfd);
    if (pidfd >= 0) ::close(pidfd);

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        // ECHILD: the process ignores SIGCHLD, so the child was reaped without a status.
        if (errno != EINTR) return unexpected(IoError::from_errno(errno));
    }
    if (WIFEXITED(status)) output.exit.code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) output.exit.signal = WTERMSIG(status);
    return output;
}

}  // namespace quarv::detail
