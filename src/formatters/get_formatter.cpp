#include "formatters/get_formatter.hpp"

#include "execution/concurrency.hpp"
#include "formatters/pretty_formatter.hpp"

namespace quarv::detail {

std::unique_ptr<OutputFormatter> get_formatter(const TestOpts& opts, std::size_t name_width) {
    OutputLocation output = OutputLocation::for_stdout();
    std::size_t threads = opts.test_threads ? *opts.test_threads : get_concurrency();
    bool multithreaded = threads > 1;
    switch (opts.format) {
        case OutputFormat::Pretty:
        case OutputFormat::Terse:
        case OutputFormat::Json:
        case OutputFormat::Junit:
            return std::make_unique<PrettyFormatter>(std::move(output), opts.use_color(), name_width, multithreaded,
                                                     opts.time_options);
    }
    return nullptr;
}

std::unique_ptr<OutputFormatter> get_listing_formatter(const TestOpts& opts) {
    OutputLocation output = OutputLocation::for_stdout(/*locked=*/true);
    switch (opts.format) {
        case OutputFormat::Pretty:
        case OutputFormat::Junit:
        case OutputFormat::Terse:
        case OutputFormat::Json:
            return std::make_unique<PrettyFormatter>(std::move(output), false, 0, false, std::nullopt);
    }
    return nullptr;
}

}  // namespace quarv::detail
