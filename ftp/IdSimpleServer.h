#pragma once

#include "ftp/IdSocketHandle.h"
#include "ftp/IdTCPConnection.h"

#include <cstdint>
#include <string>

namespace ftp {

// A connection that listens on one socket and accepts a single peer: the data
// connection of an active-mode transfer.
class TIdSimpleServer : public TIdTCPConnection {
public:
    std::string BoundIP;
    std::uint16_t BoundPort = 0; // 0: the system chooses
    std::string AllowedPeerIP;   // only a peer from this address is accepted; empty: any

    // Binds the listening socket and starts listening; ListeningPort tells the port.
    void BeginListen();
    std::uint16_t ListeningPort() const { return listening_.Port; }
    // Waits for the peer and accepts it, then stops listening; a connection
    // from another address than AllowedPeerIP is closed at once. Throws
    // EIdAcceptTimeout when no peer came within the wait limit (ReadTimeout).
    void Listen();

private:
    TIdSocketHandle listening_;
};

} // namespace ftp
