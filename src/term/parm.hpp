// The terminfo parameter language: expanding capability strings such as "\E[3%p1%dm".
//
//   term::Variables vars;
//   auto bytes = term::expand("\x1b[3%p1%dm", {2}, vars);   // "\x1b[32m"
//
// Values are signed 32-bit numbers; arithmetic wraps. Decisions beyond the classic
// language:
// - %/ and %m by zero give 0, and -2147483648 %/ -1 gives -2147483648 (the wrapped
//   quotient) with remainder 0, so no capability string can trap the process.
// - A format width or precision above 65535 is refused ("format width overflow",
//   "format precision overflow"), also when a negative decimal needs precision + 1 digits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/expected.hpp"

namespace quarv::detail::term {

using Param = std::int32_t;

// The 26 static (A-Z) and 26 dynamic (a-z) variables, all 0 at first.
struct Variables {
    std::array<Param, 26> static_vars{};
    std::array<Param, 26> dynamic_vars{};
};

// The modifiers of one %[flags][width][.precision]conv directive.
struct Flags {
    std::size_t width = 0;
    std::size_t precision = 0;
    bool alt_form = false;      // '#'
    bool left_justify = false;  // '-'
    bool plus_sign = false;     // '+'
    bool space_sign = false;    // ' '
};

enum class FormatOp { Dec, Oct, HexLower, HexUpper, Str };

// The largest width or precision a format directive may ask for.
inline constexpr std::size_t kMaxFormatField = 65535;

// Runs `cap` with up to nine parameters (more are ignored, missing ones are 0) and the
// caller's variables; returns the bytes to send or an error message.
Expected<std::string, std::string> expand(std::string_view cap, std::span<const Param> params, Variables& vars);
inline Expected<std::string, std::string> expand(std::string_view cap, std::initializer_list<Param> params,
                                                 Variables& vars) {
    return expand(cap, std::span<const Param>(params.begin(), params.size()), vars);
}

// The text of one number for one conversion.
Expected<std::string, std::string> format(Param value, FormatOp op, const Flags& flags);

}  // namespace quarv::detail::term
