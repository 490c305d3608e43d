#include "signing/Sodium.h"

#include "base/Exception.h"

#include <sodium.h>

namespace signing {

void RequireSodium() {
    static const int status = sodium_init();
    if (status < 0)
        throw base::Exception("libsodium could not be initialised");
}

} // namespace signing
