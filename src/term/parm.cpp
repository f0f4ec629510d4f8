#include "term/parm.hpp"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/utf8.hpp"

namespace quarv::detail::term {
namespace {

using ExpandResult = Expected<std::string, std::string>;

enum class FormatState { FlagsPhase, WidthPhase, PrecisionPhase };

enum class State {
    Plain,
    AfterPercent,
    StoreVar,
    LoadVar,
    ParamDigit,
    CharLiteral,
    CharQuote,
    IntLiteral,
    FormatSpec,
    SkipToElse,
    SkipToElsePercent,
    SkipToEnd,
    SkipToEndPercent,
};

Unexpected<std::string> fail(const char* message) { return unexpected(std::string(message)); }

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_format_conversion(char c) { return c == 'd' || c == 'o' || c == 'x' || c == 'X' || c == 's'; }

FormatOp format_op_from_char(char c) {
    switch (c) {
        case 'd': return FormatOp::Dec;
        case 'o': return FormatOp::Oct;
        case 'x': return FormatOp::HexLower;
        case 'X': return FormatOp::HexUpper;
        default: return FormatOp::Str;
    }
}

Param wrap(std::int64_t value) { return static_cast<Param>(static_cast<std::uint32_t>(value)); }

constexpr std::string_view kBinaryOps = "+-*/m&|^=<>AO";

// Applies the binary operator `c` (one of kBinaryOps) to x and y.
Param apply_binary(char c, Param x, Param y) {
    const bool division_overflow = x == std::numeric_limits<Param>::min() && y == -1;
    switch (c) {
        case '+': return wrap(std::int64_t{x} + y);
        case '-': return wrap(std::int64_t{x} - y);
        case '*': return wrap(std::int64_t{x} * y);
        case '/': return y == 0 ? 0 : division_overflow ? x : x / y;
        case 'm': return y == 0 || division_overflow ? 0 : x % y;
        case '&': return x & y;
        case '|': return x | y;
        case '^': return x ^ y;
        case '=': return x == y;
        case '<': return x < y;
        case '>': return x > y;
        case 'A': return x > 0 && y > 0;
        default: return x > 0 || y > 0;  // O
    }
}

// Digits of `magnitude` in `base`, zero-padded on the left to at least `min_digits`.
std::string digits(std::uint64_t magnitude, unsigned base, bool upper, std::size_t min_digits) {
    const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    do {
        out.push_back(alphabet[magnitude % base]);
        magnitude /= base;
    } while (magnitude != 0);
    if (out.size() < min_digits) out.append(min_digits - out.size(), '0');
    std::reverse(out.begin(), out.end());
    return out;
}

// Appends `value` formatted by `c` (one of d o x X s) to `out`.
bool append_formatted(std::string& out, Param value, char c, const Flags& flags, std::string& error) {
    ExpandResult text = format(value, format_op_from_char(c), flags);
    if (!text) {
        error = std::move(text).error();
        return false;
    }
    out += *text;
    return true;
}

}  // namespace

Expected<std::string, std::string> format(Param value, FormatOp op, const Flags& flags) {
    if (flags.width > kMaxFormatField) return fail("format width overflow");
    if (flags.precision > kMaxFormatField) return fail("format precision overflow");

    const auto pattern = static_cast<std::uint32_t>(value);
    const std::uint64_t magnitude = value < 0 ? -std::int64_t{value} : std::int64_t{value};
    std::string text;
    switch (op) {
        case FormatOp::Dec:
            if (flags.plus_sign) {
                // The sign counts towards the precision: %:+.3d of 5 is "+05".
                text = (value < 0 ? "-" : "+") + digits(magnitude, 10, false, flags.precision == 0 ? 0 : flags.precision - 1);
            } else if (value < 0) {
                if (flags.precision + 1 > kMaxFormatField) return fail("format precision overflow");
                // Zero-padded to precision + 1 characters including the sign.
                text = "-" + digits(magnitude, 10, false, flags.precision);
            } else if (flags.space_sign) {
                text = " " + digits(magnitude, 10, false, flags.precision);
            } else {
                text = digits(magnitude, 10, false, flags.precision);
            }
            break;
        case FormatOp::Oct:
            if (flags.alt_form) {
                text = "0" + digits(pattern, 8, false, flags.precision == 0 ? 0 : flags.precision - 1);
            } else {
                text = digits(pattern, 8, false, flags.precision);
            }
            break;
        case FormatOp::HexLower:
        case FormatOp::HexUpper: {
            const bool upper = op == FormatOp::HexUpper;
            text = digits(pattern, 16, upper, flags.precision);
            if (flags.alt_form && value != 0) text.insert(0, upper ? "0X" : "0x");
            break;
        }
        case FormatOp::Str:
            return fail("non-number on stack with %s");
    }

    if (flags.width > text.size()) {
        const std::size_t fill = flags.width - text.size();
        if (flags.left_justify) {
            text.append(fill, ' ');
        } else {
            text.insert(0, fill, ' ');
        }
    }
    return text;
}

// One pass over the capability bytes; the state says how the next byte is read. See the
// header for the decisions on division and field sizes.
Expected<std::string, std::string> expand(std::string_view cap, std::span<const Param> params, Variables& vars) {
    std::array<Param, 9> mparams{};
    std::copy_n(params.begin(), std::min(params.size(), mparams.size()), mparams.begin());

    std::string output;
    output.reserve(cap.size());
    std::vector<Param> stack;
    State state = State::Plain;
    Param int_value = 0;
    Flags flags;
    FormatState format_state = FormatState::FlagsPhase;
    std::size_t depth = 0;
    std::string error;

    auto pop = [&stack](Param& out) {
        if (stack.empty()) return false;
        out = stack.back();
        stack.pop_back();
        return true;
    };

    for (const char c : cap) {
        switch (state) {
            case State::Plain:
                if (c == '%') {
                    state = State::AfterPercent;
                } else {
                    output.push_back(c);
                }
                break;

            case State::AfterPercent: {
                state = State::Plain;
                Param x = 0;
                Param y = 0;
                if (c == '%') {
                    output.push_back('%');
                } else if (c == 'c') {
                    if (!pop(x)) return fail("stack is empty");
                    output.push_back(x == 0 ? static_cast<char>(0x80) : static_cast<char>(x & 0xFF));
                } else if (c == 'p') {
                    state = State::ParamDigit;
                } else if (c == 'P') {
                    state = State::StoreVar;
                } else if (c == 'g') {
                    state = State::LoadVar;
                } else if (c == '\'') {
                    state = State::CharLiteral;
                } else if (c == '{') {
                    state = State::IntLiteral;
                    int_value = 0;
                } else if (c == 'l') {
                    return fail(stack.empty() ? "stack is empty" : "a non-str was used with %l");
                } else if (c == '!' || c == '~') {
                    if (!pop(x)) return fail("stack is empty");
                    stack.push_back(c == '!' ? Param{x <= 0} : ~x);
                } else if (c == 'i') {
                    mparams[0] = wrap(std::int64_t{mparams[0]} + 1);
                    mparams[1] = wrap(std::int64_t{mparams[1]} + 1);
                } else if (is_format_conversion(c)) {
                    if (!pop(x)) return fail("stack is empty");
                    if (!append_formatted(output, x, c, Flags{}, error)) return unexpected(std::move(error));
                } else if (c == ':' || c == '#' || c == ' ' || c == '.' || is_digit(c)) {
                    state = State::FormatSpec;
                    flags = Flags{};
                    format_state = FormatState::FlagsPhase;
                    if (c == '#') flags.alt_form = true;
                    if (c == ' ') flags.space_sign = true;
                    if (c == '.') format_state = FormatState::PrecisionPhase;
                    if (is_digit(c)) {
                        flags.width = static_cast<std::size_t>(c - '0');
                        format_state = FormatState::WidthPhase;
                    }
                } else if (c == '?' || c == ';') {
                    // Conditional brackets do nothing by themselves.
                } else if (c == 't') {
                    if (!pop(x)) return fail("stack is empty");
                    if (x == 0) {
                        state = State::SkipToElse;
                        depth = 0;
                    }
                } else if (c == 'e') {
                    state = State::SkipToEnd;
                    depth = 0;
                } else if (c != '\0' && kBinaryOps.find(c) != std::string_view::npos) {
                    if (!pop(y) || !pop(x)) return fail("stack is empty");
                    stack.push_back(apply_binary(c, x, y));
                } else {
                    return unexpected("unrecognized format option " + encode_utf8(static_cast<unsigned char>(c)));
                }
                break;
            }

            case State::ParamDigit:
                if (c < '1' || c > '9') return fail("bad param number");
                stack.push_back(mparams[static_cast<std::size_t>(c - '1')]);
                state = State::Plain;
                break;

            case State::StoreVar: {
                Param value = 0;
                if (c >= 'A' && c <= 'Z') {
                    if (!pop(value)) return fail("stack is empty");
                    vars.static_vars[static_cast<std::size_t>(c - 'A')] = value;
                } else if (c >= 'a' && c <= 'z') {
                    if (!pop(value)) return fail("stack is empty");
                    vars.dynamic_vars[static_cast<std::size_t>(c - 'a')] = value;
                } else {
                    return fail("bad variable name in %P");
                }
                state = State::Plain;
                break;
            }

            case State::LoadVar:
                if (c >= 'A' && c <= 'Z') {
                    stack.push_back(vars.static_vars[static_cast<std::size_t>(c - 'A')]);
                } else if (c >= 'a' && c <= 'z') {
                    stack.push_back(vars.dynamic_vars[static_cast<std::size_t>(c - 'a')]);
                } else {
                    return fail("bad variable name in %g");
                }
                state = State::Plain;
                break;

            case State::CharLiteral:
                stack.push_back(static_cast<unsigned char>(c));
                state = State::CharQuote;
                break;

            case State::CharQuote:
                if (c != '\'') return fail("malformed character constant");
                state = State::Plain;
                break;

            case State::IntLiteral:
                if (c == '}') {
                    stack.push_back(int_value);
                    state = State::Plain;
                } else if (is_digit(c)) {
                    if (__builtin_mul_overflow(int_value, 10, &int_value) ||
                        __builtin_add_overflow(int_value, c - '0', &int_value)) {
                        return fail("int constant too large");
                    }
                } else {
                    return fail("bad int constant");
                }
                break;

            case State::FormatSpec:
                if (is_format_conversion(c)) {
                    Param x = 0;
                    if (!pop(x)) return fail("stack is empty");
                    if (!append_formatted(output, x, c, flags, error)) return unexpected(std::move(error));
                    state = State::Plain;
                } else if (c == '#' || c == '-' || c == '+' || c == ' ') {
                    if (format_state != FormatState::FlagsPhase) return fail("invalid format specifier");
                    if (c == '#') flags.alt_form = true;
                    if (c == '-') flags.left_justify = true;
                    if (c == '+') flags.plus_sign = true;
                    if (c == ' ') flags.space_sign = true;
                } else if (c == '.') {
                    if (format_state == FormatState::PrecisionPhase) return fail("invalid format specifier");
                    format_state = FormatState::PrecisionPhase;
                } else if (is_digit(c)) {
                    const auto digit = static_cast<std::size_t>(c - '0');
                    if (format_state == FormatState::FlagsPhase) {
                        flags.width = digit;
                        format_state = FormatState::WidthPhase;
                    } else if (format_state == FormatState::WidthPhase) {
                        flags.width = flags.width * 10 + digit;
                        if (flags.width > kMaxFormatField) return fail("format width overflow");
                    } else {
                        flags.precision = flags.precision * 10 + digit;
                        if (flags.precision > kMaxFormatField) return fail("format precision overflow");
                    }
                } else {
                    return fail("invalid format specifier");
                }
                break;

            case State::SkipToElse:
                if (c == '%') state = State::SkipToElsePercent;
                break;

            case State::SkipToElsePercent:
                if (c == ';') {
                    if (depth == 0) {
                        state = State::Plain;
                    } else {
                        --depth;
                        state = State::SkipToElse;
                    }
                } else if (c == 'e' && depth == 0) {
                    state = State::Plain;
                } else if (c == '?') {
                    ++depth;
                    state = State::SkipToElse;
                } else {
                    state = State::SkipToElse;
                }
                break;

            case State::SkipToEnd:
                if (c == '%') state = State::SkipToEndPercent;
                break;

            case State::SkipToEndPercent:
                if (c == ';') {
                    if (depth == 0) {
                        state = State::Plain;
                    } else {
                        --depth;
                        state = State::SkipToEnd;
                    }
                } else if (c == '?') {
                    ++depth;
                    state = State::SkipToEnd;
                } else {
                    state = State::SkipToEnd;
                }
                break;
        }
    }
    return output;
}

}  // namespace quarv::detail::term
