// Unsigned decimal numbers as the command line and the runner's variables accept them:
// an optional single leading '+', then one or more ASCII digits, nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/expected.hpp"

namespace quarv::detail {

// The value of `text` if it is at most `max`, else one of the messages
// "cannot parse integer from empty string", "invalid digit found in string" or
// "number too large to fit in target type". A text that breaks the grammar anywhere is an
// invalid digit even when its digits alone would be too large.
Expected<std::uint64_t, std::string> parse_unsigned(std::string_view text, std::uint64_t max = UINT64_MAX);

}  // namespace quarv::detail
