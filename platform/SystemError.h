#pragma once

#include "runtime/Exception.h"

#include <cstdint>
#include <string>

namespace platform {

// Windows system error codes the program reports in the system's own words.
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_CANTREAD = 1012;

// The system's message text for a system error code.
std::string SysErrorMessage(std::uint32_t code);

// An operating-system failure; its message is the system's text for the code.
class EOSError : public runtime::Exception {
public:
    explicit EOSError(std::uint32_t code) : runtime::Exception(SysErrorMessage(code)), code_(code) {}
    std::uint32_t ErrorCode() const { return code_; }

private:
    std::uint32_t code_;
};

} // namespace platform
