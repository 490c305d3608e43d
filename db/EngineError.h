#pragma once

#include "base/Exception.h"

namespace db {

// A failure of the database engine stand-in: alias configuration, driver,
// connection or query. The message says what failed, in plain words.
class EDatabaseError : public base::Exception {
public:
    using base::Exception::Exception;
};

} // namespace db
