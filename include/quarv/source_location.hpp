// Source positions for failure reports and test descriptors.
//
//   void check(bool ok, quarv::SourceLocation where = quarv::SourceLocation::current());
//   check(x > 0);  // a failure names the caller's file, line and column
#pragma once

#include <cstdint>
#if !defined(__clang__)
#include <source_location>
#endif

namespace quarv {

// A file, line and column captured at a call site. g++ 12 reports columns through
// std::source_location; clang 14 (with libstdc++ 12) lacks it, so the builtins are used
// there. Both fill the column of the expression that asks for the location.
struct SourceLocation {
    const char* file = "";
    std::uint32_t line = 0;
    std::uint32_t column = 0;

#if defined(__clang__)
    static constexpr SourceLocation current(const char* file = __builtin_FILE(),
                                            std::uint32_t line = __builtin_LINE(),
                                            std::uint32_t column = __builtin_COLUMN()) noexcept {
        return SourceLocation{file, line, column};
    }
#else
    static constexpr SourceLocation current(
        std::source_location where = std::source_location::current()) noexcept {
        return SourceLocation{where.file_name(), where.line(), where.column()};
    }
#endif
};

}  // namespace quarv
