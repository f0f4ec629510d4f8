#include "model/outcome_rules.hpp"

#include "platform/fatal.hpp"

#include <cstdint>
#include <cstdio>

namespace quarv::detail {

namespace {

TestResult apply_time_limit(const TestDesc& desc, const std::optional<TestTimeOptions>& time_options,
                            const std::optional<TestExecTime>& exec_time) {
    if (time_options && exec_time && time_options->ensure_time && time_options->is_critical(desc, exec_time->duration)) {
        return TestResult::failed_time_limit();
    }
    return TestResult::passed();
}

// Decodes one UTF-8 code point at `pos`; invalid bytes decode as themselves (one byte)
// with `valid` false.
std::uint32_t decode_utf8(std::string_view text, std::size_t& pos, bool& valid) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(pos);
    valid = true;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || pos + static_cast<std::size_t>(length) > text.size()) {
        valid = false;
        return byte(pos++);
    }
    std::uint32_t cp = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        unsigned char next = byte(pos + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            valid = false;
            return byte(pos++);
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
        valid = false;
        return byte(pos++);
    }
    pos += static_cast<std::size_t>(length);
    return cp;
}

}  // namespace

std::string quoted_form(std::string_view text) {
    std::string out = "\"";
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t begin = pos;
        bool valid = true;
        std::uint32_t cp = decode_utf8(text, pos, valid);
        switch (cp) {
            case '\\': out += "\\\\"; continue;
            case '"': out += "\\\""; continue;
            case '\t': out += "\\t"; continue;
            case '\r': out += "\\r"; continue;
            case '\n': out += "\\n"; continue;
            default: break;
        }
        bool printable = valid && cp >= 0x20 && cp != 0x7F && !(cp >= 0x80 && cp < 0xA0);
        if (printable) {
            out.append(text.substr(begin, pos - begin));
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\u{%x}", static_cast<unsigned>(cp));
            out += buffer;
        }
    }
    out += '"';
    return out;
}

TestResult calc_result(const TestDesc& desc, const BodyOutcome& body, const std::optional<TestTimeOptions>& time_options,
                       const std::optional<TestExecTime>& exec_time) {
    using Kind = ShouldPanic::Kind;
    const ShouldPanic& expectation = desc.should_panic;
    if (expectation.kind == Kind::NotExpected) {
        if (body) return TestResult::failed();
        return apply_time_limit(desc, time_options, exec_time);
    }
    if (!body) {
        std::string message = "test did not panic as expected";
        if (!desc.source_path.empty()) {
            message += " at " + desc.source_path + ":" + std::to_string(desc.start_line) + ":" + std::to_string(desc.start_col);
        }
        return TestResult::failed_with_message(std::move(message));
    }
    if (expectation.kind == Kind::ExpectedWithMessage) {
        if (!body->is_text) {
            return TestResult::failed_with_message("expected panic with string value,\n found non-string value: `" +
                                                   body->type_name + "`\n     expected substring: " +
                                                   quoted_form(expectation.expected));
        }
        if (body->text.find(expectation.expected) == std::string::npos) {
            return TestResult::failed_with_message("panic did not contain expected string\n      panic message: " +
                                                   quoted_form(body->text) +
                                                   "\n expected substring: " + quoted_form(expectation.expected));
        }
    }
    return apply_time_limit(desc, time_options, exec_time);
}

TestResult get_result_from_exit_code(const TestDesc& desc, const ExitStatus& status,
                                     const std::optional<TestTimeOptions>& time_options,
                                     const std::optional<TestExecTime>& exec_time) {
    if (status.code) {
        if (*status.code == 50) return apply_time_limit(desc, time_options, exec_time);
        return TestResult::failed_with_message("got unexpected return code " + std::to_string(*status.code));
    }
    if (status.signal) {
        if (*status.signal == 6) return TestResult::failed();
        return TestResult::failed_with_message("child process exited with signal " + std::to_string(*status.signal));
    }
    fatal_error("internal error: entered unreachable code: status.code() returned None but status.signal() was None");
}

TestResult apply_late_failure(TestResult outcome, bool thread_failed) {
    if (thread_failed && outcome.kind() == TestResult::Kind::Passed) {
        return TestResult::failed_with_message("panicked after reporting success");
    }
    return outcome;
}

}  // namespace quarv::detail
