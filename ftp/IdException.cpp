#include "ftp/IdException.h"

#include "platform/Sockets.h"

namespace ftp {

EIdSocketError::EIdSocketError(int lastError)
    : EIdException("Socket Error # " + std::to_string(lastError) + "\r\n" + platform::SocketErrorText(lastError)),
      lastError_(lastError) {}

} // namespace ftp
