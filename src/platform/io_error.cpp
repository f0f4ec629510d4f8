#include "platform/io_error.hpp"

#include <cerrno>
#include <cstring>

namespace quarv::detail {

namespace {

IoErrorKind kind_from_errno(int code) {
    switch (code) {
        case ENOENT: return IoErrorKind::NotFound;
        case EACCES:
        case EPERM: return IoErrorKind::PermissionDenied;
        case EPIPE: return IoErrorKind::BrokenPipe;
        case EEXIST: return IoErrorKind::AlreadyExists;
        case EAGAIN: return IoErrorKind::WouldBlock;
        case EINVAL: return IoErrorKind::InvalidInput;
        case EINTR: return IoErrorKind::Interrupted;
        case ENOMEM: return IoErrorKind::OutOfMemory;
        default: return IoErrorKind::Other;
    }
}

// Quotes a message the way the detailed form shows it: backslash and double quote escaped.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace

IoError IoError::from_errno(int code) {
    char buffer[256];
    // GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    return IoError{kind_from_errno(code), code, text};
}

const char* kind_name(IoErrorKind kind) {
    switch (kind) {
        case IoErrorKind::NotFound: return "NotFound";
        case IoErrorKind::PermissionDenied: return "PermissionDenied";
        case IoErrorKind::BrokenPipe: return "BrokenPipe";
        case IoErrorKind::AlreadyExists: return "AlreadyExists";
        case IoErrorKind::WouldBlock: return "WouldBlock";
        case IoErrorKind::InvalidInput: return "InvalidInput";
        case IoErrorKind::InvalidData: return "InvalidData";
        case IoErrorKind::UnexpectedEof: return "UnexpectedEof";
        case IoErrorKind::WriteZero: return "WriteZero";
        case IoErrorKind::Interrupted: return "Interrupted";
        case IoErrorKind::OutOfMemory: return "OutOfMemory";
        case IoErrorKind::Other: return "Other";
    }
    return "Other";
}

std::string IoError::describe() const {
    if (os_code != 0) {
        return "Os { code: " + std::to_string(os_code) + ", kind: " + kind_name(kind) + ", message: " + quoted(message) +
               " }";
    }
    return std::string("Custom { kind: ") + kind_name(kind) + ", error: " + quoted(message) + " }";
}

}  // namespace quarv::detail
