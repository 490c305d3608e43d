#pragma once

#include "runtime/Exception.h"

namespace db {

// A failure of the database engine stand-in: alias configuration, driver,
// connection or query. The message says what failed, in plain words.
class EDatabaseError : public runtime::Exception {
public:
    using runtime::Exception::Exception;
};

} // namespace db
