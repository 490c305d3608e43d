#include "ftp/IdSimpleServer.h"

#include "ftp/IdException.h"

namespace ftp {

void TIdSimpleServer::BeginListen() {
    listening_.AllocateSocket();
    listening_.Bind(BoundIP, BoundPort);
    listening_.Listen(15);
}

void TIdSimpleServer::Listen() {
    if (!Waiter(WaitLimit())([&](int sliceMs) { return listening_.Readable(sliceMs); }))
        throw EIdAcceptTimeout();
    std::unique_ptr<TIdSocketHandle> accepted = listening_.Accept();
    listening_.CloseSocket();
    if (accepted)
        OpenIOHandler(std::make_unique<TIdIOHandlerSocket>(std::move(accepted)));
}

} // namespace ftp
