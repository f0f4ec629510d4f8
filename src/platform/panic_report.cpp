#include "platform/panic_report.hpp"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/thread_info.hpp"

namespace quarv::detail {

namespace {
std::atomic<bool> g_note_written{false};

// Backtraces are requested when VESK_BACKTRACE is set to anything but "0".
bool backtrace_requested() {
    const char* value = std::getenv("VESK_BACKTRACE");
    return value != nullptr && std::strcmp(value, "0") != 0;
}
}  // namespace

std::string source_position(std::string_view file, std::uint64_t line, std::uint64_t column) {
    std::string text(file);
    text += ':';
    text += std::to_string(line);
    text += ':';
    text += std::to_string(column);
    return text;
}

std::string panic_report(std::string_view location, std::string_view message) {
    std::string report = "\nthread '";
    report += current_thread_name();
    report += "' (";
    report += std::to_string(current_thread_os_id());
    report += ") panicked at ";
    report += location;
    report += ":\n";
    report += message;
    report += '\n';
    if (!backtrace_requested() && !g_note_written.exchange(true)) {
        report += "note: run with `VESK_BACKTRACE=1` environment variable to display a backtrace\n";
    }
    return report;
}

}  // namespace quarv::detail
