#include "ftp/IdIOHandlerSocket.h"

#include "base/StrUtils.h"

namespace ftp {

namespace {

std::string resolve(const std::string& host) {
    if (base::SameText(host, "localhost"))
        return "127.0.0.1";
    std::string ip;
    CheckForSocketError(platform::ResolveHost(host, ip));
    return ip;
}

} // namespace

void TIdIOHandlerSocket::ConnectClient(const std::string& host, std::uint16_t port, const std::string& boundIP,
                                       std::uint16_t boundPort, const TIdWaiter& wait, bool refusalAsConnectException) {
    TIdSocketHandle& binding = *binding_;
    binding.AllocateSocket();
    binding.Bind(boundIP, boundPort);
    std::string ip = host;
    if (!platform::IsIPv4Literal(host)) {
        ReportStatus(hsResolving, host);
        ip = resolve(host);
    }
    binding.PeerIP = ip;
    binding.PeerPort = port;
    ReportStatus(hsConnecting, ip);
    binding.Connect(ip, port, wait, refusalAsConnectException);
    binding.UpdateBindingLocal();
    binding.UpdateBindingPeer();
}

} // namespace ftp
