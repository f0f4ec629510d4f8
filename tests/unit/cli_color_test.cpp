// TestOpts::use_color and the environment helpers behind the command line.
#include <string>

#include "cli/test_opts.hpp"
#include "platform/env.hpp"
#include "platform/terminal_detect.hpp"
#include "quarv/quarv.hpp"

namespace cli_color {

using namespace quarv::detail;

QUARV_TEST(use_color_rules) {
    const struct {
        ColorConfig color;
        bool nocapture;
        bool expected;
    } cases[] = {
        {ColorConfig::Always, false, true},
        {ColorConfig::Always, true, true},
        {ColorConfig::Never, false, false},
        {ColorConfig::Never, true, false},
        // Capture off: no colour under Auto, even on a terminal.
        {ColorConfig::Auto, true, false},
        {ColorConfig::Auto, false, stdout_is_terminal()},
    };
    for (const auto& c : cases) {
        TestOpts opts;
        opts.color = c.color;
        opts.nocapture = c.nocapture;
        quarv::assert_eq(opts.use_color(), c.expected);
    }
}

QUARV_TEST(utf8_validation) {
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain", true},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", true},
        {"\xf4\x8f\xbf\xbf", true},   // U+10FFFF
        {"\xff", false},
        {"\xc3", false},              // truncated
        {"\xc0\xaf", false},          // overlong
        {"\xe0\x80\xaf", false},      // overlong
        {"\xed\xa0\x80", false},      // surrogate
        {"\xf4\x90\x80\x80", false},  // above U+10FFFF
        {"\x80", false},              // stray continuation
    };
    for (const auto& c : cases) quarv::assert_eq(is_valid_utf8(c.bytes), c.valid);
}

QUARV_TEST(unset_variable) {
    EnvValue value = env_var("QUARV_CLI_TEST_VARIABLE_THAT_IS_NEVER_SET");
    quarv::assert_true(value.state == EnvState::Unset);
    quarv::assert_true(!env_text("QUARV_CLI_TEST_VARIABLE_THAT_IS_NEVER_SET").has_value());
}

}  // namespace cli_color
