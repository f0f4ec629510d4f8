// The report printed when a test body (or the runner itself) fails abruptly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarv::detail {

// "file:line:column", the form failure reports and messages name a source position in.
std::string source_position(std::string_view file, std::uint64_t line, std::uint64_t column);

// "\nthread '{name}' ({id}) panicked at {location}:\n{message}\n" for the calling thread,
// followed on the first report of the process (unless VESK_BACKTRACE asks for traces) by
// the note about VESK_BACKTRACE.
std::string panic_report(std::string_view location, std::string_view message);

}  // namespace quarv::detail
