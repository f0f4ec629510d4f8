// Choosing the formatter of a run or a listing from the options.
#pragma once

#include <memory>

#include "cli/test_opts.hpp"
#include "formatters/output_formatter.hpp"

namespace quarv::detail {

// The run's formatter over the colour terminal when one can be opened, else plain stdout.
std::unique_ptr<OutputFormatter> get_formatter(const TestOpts& opts, std::size_t name_width);

// The listing's formatter: never coloured; JUnit lists like the pretty format.
std::unique_ptr<OutputFormatter> get_listing_formatter(const TestOpts& opts);

}  // namespace quarv::detail
