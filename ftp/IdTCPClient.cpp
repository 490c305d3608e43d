#include "ftp/IdTCPClient.h"

#include "ftp/IdException.h"

namespace ftp {

void TIdTCPClient::Connect(int timeoutMs) {
    if (IOHandler() != nullptr && IOHandler()->Connected())
        throw EIdAlreadyConnected();
    ClearAbortRequest();
    TIdIOHandlerSocket& handler = OpenIOHandler(std::make_unique<TIdIOHandlerSocket>());
    handler.OnStatus = OnStatus;
    try {
        handler.ConnectClient(Host, static_cast<std::uint16_t>(Port), BoundIP, BoundPort,
                              Waiter(timeoutMs > 0 ? timeoutMs : WaitLimit()), timeoutMs > 0);
    } catch (...) {
        CloseSocket();
        throw;
    }
    ReportStatus(hsConnected, Host);
    if (OnConnected)
        OnConnected(this);
}

} // namespace ftp
