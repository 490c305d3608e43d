#pragma once

#include "ftp/IdTCPConnection.h"

#include <cstdint>
#include <string>

namespace ftp {

// A connection that connects out to Host and Port.
class TIdTCPClient : public TIdTCPConnection {
public:
    std::string Host;
    int Port = 0;
    std::string BoundIP;         // local address of the socket; empty: any
    std::uint16_t BoundPort = 0; // 0: the system chooses

    // Clears an abort request, then connects. A positive timeoutMs bounds the
    // connect, -1 or 0 leave the bound to ReadTimeout; EIdConnectTimeout when
    // it passes. Throws EIdAlreadyConnected while open.
    void Connect(int timeoutMs = -1);
};

} // namespace ftp
