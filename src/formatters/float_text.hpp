// Writing a 64-bit float for machine-readable reports (JSON lines, JUnit times).
#pragma once

#include <string>

namespace quarv::detail {

// The shortest decimal text that reads back as the same double, always in positional
// notation: 2.0 is "2", 1.5 is "1.5", 1e-7 is "0.0000001", 1e23 is
// "100000000000000000000000" (the shortest digits, padded with zeros, not the double's
// exact expansion). Negative zero keeps its sign ("-0"). Infinities and NaN, which no
// duration or timing of the runner produces, are written "inf", "-inf" and "NaN".
std::string float_text(double value);

}  // namespace quarv::detail
