#pragma once

#include <string>

#include <ibase.h>

#include "base/Exception.h"

namespace db {

// The local database layer's exception: errors reported by the Firebird client
// library (with its SQL code and error code) and the layer's own checks (both
// codes 0 unless the caller gives them).
class EIBError : public base::Exception {
public:
    EIBError(long sqlCode, long ibErrorCode, const std::string& message);
    explicit EIBError(const std::string& message) : EIBError(0, 0, message) {}

    long SQLCode() const { return sqlCode_; }
    long IBErrorCode() const { return ibErrorCode_; }

private:
    long sqlCode_;
    long ibErrorCode_;
};

// A client library status vector, cleared on construction.
struct StatusVector {
    ISC_STATUS_ARRAY values{};

    ISC_STATUS* get() { return values; }
    bool failed() const { return values[0] == 1 && values[1] != 0; }
};

// The library's interpreted texts of a status vector, one per line, joined by
// CR LF, without a final full stop.
std::string StatusMessage(const ISC_STATUS* status);

// Throws EIBError (SQL code, library error code, StatusMessage) when the
// status vector reports an error; does nothing otherwise.
void check(const StatusVector& status);

} // namespace db
