#include "ftp/IdSimpleServer.h"

#include "ftp/IdException.h"

namespace ftp {

void TIdSimpleServer::BeginListen() {
    listening_.AllocateSocket();
    listening_.Bind(BoundIP, BoundPort);
    listening_.Listen(15);
}

void TIdSimpleServer::Listen() {
    // One wait in the system until the peer connects: no polling loop.
    if (!listening_.Readable(AcceptTimeout))
        throw EIdAcceptTimeout();
    std::unique_ptr<TIdSocketHandle> accepted = listening_.Accept();
    listening_.CloseSocket();
    if (accepted)
        OpenIOHandler(std::make_unique<TIdIOHandlerSocket>(std::move(accepted)));
}

} // namespace ftp
