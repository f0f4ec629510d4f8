#include "quarv/assert.hpp"

namespace quarv::detail {

void assertion_failed(const char* op, std::string left, std::string right, SourceLocation where) {
    std::string message = "assertion `left ";
    message += op;
    message += " right` failed\n  left: ";
    message += left;
    message += "\n right: ";
    message += right;
    throw Panic(std::move(message), where);
}

}  // namespace quarv::detail
