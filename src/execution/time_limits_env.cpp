#include "execution/time_limits_env.hpp"

#include <string_view>

#include "cli/number_parse.hpp"
#include "platform/fatal.hpp"

namespace quarv::detail {

Expected<std::optional<TimeThreshold>, std::string> threshold_from_env(const char* name, const EnvLookup& env) {
    const EnvValue variable = env(name);
    if (!variable.is_text()) return std::optional<TimeThreshold>{};

    const std::string& text = variable.value;
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return unexpected("Duration variable " + std::string(name) +
                          " expected to have 2 numbers separated by comma, but got " + text);
    }
    const std::string_view parts[2] = {std::string_view(text).substr(0, comma),
                                       std::string_view(text).substr(comma + 1)};
    std::uint64_t millis[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        auto number = parse_unsigned(parts[i]);
        if (!number) {
            return unexpected("Duration value in variable " + std::string(name) +
                              " is expected to be a number, but got " + std::string(parts[i]));
        }
        millis[i] = *number;
    }
    if (millis[0] > millis[1]) return unexpected(std::string("Test execution warn time should be less or equal to the critical time"));
    return std::optional<TimeThreshold>{TimeThreshold{Duration::from_millis(millis[0]), Duration::from_millis(millis[1])}};
}

Expected<TestTimeOptions, std::string> time_options_from_env(bool ensure_time, const EnvLookup& env) {
    TestTimeOptions options;
    options.ensure_time = ensure_time;
    const struct {
        const char* name;
        TimeThreshold TestTimeOptions::*limits;
    } kinds[] = {
        {"VESK_TEST_TIME_UNIT", &TestTimeOptions::unit_limits},
        {"VESK_TEST_TIME_INTEGRATION", &TestTimeOptions::integration_limits},
        {"VESK_TEST_TIME_DOCTEST", &TestTimeOptions::doctest_limits},
    };
    for (const auto& kind : kinds) {
        auto threshold = threshold_from_env(kind.name, env);
        if (!threshold) return unexpected(std::move(threshold.error()));
        if (*threshold) options.*kind.limits = **threshold;
    }
    return options;
}

std::optional<TimeThreshold> TimeThreshold::from_env_var(const char* name) {
    auto threshold = threshold_from_env(name, process_env());
    if (!threshold) fatal_error(std::move(threshold.error()));
    return *threshold;
}

TestTimeOptions TestTimeOptions::new_from_env(bool ensure_time) {
    auto options = time_options_from_env(ensure_time, process_env());
    if (!options) fatal_error(std::move(options.error()));
    return *options;
}

}  // namespace quarv::detail
