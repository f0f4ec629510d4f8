// The value a test or benchmark body may return instead of throwing.
//
//   QUARV_TEST(checks_input) {
//       if (!valid()) return quarv::fail("input rejected");
//       return quarv::ok();
//   }
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace quarv {

// Success, or a failure carrying a message. A body that returns a failure is judged
// exactly like a body that threw a text payload with that message.
class [[nodiscard]] Result {
public:
    Result() = default;
    static Result success() { return Result(); }
    static Result failure(std::string message) { return Result(std::move(message)); }

    bool is_ok() const noexcept { return !m_error.has_value(); }
    explicit operator bool() const noexcept { return is_ok(); }
    // The failure message; only meaningful when !is_ok().
    const std::string& error() const noexcept { return *m_error; }
    std::string take_error() { return std::move(*m_error); }

private:
    explicit Result(std::string message) : m_error(std::move(message)) {}
    std::optional<std::string> m_error;
};

inline Result ok() { return Result::success(); }
inline Result fail(std::string message) { return Result::failure(std::move(message)); }

}  // namespace quarv
