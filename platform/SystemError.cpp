#include "platform/SystemError.h"

namespace platform {

std::string SysErrorMessage(std::uint32_t code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return "The system cannot find the file specified.";
    case ERROR_CANTREAD:
        return "The configuration registry key could not be read.";
    default:
        return "System error " + std::to_string(code) + ".";
    }
}

} // namespace platform
