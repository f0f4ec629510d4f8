#include "formatters/get_formatter.hpp"

#include "execution/concurrency.hpp"
#include "formatters/json_formatter.hpp"
#include "formatters/junit_formatter.hpp"
#include "formatters/pretty_formatter.hpp"
#include "formatters/terse_formatter.hpp"

namespace quarv::detail {

std::unique_ptr<OutputFormatter> get_formatter(const TestOpts& opts, std::size_t name_width) {
    OutputLocation output = OutputLocation::for_stdout();
    std::size_t threads = opts.test_threads ? *opts.test_threads : get_concurrency();
    bool multithreaded = threads > 1;
    switch (opts.format) {
        case OutputFormat::Pretty:
            return std::make_unique<PrettyFormatter>(std::move(output), opts.use_color(), name_width, multithreaded,
                                                     opts.time_options);
        case OutputFormat::Terse:
            return std::make_unique<TerseFormatter>(std::move(output), opts.use_color(), name_width, multithreaded);
        case OutputFormat::Json: return std::make_unique<JsonFormatter>(std::move(output));
        case OutputFormat::Junit: return std::make_unique<JunitFormatter>(std::move(output));
    }
    return nullptr;
}

// The JUnit report has no listing of its own, so a JUnit listing looks like the pretty one.
std::unique_ptr<OutputFormatter> get_listing_formatter(const TestOpts& opts) {
    OutputLocation output = OutputLocation::for_stdout(/*locked=*/true);
    switch (opts.format) {
        case OutputFormat::Pretty:
        case OutputFormat::Junit:
            return std::make_unique<PrettyFormatter>(std::move(output), false, 0, false, std::nullopt);
        case OutputFormat::Terse: return std::make_unique<TerseFormatter>(std::move(output), false, 0, false);
        case OutputFormat::Json: return std::make_unique<JsonFormatter>(std::move(output));
    }
    return nullptr;
}

}  // namespace quarv::detail
