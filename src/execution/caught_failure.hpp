// Turning the exception a test body threw into its failure payload and report.
#pragma once

#include "model/outcome_rules.hpp"

namespace quarv::detail {

// Call only inside a catch block. Classifies the exception being handled (a quarv::Panic,
// a std::exception, a thrown std::string or C string are text; anything else is a value
// named by its type), writes the failure report to the thread's standard error (captured
// with the test's output when capture is on), and returns the payload. The report names
// where a Panic was raised, otherwise the test's own position; a std::exception is shown
// with its type so an unexpected exception is easy to place.
FailurePayload report_current_exception(const TestDesc& desc);

}  // namespace quarv::detail
