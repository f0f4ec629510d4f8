#include "execution/time_options.hpp"

#include <cstdio>

namespace quarv::detail {

namespace {
std::string seconds_text(Duration d, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*fs", decimals, d.as_secs_f64());
    return buffer;
}

const TimeThreshold unknown_limits{Duration{long_running_secs, 0}, Duration{2 * long_running_secs, 0}};

const TimeThreshold& limits_for(const TestTimeOptions& options, const TestDesc& desc) {
    switch (desc.test_kind) {
        case TestKind::Unit: return options.unit_limits;
        case TestKind::Integration: return options.integration_limits;
        case TestKind::Doc: return options.doctest_limits;
        case TestKind::Unknown: return unknown_limits;
    }
    return unknown_limits;
}
}  // namespace

Duration TestTimeOptions::warn_time(const TestDesc& desc) const { return limits_for(*this, desc).warn_at; }
Duration TestTimeOptions::critical_time(const TestDesc& desc) const { return limits_for(*this, desc).critical_at; }

std::string TestExecTime::to_string() const { return seconds_text(duration, 3); }
std::string TestSuiteExecTime::to_string() const { return seconds_text(duration, 2); }

}  // namespace quarv::detail
