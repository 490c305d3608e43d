#include "db/IBError.h"

namespace db {

EIBError::EIBError(long sqlCode, long ibErrorCode, const std::string& message)
    : base::Exception(message), sqlCode_(sqlCode), ibErrorCode_(ibErrorCode) {}

std::string StatusMessage(const ISC_STATUS* status) {
    std::string message;
    char line[1024];
    const ISC_STATUS* cursor = status;
    while (fb_interpret(line, sizeof line, &cursor) > 0) {
        if (!message.empty())
            message += "\r\n";
        message += line;
    }
    if (!message.empty() && message.back() == '.')
        message.pop_back();
    return message;
}

void check(const StatusVector& status) {
    if (status.failed())
        throw EIBError(isc_sqlcode(status.values), status.values[1], StatusMessage(status.values));
}

} // namespace db
