// glibc calls the functions of .init_array with (argc, argv, envp); the runner keeps argv
// from there, so it is known even to programs with their own main(). Should that not have
// happened (another C library), /proc/self/cmdline gives the same list.
#include "platform/process_args.hpp"

#include <fstream>
#include <iterator>

namespace quarv::detail {

namespace {

int g_argc = -1;
char** g_argv = nullptr;

void remember_args(int argc, char** argv, char**) {
    g_argc = argc;
    g_argv = argv;
}

[[gnu::section(".init_array"), gnu::used]] void (*const g_remember_args)(int, char**, char**) = &remember_args;

std::vector<std::string> args_from_proc() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        args.emplace_back(bytes, start, end - start);
        start = end + 1;
    }
    return args;
}

}  // namespace

std::vector<std::string> process_args() {
    if (g_argc < 0 || g_argv == nullptr) return args_from_proc();
    std::vector<std::string> args;
    for (int i = 0; i < g_argc && g_argv[i] != nullptr; ++i) args.emplace_back(g_argv[i]);
    return args;
}

}  // namespace quarv::detail
