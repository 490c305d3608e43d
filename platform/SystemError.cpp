#include "platform/SystemError.h"

#include <cerrno>
#include <map>

namespace platform {

namespace {

thread_local std::uint32_t lastError = ERROR_SUCCESS;

const std::map<std::uint32_t, std::string>& messages() {
    static const std::map<std::uint32_t, std::string> table = {
        {ERROR_SUCCESS, "The operation completed successfully."},
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
        {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
        {ERROR_ACCESS_DENIED, "Access is denied."},
        {ERROR_INVALID_HANDLE, "The handle is invalid."},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
        {ERROR_BAD_FORMAT, "An attempt was made to load a program with an incorrect format."},
        {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive."},
        {ERROR_WRITE_PROTECT, "The media is write protected."},
        {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
        {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process."},
        {ERROR_HANDLE_EOF, "Reached the end of the file."},
        {ERROR_NOT_SUPPORTED, "The request is not supported."},
        {ERROR_FILE_EXISTS, "The file exists."},
        {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
        {ERROR_DISK_FULL, "There is not enough space on the disk."},
        {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
        {ERROR_DIR_NOT_EMPTY, "The directory is not empty."},
        {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists."},
        {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
        {ERROR_DIRECTORY, "The directory name is invalid."},
        {ERROR_CANTOPEN, "The configuration registry key could not be opened."},
        {ERROR_CANTREAD, "The configuration registry key could not be read."},
        {ERROR_IO_DEVICE, "The request could not be performed because of an I/O device error."},
        {ERROR_TIMEOUT, "This operation returned because the timeout period expired."},
        {ERROR_CANT_RESOLVE_FILENAME, "The name of the file cannot be resolved by the system."},
    };
    return table;
}

} // namespace

std::string SysErrorMessage(std::uint32_t code) {
    const auto found = messages().find(code);
    return found == messages().end() ? "System error " + std::to_string(code) + "." : found->second;
}

std::uint32_t ErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ENOEXEC:
        return ERROR_BAD_FORMAT;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case ENOSYS:
    case EOPNOTSUPP:
        return ERROR_NOT_SUPPORTED;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case EIO:
        return ERROR_IO_DEVICE;
    case ETIMEDOUT:
        return ERROR_TIMEOUT;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    default:
        return ERROR_GEN_FAILURE;
    }
}

std::uint32_t GetLastError() {
    return lastError;
}

void SetLastError(std::uint32_t code) {
    lastError = code;
}

void SetLastErrorFromErrno(int errnoValue) {
    lastError = ErrorFromErrno(errnoValue);
}

EFOpenError::EFOpenError(const std::string& fileName, std::uint32_t code)
    : EFOpenError(fileName, SysErrorMessage(code)) {}

EFOpenError::EFOpenError(const std::string& fileName, const std::string& reason)
    : Exception("Cannot open file \"" + fileName + "\". " + reason) {}

EFCreateError::EFCreateError(const std::string& fileName, std::uint32_t code)
    : Exception("Cannot create file \"" + fileName + "\". " + SysErrorMessage(code)) {}

} // namespace platform
