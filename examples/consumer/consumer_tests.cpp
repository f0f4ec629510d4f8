// The tests of a small project that found quarv with find_package.
#include <quarv/quarv.hpp>

#include <string>

namespace {

std::string greet(const std::string& who) { return "hello, " + who; }

}  // namespace

namespace greeting {

QUARV_TEST(says_hello) { quarv::assert_eq(greet("world"), std::string("hello, world")); }

QUARV_TEST(handles_empty_name) { quarv::assert_eq(greet(""), std::string("hello, ")); }

QUARV_TEST(speaks_klingon, quarv::ignore("not translated yet")) { quarv::panic("no translation"); }

}  // namespace greeting
