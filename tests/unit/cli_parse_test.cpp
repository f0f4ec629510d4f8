// The command line end to end in-process: argument vector and environment in, the record
// (shown as its non-default fields) or the exact message out.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli/parse_opts_impl.hpp"
#include "cli_fake_env.hpp"
#include "quarv/quarv.hpp"

namespace cli_parse {

using namespace quarv::detail;

namespace {

std::string quoted_list(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ",\"" : "\"") + items[i] + "\"";
    return out + "]";
}

std::string millis(const Duration& d) { return std::to_string(d.secs * 1000 + d.nanos / 1000000); }

std::string limits(const TimeThreshold& t) { return millis(t.warn_at) + "/" + millis(t.critical_at); }

// The fields that differ from a plain run, in record order.
std::string describe(const TestOpts& o) {
    std::vector<std::string> parts;
    if (o.list) parts.push_back("list");
    if (!o.filters.empty()) parts.push_back("filters=" + quoted_list(o.filters));
    if (o.exact) parts.push_back("exact");
    if (!o.skip.empty()) parts.push_back("skip=" + quoted_list(o.skip));
    if (o.exclude_should_panic) parts.push_back("exclude-should-panic");
    if (o.run_ignored == RunIgnored::IncludeIgnored) parts.push_back("include-ignored");
    if (o.run_ignored == RunIgnored::OnlyIgnored) parts.push_back("only-ignored");
    if (o.measure_benchmarks) parts.push_back(o.execute_tests ? "bench+tests" : "bench");
    if (!o.measure_benchmarks && !o.execute_tests) parts.push_back("no-tests");
    if (o.force_run_in_process) parts.push_back("in-process");
    if (o.fail_fast) parts.push_back("fail-fast");
    if (o.test_threads) parts.push_back("threads=" + std::to_string(*o.test_threads));
    if (o.shuffle) parts.push_back("shuffle");
    if (o.shuffle_seed) parts.push_back("seed=" + std::to_string(*o.shuffle_seed));
    if (o.nocapture) parts.push_back("nocapture");
    if (o.logfile) parts.push_back("logfile=" + *o.logfile);
    if (o.color == ColorConfig::Always) parts.push_back("color=always");
    if (o.color == ColorConfig::Never) parts.push_back("color=never");
    if (o.format == OutputFormat::Terse) parts.push_back("terse");
    if (o.format == OutputFormat::Json) parts.push_back("json");
    if (o.format == OutputFormat::Junit) parts.push_back("junit");
    if (o.time_options) {
        const TestTimeOptions& t = *o.time_options;
        parts.push_back(std::string("time(") + (t.ensure_time ? "ensure " : "") + "unit=" + limits(t.unit_limits) +
                        " integration=" + limits(t.integration_limits) + " doc=" + limits(t.doctest_limits) + ")");
    }
    if (o.run_options.show_output) parts.push_back("show-output");
    if (o.run_options.abort_on_panic) parts.push_back("abort-on-panic");
    if (parts.empty()) return "defaults";
    std::string out;
    for (const auto& part : parts) out += (out.empty() ? "" : " ") + part;
    return out;
}

std::string outcome(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
    CommandLineResult result = interpret_command_line(args, cli_testing::fake_env(env));
    if (std::holds_alternative<OptionsHelp>(result)) return "help";
    if (auto* bad = std::get_if<OptionsInvalid>(&result)) return "invalid: " + bad->message;
    if (auto* fatal = std::get_if<OptionsFatal>(&result)) return "fatal: " + fatal->message;
    return describe(std::get<TestOpts>(result));
}

struct Case {
    std::vector<std::string> args;  // after the program name
    std::map<std::string, std::string> env;
    std::string expected;
};

const std::map<std::string, std::string> nightly = {{"VESKC_BOOTSTRAP", ""}};

void check_cases(const std::vector<Case>& cases) {
    std::string failures;
    for (const Case& c : cases) {
        std::vector<std::string> argv = {"prog"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const std::string actual = outcome(argv, c.env);
        if (actual != c.expected) {
            failures += "\n  args " + quoted_list(c.args) + "\n    expected: " + c.expected + "\n    actual:   " + actual;
        }
    }
    if (!failures.empty()) quarv::panic("cases failed:" + failures);
}

const std::string z_nightly_only = "invalid: the option `Z` is only accepted on the nightly compiler";

std::string unstable_flag(const std::string& name) {
    return "invalid: The \"" + name + "\" flag is only accepted on the nightly compiler with -Z unstable-options";
}

}  // namespace

QUARV_TEST(syntax_rules) {
    check_cases({
        {{}, {}, "defaults"},
        {{"a", "--list", "b"}, {}, "list filters=[\"a\",\"b\"]"},
        {{"--", "-x", "--list"}, {}, "filters=[\"-x\",\"--list\"]"},
        {{"-", ""}, {}, "filters=[\"-\",\"\"]"},
        {{"--logfile", "--list"}, {}, "logfile=--list"},
        {{"--skip", "--", "x"}, {}, "filters=[\"x\"] skip=[\"--\"]"},
        {{"--skip=a", "--skip", "b", "--skip="}, {}, "skip=[\"a\",\"b\",\"\"]"},
        {{"--logfile=a=b"}, {}, "logfile=a=b"},
        {{"--h"}, {}, "help"},
        {{"--q"}, {}, "terse"},
        {{"--list=1"}, {}, "invalid: Option 'list' does not take an argument"},
        {{"--list="}, {}, "invalid: Option 'list' does not take an argument"},
        {{"--q=1"}, {}, "invalid: Option 'quiet' does not take an argument"},
        {{"--skip"}, {}, "invalid: Argument to option 'skip' missing"},
        {{"-Z"}, nightly, "invalid: Argument to option 'Z' missing"},
        {{"--frobnicate=1"}, {}, "invalid: Unrecognized option: 'frobnicate'"},
        {{"--fail"}, {}, "invalid: Unrecognized option: 'fail'"},
        {{"--LIST"}, {}, "invalid: Unrecognized option: 'LIST'"},
        {{"--=x"}, {}, "invalid: Unrecognized option: ''"},
        {{"-x"}, {}, "invalid: Unrecognized option: 'x'"},
        {{"-qx"}, {}, "invalid: Unrecognized option: 'x'"},
        {{"-h="}, {}, "invalid: Unrecognized option: '='"},
        {{"-q\xc3\xa9"}, {}, "invalid: Unrecognized option: '\xc3\xa9'"},
        {{"--nocapture", "--no-capture"}, {}, "nocapture"},
        {{"-q", "--quiet"}, {}, "invalid: Option 'quiet' given more than once"},
        {{"-h", "--help"}, {}, "invalid: Option 'help' given more than once"},
        {{"-Zunstable-options", "--fail-fast"}, nightly, "fail-fast"},
        {{"-qZunstable-options", "--format", "json"}, nightly, "json"},
        {{"-qZx"}, nightly, "invalid: Unrecognized option to `Z`"},
        {{"-Z=unstable-options"}, nightly, "invalid: Unrecognized option to `Z`"},
        {{"--ignored"}, {}, "only-ignored"},
        {{"--include-ignored"}, {}, "include-ignored"},
        {{"--exact", "--show-output", "--color", "never"}, {}, "exact color=never show-output"},
    });
}

// The first problem met wins: syntax while scanning, then duplicates in table order, then
// help, then validation step by step.
QUARV_TEST(first_failure_wins) {
    check_cases({
        {{"--list", "--list", "--bogus"}, {}, "invalid: Unrecognized option: 'bogus'"},
        {{"--list", "--list", "--skip"}, {}, "invalid: Argument to option 'skip' missing"},
        {{"--bogus", "--list=1"}, {}, "invalid: Unrecognized option: 'bogus'"},
        {{"--quiet", "--quiet", "--list", "--list"}, {}, "invalid: Option 'list' given more than once"},
        {{"--help", "--bogus"}, {}, "invalid: Unrecognized option: 'bogus'"},
        {{"--help", "--help"}, {}, "invalid: Option 'help' given more than once"},
        {{"--help", "--color", "bad", "--fail-fast"}, {}, "help"},
        {{"--help"}, {{"VESK_TEST_TIME_UNIT", "garbage"}}, "help"},
        {{"-Z", "unstable-options", "--fail-fast"}, {}, z_nightly_only},
        {{"--force-run-in-process", "--exclude-should-panic"}, {}, unstable_flag("force-run-in-process")},
        {{"--fail-fast", "--exclude-should-panic"}, {}, unstable_flag("exclude-should-panic")},
        {{"--ensure-time", "--fail-fast"}, {}, unstable_flag("fail-fast")},
        {{"--ensure-time", "--report-time"}, {}, unstable_flag("report-time")},
        {{"--shuffle", "--ensure-time"}, {}, unstable_flag("ensure-time")},
        {{"--shuffle-seed", "x", "--shuffle"}, {}, unstable_flag("shuffle")},
        {{"--format", "json", "--shuffle-seed", "x"}, {},
         "invalid: The \"shuffle-seed\" option is only accepted on the nightly compiler with -Z unstable-options"},
        {{"--include-ignored", "--ignored", "--test-threads", "0"}, {},
         "invalid: the options --include-ignored and --ignored are mutually exclusive"},
        {{"--color", "x", "--test-threads", "0"}, {}, "invalid: argument for --test-threads must not be 0"},
        {{"--format", "x", "--color", "x"}, {}, "invalid: argument for --color must be auto, always, or never (was x)"},
        {{"-Z", "unstable-options", "--report-time", "--shuffle-seed", "x"}, {{"VESKC_BOOTSTRAP", ""}, {"VESK_TEST_TIME_UNIT", "1"}},
         "fatal: Duration variable VESK_TEST_TIME_UNIT expected to have 2 numbers separated by comma, but got 1"},
        {{"-Z", "unstable-options", "--color", "x"}, {{"VESKC_BOOTSTRAP", ""}, {"VESK_TEST_SHUFFLE_SEED", "x"}},
         "fatal: VESK_TEST_SHUFFLE_SEED is `x`, should be a number."},
    });
}

QUARV_TEST(unstable_options_need_bootstrap_and_z) {
    check_cases({
        {{"-Z", "unstable-options"}, {}, z_nightly_only},
        {{"-Z", "unstable-options"}, {{"VESKC_BOOTSTRAP", "\xff"}}, z_nightly_only},
        {{"-Z", "unstable-options"}, {{"VESKC_BOOTSTRAP", "0"}}, "defaults"},
        {{"-Z", "unstable-options"}, nightly, "defaults"},
        {{"-Z", "other"}, nightly, "invalid: Unrecognized option to `Z`"},
        {{"--fail-fast"}, nightly, unstable_flag("fail-fast")},
        {{"--force-run-in-process"}, {}, unstable_flag("force-run-in-process")},
        {{"--format", "json"}, nightly,
         "invalid: The \"json\" format is only accepted on the nightly compiler with -Z unstable-options"},
        {{"--format", "junit"}, {},
         "invalid: The \"junit\" format is only accepted on the nightly compiler with -Z unstable-options"},
        {{"-Z", "unstable-options", "--format", "junit", "--fail-fast", "--force-run-in-process",
          "--exclude-should-panic", "--shuffle"},
         nightly, "exclude-should-panic in-process fail-fast shuffle junit"},
    });
}

QUARV_TEST(values_of_plain_options) {
    check_cases({
        {{"--bench"}, {}, "bench"},
        {{"--bench", "--test"}, {}, "bench+tests"},
        {{"--test"}, {}, "defaults"},
        {{"-q"}, {}, "terse"},
        {{"-q", "--format", "pretty"}, {}, "defaults"},
        {{"--format", "terse"}, {}, "terse"},
        {{"--format", "xml"}, {}, "invalid: argument for --format must be pretty, terse, json or junit (was xml)"},
        {{"--format", "Pretty"}, {}, "invalid: argument for --format must be pretty, terse, json or junit (was Pretty)"},
        {{"--color", "always"}, {}, "color=always"},
        {{"--color", "auto"}, {}, "defaults"},
        {{"--color", "Always"}, {}, "invalid: argument for --color must be auto, always, or never (was Always)"},
        {{"--color="}, {}, "invalid: argument for --color must be auto, always, or never (was )"},
    });
}

// Unsigned decimal: optional single '+', digits only, within the target type.
QUARV_TEST(number_grammar) {
    const std::string threads = "invalid: argument for --test-threads must be a number > 0 (error: ";
    const std::string seed = "invalid: argument for --shuffle-seed must be a number (error: ";
    const std::vector<std::string> z = {"-Z", "unstable-options", "--shuffle-seed"};
    auto with_seed = [&](const std::string& value) {
        std::vector<std::string> args = z;
        args.push_back(value);
        return args;
    };
    check_cases({
        {{"--test-threads", "7"}, {}, "threads=7"},
        {{"--test-threads", "+7"}, {}, "threads=7"},
        {{"--test-threads", "007"}, {}, "threads=7"},
        {{"--test-threads", "0"}, {}, "invalid: argument for --test-threads must not be 0"},
        {{"--test-threads", "00"}, {}, "invalid: argument for --test-threads must not be 0"},
        {{"--test-threads", "+0"}, {}, "invalid: argument for --test-threads must not be 0"},
        {{"--test-threads", ""}, {}, threads + "cannot parse integer from empty string)"},
        {{"--test-threads", "-1"}, {}, threads + "invalid digit found in string)"},
        {{"--test-threads", "+"}, {}, threads + "invalid digit found in string)"},
        {{"--test-threads", "-"}, {}, threads + "invalid digit found in string)"},
        {{"--test-threads", "++1"}, {}, threads + "invalid digit found in string)"},
        {{"--test-threads", " 1"}, {}, threads + "invalid digit found in string)"},
        {{"--test-threads", "1_000"}, {}, threads + "invalid digit found in string)"},
        {{"--test-threads", "99999999999999999999x"}, {}, threads + "invalid digit found in string)"},
        {{"--test-threads", "18446744073709551615"}, {}, "threads=18446744073709551615"},
        {{"--test-threads", "18446744073709551616"}, {}, threads + "number too large to fit in target type)"},
        {with_seed("18446744073709551615"), nightly, "seed=18446744073709551615"},
        {with_seed("+0"), nightly, "seed=0"},
        {with_seed("18446744073709551616"), nightly, seed + "number too large to fit in target type)"},
        {with_seed("100000000000000000000"), nightly, seed + "number too large to fit in target type)"},
        {with_seed("abc"), nightly, seed + "invalid digit found in string)"},
        {with_seed(""), nightly, seed + "cannot parse integer from empty string)"},
    });
}

QUARV_TEST(environment_variables) {
    const std::vector<std::string> z = {"-Z", "unstable-options"};
    auto env = [](std::map<std::string, std::string> vars) {
        vars["VESKC_BOOTSTRAP"] = "";
        return vars;
    };
    check_cases({
        {{}, {{"VESK_TEST_NOCAPTURE", ""}}, "nocapture"},
        {{}, {{"VESK_TEST_NOCAPTURE", "1"}}, "nocapture"},
        {{}, {{"VESK_TEST_NOCAPTURE", "00"}}, "nocapture"},
        {{}, {{"VESK_TEST_NOCAPTURE", "0"}}, "defaults"},
        {{}, {{"VESK_TEST_NOCAPTURE", "\xff"}}, "defaults"},
        {{"--nocapture"}, {{"VESK_TEST_NOCAPTURE", "0"}}, "nocapture"},
        // Without unstable options the shuffle variables are not consulted at all.
        {{}, {{"VESK_TEST_SHUFFLE", "1"}, {"VESK_TEST_SHUFFLE_SEED", "x"}}, "defaults"},
        {{}, {{"VESKC_BOOTSTRAP", ""}, {"VESK_TEST_SHUFFLE", "1"}, {"VESK_TEST_SHUFFLE_SEED", "5"}}, "defaults"},
        {z, env({{"VESK_TEST_SHUFFLE", "1"}}), "shuffle"},
        {z, env({{"VESK_TEST_SHUFFLE", ""}}), "shuffle"},
        {z, env({{"VESK_TEST_SHUFFLE", "0"}}), "defaults"},
        {z, env({{"VESK_TEST_SHUFFLE", "\xfe"}}), "defaults"},
        {z, env({{"VESK_TEST_SHUFFLE_SEED", "5"}}), "seed=5"},
        {z, env({{"VESK_TEST_SHUFFLE_SEED", "+5"}}), "seed=5"},
        {z, env({{"VESK_TEST_SHUFFLE_SEED", "\xff"}}), "defaults"},
        {z, env({{"VESK_TEST_SHUFFLE_SEED", "x"}}), "fatal: VESK_TEST_SHUFFLE_SEED is `x`, should be a number."},
        {z, env({{"VESK_TEST_SHUFFLE_SEED", ""}}), "fatal: VESK_TEST_SHUFFLE_SEED is ``, should be a number."},
        {z, env({{"VESK_TEST_SHUFFLE_SEED", "18446744073709551616"}}),
         "fatal: VESK_TEST_SHUFFLE_SEED is `18446744073709551616`, should be a number."},
        {{"-Z", "unstable-options", "--shuffle-seed", "7"}, env({{"VESK_TEST_SHUFFLE_SEED", "x"}}), "seed=7"},
    });
}

QUARV_TEST(time_options_follow_report_and_ensure_time) {
    const std::string defaults = "unit=50/100 integration=500/1000 doc=500/1000)";
    auto with = [](std::vector<std::string> flags) {
        flags.insert(flags.begin(), {"-Z", "unstable-options"});
        return flags;
    };
    auto env = [](std::map<std::string, std::string> vars) {
        vars["VESKC_BOOTSTRAP"] = "";
        return vars;
    };
    check_cases({
        {with({}), env({{"VESK_TEST_TIME_UNIT", "garbage"}}), "defaults"},
        {with({"--report-time"}), env({}), "time(" + defaults},
        {with({"--ensure-time"}), env({}), "time(ensure " + defaults},
        {with({"--report-time", "--ensure-time"}), env({}), "time(ensure " + defaults},
        {with({"--report-time"}), env({{"VESK_TEST_TIME_UNIT", "500,2000"}}),
         "time(unit=500/2000 integration=500/1000 doc=500/1000)"},
        {with({"--report-time"}), env({{"VESK_TEST_TIME_INTEGRATION", "1,2"}, {"VESK_TEST_TIME_DOCTEST", "3,3"}}),
         "time(unit=50/100 integration=1/2 doc=3/3)"},
        {with({"--report-time"}), env({{"VESK_TEST_TIME_UNIT", "\xff"}}), "time(" + defaults},
        {with({"--report-time"}), env({{"VESK_TEST_TIME_UNIT", "500"}, {"VESK_TEST_TIME_INTEGRATION", "x"}}),
         "fatal: Duration variable VESK_TEST_TIME_UNIT expected to have 2 numbers separated by comma, but got 500"},
        {with({"--ensure-time"}), env({{"VESK_TEST_TIME_DOCTEST", "9,8"}}),
         "fatal: Test execution warn time should be less or equal to the critical time"},
    });
}

QUARV_TEST(program_name_for_help) {
    quarv::assert_eq(program_name({}), std::string("..."));
    quarv::assert_eq(program_name({"./bin/suite", "--help"}), std::string("./bin/suite"));
    quarv::assert_true(std::holds_alternative<OptionsHelp>(interpret_command_line({"x", "-h"}, cli_testing::fake_env({}))));
    // With an empty vector there is nothing to parse: a plain run.
    quarv::assert_true(std::holds_alternative<TestOpts>(interpret_command_line({}, cli_testing::fake_env({}))));
}

}  // namespace cli_parse
