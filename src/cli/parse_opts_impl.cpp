// Validation order matters: the first failing step wins, and steps that read the
// environment run only when their options make them relevant.
#include "cli/parse_opts_impl.hpp"

#include <optional>

#include "cli/number_parse.hpp"
#include "execution/time_limits_env.hpp"

namespace quarv::detail {

namespace {

// Carries the outcome of one step: a value, or the failure that ends the parse.
template <class T>
using Step = std::variant<T, OptionsInvalid, OptionsFatal>;

OptionsInvalid invalid(std::string message) { return OptionsInvalid{std::move(message)}; }

// A variable counts as set when it holds text other than exactly "0" (the empty text
// counts).
bool counts_as_set(const EnvValue& variable) { return variable.is_text() && variable.value != "0"; }

// Unstable options need both a development build (VESKC_BOOTSTRAP present as text, any
// value) and "-Z unstable-options".
Step<bool> get_allow_unstable(const ParsedArguments& matches, const EnvLookup& env) {
    std::optional<std::string> z = matches.value("Z");
    if (!z) return false;
    const bool is_nightly = env("VESKC_BOOTSTRAP").is_text();
    if (!is_nightly) return invalid("the option `Z` is only accepted on the nightly compiler");
    if (*z != "unstable-options") return invalid("Unrecognized option to `Z`");
    return true;
}

// The presence of an unstable flag, or the failure for using it without permission.
Step<bool> unstable_flag(const ParsedArguments& matches, bool allow_unstable, const char* name) {
    const bool present = matches.present(name);
    if (present && !allow_unstable) {
        return invalid(std::string("The \"") + name +
                       "\" flag is only accepted on the nightly compiler with -Z unstable-options");
    }
    return present;
}

Step<std::optional<TestTimeOptions>> get_time_options(const ParsedArguments& matches, bool allow_unstable,
                                                      const EnvLookup& env) {
    Step<bool> report = unstable_flag(matches, allow_unstable, "report-time");
    if (report.index() != 0) return std::get<1>(std::move(report));
    Step<bool> ensure = unstable_flag(matches, allow_unstable, "ensure-time");
    if (ensure.index() != 0) return std::get<1>(std::move(ensure));
    if (!std::get<0>(report) && !std::get<0>(ensure)) return std::optional<TestTimeOptions>{};
    auto options = time_options_from_env(std::get<0>(ensure), env);
    if (!options) return OptionsFatal{std::move(options.error())};
    return std::optional<TestTimeOptions>{*options};
}

Step<bool> get_shuffle(const ParsedArguments& matches, bool allow_unstable, const EnvLookup& env) {
    Step<bool> shuffle = unstable_flag(matches, allow_unstable, "shuffle");
    if (shuffle.index() != 0 || std::get<0>(shuffle) || !allow_unstable) return shuffle;
    return counts_as_set(env("VESK_TEST_SHUFFLE"));
}

Step<std::optional<std::uint64_t>> get_shuffle_seed(const ParsedArguments& matches, bool allow_unstable,
                                                    const EnvLookup& env) {
    std::optional<std::string> value = matches.value("shuffle-seed");
    if (value && !allow_unstable) {
        return invalid("The \"shuffle-seed\" option is only accepted on the nightly compiler with -Z unstable-options");
    }
    if (value) {
        auto seed = parse_unsigned(*value);
        if (!seed) return invalid("argument for --shuffle-seed must be a number (error: " + seed.error() + ")");
        return std::optional<std::uint64_t>{*seed};
    }
    if (!allow_unstable) return std::optional<std::uint64_t>{};
    const EnvValue variable = env("VESK_TEST_SHUFFLE_SEED");
    if (!variable.is_text()) return std::optional<std::uint64_t>{};
    auto seed = parse_unsigned(variable.value);
    if (!seed) return OptionsFatal{"VESK_TEST_SHUFFLE_SEED is `" + variable.value + "`, should be a number."};
    return std::optional<std::uint64_t>{*seed};
}

Step<RunIgnored> get_run_ignored(const ParsedArguments& matches, bool include_ignored) {
    const bool ignored = matches.present("ignored");
    if (include_ignored && ignored) return invalid("the options --include-ignored and --ignored are mutually exclusive");
    if (include_ignored) return RunIgnored::IncludeIgnored;
    if (ignored) return RunIgnored::OnlyIgnored;
    return RunIgnored::SkipIgnored;
}

bool get_nocapture(const ParsedArguments& matches, const EnvLookup& env) {
    if (matches.present("nocapture") || matches.present("no-capture")) return true;
    return counts_as_set(env("VESK_TEST_NOCAPTURE"));
}

Step<std::optional<std::size_t>> get_test_threads(const ParsedArguments& matches) {
    std::optional<std::string> value = matches.value("test-threads");
    if (!value) return std::optional<std::size_t>{};
    auto count = parse_unsigned(*value, SIZE_MAX);
    if (!count) return invalid("argument for --test-threads must be a number > 0 (error: " + count.error() + ")");
    if (*count == 0) return invalid("argument for --test-threads must not be 0");
    return std::optional<std::size_t>{static_cast<std::size_t>(*count)};
}

Step<ColorConfig> get_color_config(const ParsedArguments& matches) {
    std::optional<std::string> value = matches.value("color");
    if (!value || *value == "auto") return ColorConfig::Auto;
    if (*value == "always") return ColorConfig::Always;
    if (*value == "never") return ColorConfig::Never;
    return invalid("argument for --color must be auto, always, or never (was " + *value + ")");
}

Step<OutputFormat> get_format(const ParsedArguments& matches, bool quiet, bool allow_unstable) {
    std::optional<std::string> value = matches.value("format");
    if (!value) return quiet ? OutputFormat::Terse : OutputFormat::Pretty;
    if (*value == "pretty") return OutputFormat::Pretty;
    if (*value == "terse") return OutputFormat::Terse;
    if (*value == "json" || *value == "junit") {
        if (!allow_unstable) {
            return invalid("The \"" + *value + "\" format is only accepted on the nightly compiler with -Z unstable-options");
        }
        return *value == "json" ? OutputFormat::Json : OutputFormat::Junit;
    }
    return invalid("argument for --format must be pretty, terse, json or junit (was " + *value + ")");
}

}  // namespace

// Each step either yields its value or ends the parse with its failure; TRY_STEP unwraps.
#define QUARV_TRY_STEP(target, expr)                                   \
    do {                                                               \
        auto step_result = (expr);                                     \
        if (auto* failure = std::get_if<1>(&step_result)) return std::move(*failure); \
        if (auto* fatal = std::get_if<2>(&step_result)) return std::move(*fatal);     \
        target = std::get<0>(std::move(step_result));                  \
    } while (false)

ImplResult parse_opts_impl(const ParsedArguments& matches, const EnvLookup& env) {
    TestOpts opts;
    bool allow_unstable = false;
    QUARV_TRY_STEP(allow_unstable, get_allow_unstable(matches, env));
    QUARV_TRY_STEP(opts.force_run_in_process, unstable_flag(matches, allow_unstable, "force-run-in-process"));
    QUARV_TRY_STEP(opts.exclude_should_panic, unstable_flag(matches, allow_unstable, "exclude-should-panic"));
    QUARV_TRY_STEP(opts.fail_fast, unstable_flag(matches, allow_unstable, "fail-fast"));
    QUARV_TRY_STEP(opts.time_options, get_time_options(matches, allow_unstable, env));
    QUARV_TRY_STEP(opts.shuffle, get_shuffle(matches, allow_unstable, env));
    QUARV_TRY_STEP(opts.shuffle_seed, get_shuffle_seed(matches, allow_unstable, env));

    const bool include_ignored = matches.present("include-ignored");
    const bool quiet = matches.present("quiet");
    opts.exact = matches.present("exact");
    opts.list = matches.present("list");
    opts.skip = matches.values("skip");
    opts.measure_benchmarks = matches.present("bench");
    opts.execute_tests = !opts.measure_benchmarks || matches.present("test");
    opts.logfile = matches.value("logfile");

    QUARV_TRY_STEP(opts.run_ignored, get_run_ignored(matches, include_ignored));
    opts.filters = matches.free_args();
    opts.nocapture = get_nocapture(matches, env);
    QUARV_TRY_STEP(opts.test_threads, get_test_threads(matches));
    QUARV_TRY_STEP(opts.color, get_color_config(matches));
    QUARV_TRY_STEP(opts.format, get_format(matches, quiet, allow_unstable));
    opts.run_options.show_output = matches.present("show-output");
    opts.run_options.abort_on_panic = false;
    return opts;
}

#undef QUARV_TRY_STEP

std::string program_name(const std::vector<std::string>& args) { return args.empty() ? "..." : args.front(); }

CommandLineResult interpret_command_line(const std::vector<std::string>& args, const EnvLookup& env) {
    const OptionTable table = parsing_optgroups();
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    auto matches = parse_arguments(table, rest);
    if (!matches) return OptionsInvalid{matches.error().message()};
    if (matches->present("help")) return OptionsHelp{};

    ImplResult result = parse_opts_impl(*matches, env);
    if (auto* opts = std::get_if<TestOpts>(&result)) return std::move(*opts);
    if (auto* failure = std::get_if<OptionsInvalid>(&result)) return std::move(*failure);
    return std::get<OptionsFatal>(std::move(result));
}

}  // namespace quarv::detail
