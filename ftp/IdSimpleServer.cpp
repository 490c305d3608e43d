#include "ftp/IdSimpleServer.h"

#include "ftp/IdException.h"

namespace ftp {

void TIdSimpleServer::BeginListen() {
    listening_.AllocateSocket();
    listening_.Bind(BoundIP, BoundPort);
    listening_.Listen(15);
}

void TIdSimpleServer::Listen() {
    std::unique_ptr<TIdSocketHandle> accepted;
    const bool came = Waiter(WaitLimit())([&](int sliceMs) {
        if (!listening_.Readable(sliceMs))
            return false;
        accepted = listening_.Accept();
        if (accepted && !AllowedPeerIP.empty() && accepted->PeerIP != AllowedPeerIP) {
            accepted.reset();
            return false;
        }
        return true;
    });
    if (!came)
        throw EIdAcceptTimeout();
    listening_.CloseSocket();
    if (accepted)
        OpenIOHandler(std::make_unique<TIdIOHandlerSocket>(std::move(accepted)));
}

} // namespace ftp
