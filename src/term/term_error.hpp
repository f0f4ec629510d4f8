// The failure of a terminfo lookup or parse, as a value.
//
// None of these ever reaches the user: the colour terminal treats every Error as "no colour
// terminal here" and the run falls back to plain output. The kinds exist so that tests and
// callers can tell a missing TERM from a broken entry from an unreadable file.
#pragma once

#include <string>
#include <variant>

#include "platform/io_error.hpp"

namespace quarv::detail::term {

// TERM is not set or is not valid UTF-8.
struct NoTermVariable {
    bool operator==(const NoTermVariable&) const = default;
};
// The compiled entry is not in the expected format; `message` says what was wrong.
struct MalformedEntry {
    std::string message;
    bool operator==(const MalformedEntry&) const = default;
};
// A file is missing or cannot be opened or read.
struct IoFailure {
    IoError error;
};

class Error {
public:
    Error(NoTermVariable kind) : m_kind(kind) {}
    Error(MalformedEntry kind) : m_kind(std::move(kind)) {}
    Error(IoFailure kind) : m_kind(std::move(kind)) {}

    template <class Kind>
    bool is() const noexcept {
        return std::holds_alternative<Kind>(m_kind);
    }
    // The kind's payload, or null when the error is of another kind.
    template <class Kind>
    const Kind* get_if() const noexcept {
        return std::get_if<Kind>(&m_kind);
    }
    // A one-line description, for diagnostics and test messages.
    std::string describe() const;

private:
    std::variant<NoTermVariable, MalformedEntry, IoFailure> m_kind;
};

}  // namespace quarv::detail::term
