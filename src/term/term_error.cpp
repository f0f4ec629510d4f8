#include "term/term_error.hpp"

namespace quarv::detail::term {

std::string Error::describe() const {
    if (is<NoTermVariable>()) return "TERM is not set or not valid UTF-8";
    if (const auto* malformed = get_if<MalformedEntry>()) return "malformed terminfo entry: " + malformed->message;
    return "terminfo i/o error: " + get_if<IoFailure>()->error.text();
}

}  // namespace quarv::detail::term
