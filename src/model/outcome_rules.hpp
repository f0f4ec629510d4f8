// The rules that decide a test's outcome from what its body did.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "execution/time_options.hpp"
#include "model/test_result.hpp"

namespace quarv::detail {

// What a failing body left behind: a text (a Panic, a std::exception's what(), a thrown
// string, or a returned failure message), or a value of another type.
struct FailurePayload {
    bool is_text = true;
    std::string text;       // the message, when is_text
    std::string type_name;  // the thrown type, when not is_text
};

// Success (nullopt) or the failure payload of a body.
using BodyOutcome = std::optional<FailurePayload>;

TestResult calc_result(const TestDesc& desc, const BodyOutcome& body, const std::optional<TestTimeOptions>& time_options,
                       const std::optional<TestExecTime>& exec_time);

// A child's termination: a normal exit with its code, or the signal that ended it.
struct ExitStatus {
    std::optional<int> code;
    std::optional<int> signal;
};

TestResult get_result_from_exit_code(const TestDesc& desc, const ExitStatus& status,
                                     const std::optional<TestTimeOptions>& time_options,
                                     const std::optional<TestExecTime>& exec_time);

// A worker thread that failed after reporting success turns Passed into a failure.
TestResult apply_late_failure(TestResult outcome, bool thread_failed);

// The text in double quotes with backslash, quote, tab, CR and LF escaped and other
// non-printable characters written as \u{hex}.
std::string quoted_form(std::string_view text);

}  // namespace quarv::detail
