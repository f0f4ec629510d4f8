// I/O errors as values, with the detailed rendering used in the driver's messages.
#pragma once

#include <string>

#include "platform/expected.hpp"

namespace quarv::detail {

enum class IoErrorKind {
    NotFound,
    PermissionDenied,
    BrokenPipe,
    AlreadyExists,
    WouldBlock,
    InvalidInput,
    InvalidData,
    UnexpectedEof,
    WriteZero,
    Interrupted,
    OutOfMemory,
    Other,
};

struct IoError {
    IoErrorKind kind = IoErrorKind::Other;
    int os_code = 0;  // errno value when the error came from the operating system, else 0
    std::string message;

    // An error from errno: kind derived from the code, message from strerror.
    static IoError from_errno(int code);
    static IoError custom(IoErrorKind kind, std::string message) { return IoError{kind, 0, std::move(message)}; }

    // The message alone ("Broken pipe", "end of file").
    const std::string& text() const noexcept { return message; }
    // The detailed form: `Os { code: 32, kind: BrokenPipe, message: "Broken pipe" }` for
    // operating-system errors, `Custom { kind: InvalidData, error: "stack is empty" }` otherwise.
    std::string describe() const;
};

const char* kind_name(IoErrorKind kind);

template <class T = void>
using IoResult = Expected<T, IoError>;

// Propagates the error of an IoResult expression out of the enclosing function.
#define QUARV_TRY_IO(expr)                                          \
    do {                                                            \
        auto quarv_try_result = (expr);                             \
        if (!quarv_try_result) return ::quarv::detail::unexpected(std::move(quarv_try_result).error()); \
    } while (0)

}  // namespace quarv::detail
