// Failing a test by throwing: panic and the assertion helpers.
//
//   quarv::assert_eq(parse("").size(), 0u);        // shows both values when they differ
//   if (bad) quarv::panic("state is corrupt");     // ends the test body at once
#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>

#include "quarv/source_location.hpp"

namespace quarv {

// The payload thrown by panic() and the assertions: a message and where it was raised.
// A test body that throws a Panic (or any std::exception, whose what() is used) fails
// with a text payload; anything else thrown counts as a non-text payload.
class Panic {
public:
    Panic(std::string message, SourceLocation where) : m_message(std::move(message)), m_where(where) {}
    const std::string& message() const noexcept { return m_message; }
    const SourceLocation& where() const noexcept { return m_where; }

private:
    std::string m_message;
    SourceLocation m_where;
};

[[noreturn]] inline void panic(std::string message, SourceLocation where = SourceLocation::current()) {
    throw Panic(std::move(message), where);
}

namespace detail {

template <class T, class = void>
struct IsStreamable : std::false_type {};
template <class T>
struct IsStreamable<T, std::void_t<decltype(std::declval<std::ostream&>() << std::declval<const T&>())>>
    : std::true_type {};

// Renders a value for an assertion message: through operator<< when the type has one,
// otherwise as a placeholder naming that the value cannot be shown.
template <class T>
std::string show_value(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_same_v<T, std::nullptr_t>) {
        return "nullptr";
    } else if constexpr (std::is_same_v<T, char> || std::is_same_v<T, signed char> ||
                         std::is_same_v<T, unsigned char>) {
        std::ostringstream out;
        out << static_cast<int>(value);
        return out.str();
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        std::string_view text(value);
        std::string quoted = "\"";
        quoted.append(text);
        quoted += '"';
        return quoted;
    } else if constexpr (IsStreamable<T>::value) {
        std::ostringstream out;
        out << value;
        return out.str();
    } else {
        return "<value without operator<<>";
    }
}

[[noreturn]] void assertion_failed(const char* op, std::string left, std::string right, SourceLocation where);

}  // namespace detail

inline void assert_true(bool condition, SourceLocation where = SourceLocation::current()) {
    if (!condition) throw Panic("assertion failed", where);
}

inline void assert_true(bool condition, std::string message, SourceLocation where = SourceLocation::current()) {
    if (!condition) throw Panic(std::move(message), where);
}

// Fails unless left == right; the message shows both values.
template <class L, class R>
void assert_eq(const L& left, const R& right, SourceLocation where = SourceLocation::current()) {
    if (!(left == right)) detail::assertion_failed("==", detail::show_value(left), detail::show_value(right), where);
}

// Fails unless left != right; the message shows both values.
template <class L, class R>
void assert_ne(const L& left, const R& right, SourceLocation where = SourceLocation::current()) {
    if (!(left != right)) detail::assertion_failed("!=", detail::show_value(left), detail::show_value(right), where);
}

}  // namespace quarv
