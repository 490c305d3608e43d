#pragma once

#include <cerrno>
#include <stdexcept>
#include <string>

namespace base {

// The framework's general exception: an error that carries the message shown
// to the operator. Every layer's own exception classes derive from it, so the
// application's default error report can show any of them.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// The silent exception: it ends an operation that its caller asked to stop.
// The application's default error report shows nothing for it.
class EAbort : public Exception {
public:
    using Exception::Exception;
};

// A text that cannot be converted to the value asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file could not be opened, read or written; the message is the framework's
// text for the failure ("File not found", "File access denied", "I/O error 21").
class EInOutError : public Exception {
public:
    using Exception::Exception;
    // The error for a failed file operation, from the system's errno value.
    static EInOutError FromErrno(int error) {
        switch (error) {
        case ENOENT:
        case ENOTDIR:
            return EInOutError("File not found");
        case EACCES:
        case EPERM:
            return EInOutError("File access denied");
        default:
            return EInOutError("I/O error " + std::to_string(error));
        }
    }
};

} // namespace base
