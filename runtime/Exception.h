#pragma once

#include <stdexcept>
#include <string>

namespace runtime {

// The framework's general exception: an error that carries the message shown
// to the operator. Every layer's own exception classes derive from it, so the
// application's default error report can show any of them.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that cannot be converted to the value asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

} // namespace runtime
