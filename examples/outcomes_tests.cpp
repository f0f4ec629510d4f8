// Example tests that end in each of the other ways: a failed assertion, a returned
// failure, an unexpected exception, an expected failure with the wrong message, output
// from a helper thread. The example suite therefore ends with a FAILED summary (status
// 101) on purpose: that is how quarv reports failures.
#include <quarv/quarv.hpp>

#include <iostream>
#include <map>
#include <stdexcept>
#include <string>

namespace inventory {

namespace {
// Each test builds its own shelf, so tests running in parallel share nothing.
struct Shelf {
    std::map<std::string, int> stock{{"apples", 3}, {"pears", 0}};

    int take(const std::string& item, int count) {
        auto found = stock.find(item);
        if (found == stock.end()) throw std::out_of_range("no such item: " + item);
        if (found->second < count) quarv::panic("not enough " + item);
        return found->second -= count;
    }
};
}  // namespace

QUARV_TEST(counts_down) { quarv::assert_eq(Shelf().take("apples", 1), 2); }

QUARV_TEST(expects_the_wrong_count) {
    std::cout << "taking two apples\n";
    quarv::assert_eq(Shelf().take("apples", 2), 5);
}

QUARV_TEST(reports_a_failure_value) {
    if (Shelf().stock.count("plums") == 0) return quarv::fail("plums are missing");
    return quarv::ok();
}

QUARV_TEST(meets_an_unexpected_exception) { Shelf().take("plums", 1); }

QUARV_TEST(empty_shelf_panics, quarv::should_panic("not enough pears")) { Shelf().take("pears", 1); }

QUARV_TEST(wrong_panic_message, quarv::should_panic("sold out")) { Shelf().take("pears", 1); }

QUARV_TEST(checks_in_a_helper_thread) {
    Shelf shelf;
    quarv::thread helper([&shelf] { std::cout << "counting " << shelf.stock.size() << " items in a helper thread\n"; });
    helper.join();
    quarv::assert_ne(shelf.stock.at("apples"), 3);
}

QUARV_TEST(slow_integration, quarv::kind(quarv::TestKind::Integration), quarv::ignore("runs against the warehouse")) {}

}  // namespace inventory
