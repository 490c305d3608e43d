#pragma once

#include "base/Exception.h"

#include <cstdint>
#include <string>

// System error codes and texts. The program shows the Windows system texts;
// on other systems errno values are first mapped to the Windows codes.
namespace platform {

// Windows system error codes the program reports in the system's own words.
constexpr std::uint32_t ERROR_SUCCESS = 0;
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr std::uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr std::uint32_t ERROR_BAD_FORMAT = 11;
constexpr std::uint32_t ERROR_NOT_SAME_DEVICE = 17;
constexpr std::uint32_t ERROR_WRITE_PROTECT = 19;
constexpr std::uint32_t ERROR_GEN_FAILURE = 31;
constexpr std::uint32_t ERROR_SHARING_VIOLATION = 32;
constexpr std::uint32_t ERROR_HANDLE_EOF = 38;
constexpr std::uint32_t ERROR_NOT_SUPPORTED = 50;
constexpr std::uint32_t ERROR_FILE_EXISTS = 80;
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_DISK_FULL = 112;
constexpr std::uint32_t ERROR_INVALID_NAME = 123;
constexpr std::uint32_t ERROR_DIR_NOT_EMPTY = 145;
constexpr std::uint32_t ERROR_ALREADY_EXISTS = 183;
constexpr std::uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
constexpr std::uint32_t ERROR_DIRECTORY = 267;
constexpr std::uint32_t ERROR_CANTOPEN = 1011;
constexpr std::uint32_t ERROR_CANTREAD = 1012;
constexpr std::uint32_t ERROR_IO_DEVICE = 1117;
constexpr std::uint32_t ERROR_TIMEOUT = 1460;
constexpr std::uint32_t ERROR_CANT_RESOLVE_FILENAME = 1921;

// The system's message text for a system error code.
std::string SysErrorMessage(std::uint32_t code);

// The system error code that stands for an errno value.
std::uint32_t ErrorFromErrno(int errnoValue);

// The code of the last failed system call of this thread, as the file and
// process functions of this layer leave it.
std::uint32_t GetLastError();
void SetLastError(std::uint32_t code);
// Records errno, mapped, as the last error.
void SetLastErrorFromErrno(int errnoValue);

// An operating-system failure; its message is the system's text for the code.
class EOSError : public base::Exception {
public:
    explicit EOSError(std::uint32_t code) : base::Exception(SysErrorMessage(code)), code_(code) {}
    std::uint32_t ErrorCode() const { return code_; }

private:
    std::uint32_t code_;
};

// A file stream that could not be opened or created. The message names the
// file as the caller wrote it and adds the system's text.
class EFOpenError : public base::Exception {
public:
    EFOpenError(const std::string& fileName, std::uint32_t code);
    // With the reason in the program's own words instead of a system text.
    EFOpenError(const std::string& fileName, const std::string& reason);
};

class EFCreateError : public base::Exception {
public:
    EFCreateError(const std::string& fileName, std::uint32_t code);
};

} // namespace platform
