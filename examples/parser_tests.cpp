// Example tests: a tiny parser tested in the styles quarv supports.
#include <quarv/quarv.hpp>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Splits comma-separated integers; throws on anything else.
std::vector<int> parse(std::string_view text) {
    std::vector<int> values;
    int current = 0;
    bool has_digits = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            current = current * 10 + (c - '0');
            has_digits = true;
        } else if (c == ',' && has_digits) {
            values.push_back(current);
            current = 0;
            has_digits = false;
        } else {
            throw std::invalid_argument("unexpected byte in input");
        }
    }
    if (has_digits) values.push_back(current);
    return values;
}

}  // namespace

namespace parser {

QUARV_TEST(reads_empty_input) { quarv::assert_eq(parse("").size(), 0u); }

QUARV_TEST(reads_three_numbers) {
    std::vector<int> expected{1, 22, 333};
    quarv::assert_true(parse("1,22,333") == expected, "three numbers");
}

QUARV_TEST(rejects_garbage, quarv::should_panic("unexpected byte")) { parse("\xff"); }

QUARV_TEST(talks_to_server, quarv::ignore("needs a server")) { quarv::panic("no server here"); }

QUARV_TEST(reports_errors) {
    if (parse("7").front() != 7) return quarv::fail("check failed");
    return quarv::ok();
}

}  // namespace parser
