// Reading one time-limit variable: "WARN_MS,CRITICAL_MS" or the fatal message.
#include <string>
#include <vector>

#include "cli_fake_env.hpp"
#include "execution/time_limits_env.hpp"
#include "quarv/quarv.hpp"

namespace cli_time_env {

using namespace quarv::detail;

namespace {

std::string read(const std::string& value) {
    auto result = threshold_from_env("VESK_TEST_TIME_UNIT", cli_testing::fake_env({{"VESK_TEST_TIME_UNIT", value}}));
    if (!result) return "fatal: " + result.error();
    if (!*result) return "none";
    const TimeThreshold& t = **result;
    auto show = [](const Duration& d) { return std::to_string(d.secs) + "s+" + std::to_string(d.nanos) + "ns"; };
    return show(t.warn_at) + " " + show(t.critical_at);
}

}  // namespace

QUARV_TEST(threshold_values) {
    const std::string number = "fatal: Duration value in variable VESK_TEST_TIME_UNIT is expected to be a number, but got ";
    const std::string comma =
        "fatal: Duration variable VESK_TEST_TIME_UNIT expected to have 2 numbers separated by comma, but got ";
    const struct {
        std::string value, expected;
    } cases[] = {
        {"500,2000", "0s+500000000ns 2s+0ns"},
        {"+500,+2000", "0s+500000000ns 2s+0ns"},
        {"7,7", "0s+7000000ns 0s+7000000ns"},
        {"0,0", "0s+0ns 0s+0ns"},
        {"1234,18446744073709551615", "1s+234000000ns 18446744073709551s+615000000ns"},
        {"500", comma + "500"},
        {"", comma},
        {"500,abc", number + "abc"},
        {" 500,1000", number + " 500"},
        {"500, 1000", number + " 1000"},
        {"1,2,3", number + "2,3"},
        {",5", number},
        {"5,", number},
        {"-1,5", number + "-1"},
        {"+,5", number + "+"},
        {"abc,x", number + "abc"},
        {"5,18446744073709551616", number + "18446744073709551616"},
        {"900,500", "fatal: Test execution warn time should be less or equal to the critical time"},
        {"\xff,1", "none"},
    };
    std::string failures;
    for (const auto& c : cases) {
        const std::string actual = read(c.value);
        if (actual != c.expected) failures += "\n  " + c.value + ": expected " + c.expected + ", got " + actual;
    }
    if (!failures.empty()) quarv::panic("cases failed:" + failures);
}

QUARV_TEST(unset_variable_gives_nothing) {
    auto result = threshold_from_env("VESK_TEST_TIME_UNIT", cli_testing::fake_env({}));
    quarv::assert_true(result.has_value() && !result->has_value());
}

// The variables are read unit, integration, doc: the first malformed one is reported.
QUARV_TEST(first_malformed_variable_is_reported) {
    auto result = time_options_from_env(false, cli_testing::fake_env({{"VESK_TEST_TIME_DOCTEST", "1"},
                                                                      {"VESK_TEST_TIME_INTEGRATION", "2"}}));
    quarv::assert_true(!result.has_value());
    quarv::assert_eq(result.error(), std::string("Duration variable VESK_TEST_TIME_INTEGRATION expected to have 2 "
                                                 "numbers separated by comma, but got 2"));
}

}  // namespace cli_time_env
