#include "formatters/float_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace quarv::detail {

// std::to_chars in scientific form yields the shortest round-trip digits as
// "d[.ddd]e±XX"; the digits are then laid out around the decimal point by hand, so no
// exponent ever reaches the output.
std::string float_text(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (ec != std::errc()) return "NaN";  // cannot happen: 64 bytes hold every double
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));

    std::string out;
    if (!text.empty() && text.front() == '-') {
        out += '-';
        text.remove_prefix(1);
    }
    std::size_t e = text.find('e');
    std::string_view mantissa = text.substr(0, e);
    int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    std::string digits;
    for (char c : mantissa) {
        if (c != '.') digits += c;
    }
    // Trailing zeros of the mantissa carry no information (only "0e+00" has any).
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    // The value is 0.DIGITS × 10^(exponent + 1): `point` digits stand before the point.
    long point = static_cast<long>(exponent) + 1;
    long count = static_cast<long>(digits.size());
    if (point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    } else if (point >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(point - count), '0');
    } else {
        out.append(digits, 0, static_cast<std::size_t>(point));
        out += '.';
        out.append(digits, static_cast<std::size_t>(point), std::string::npos);
    }
    return out;
}

}  // namespace quarv::detail
