#include "model/outcome_rules.hpp"

#include "platform/fatal.hpp"
#include "platform/panic_report.hpp"
#include "platform/utf8.hpp"

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

}  // namespace

std::string quoted_form(std::string_view text) {
    std::string out = "\"";
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t begin = pos;
        char32_t cp = 0;
        std::size_t length = decode_utf8(text.substr(pos), cp);
        bool valid = length != 0;
        if (!valid) cp = static_cast<unsigned char>(text[pos]);
        pos += valid ? length : 1;
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
            message += " at " + source_position(desc.source_path, desc.start_line, desc.start_col);
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
