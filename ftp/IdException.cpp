#include "ftp/IdException.h"

#include "platform/Sockets.h"

namespace ftp {

namespace {

std::string duration(int ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

} // namespace

EIdSocketError::EIdSocketError(int lastError)
    : EIdException("Socket Error # " + std::to_string(lastError) + "\r\n" + platform::SocketErrorText(lastError)),
      lastError_(lastError) {}

EIdReadTimeout::EIdReadTimeout(const std::string& subject, int limitMs)
    : EIdException("Read Timeout\r\nNo " + subject + " from the server in " + duration(limitMs) + ".") {}

} // namespace ftp
