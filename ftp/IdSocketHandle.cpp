#include "ftp/IdSocketHandle.h"

#include "ftp/IdException.h"

namespace ftp {

void CheckForSocketError(int error) {
    if (error != 0)
        throw EIdSocketError(error);
}

TIdSocketHandle::TIdSocketHandle(platform::SocketHandle accepted) : handle_(accepted) {}

TIdSocketHandle::~TIdSocketHandle() {
    CloseSocket();
}

void TIdSocketHandle::AllocateSocket() {
    CloseSocket();
    if (platform::CreateTcpSocket(handle_) != 0)
        throw EIdInvalidSocket();
}

void TIdSocketHandle::Bind(const std::string& ip, std::uint16_t port) {
    const int error = platform::BindSocket(handle_, ip, port);
    if (error == platform::WSAEADDRINUSE)
        throw EIdCouldNotBindSocket();
    CheckForSocketError(error);
    UpdateBindingLocal();
}

void TIdSocketHandle::Listen(int backlog) {
    CheckForSocketError(platform::ListenSocket(handle_, backlog));
}

void TIdSocketHandle::Connect(const std::string& ip, std::uint16_t port) {
    CheckForSocketError(platform::ConnectSocket(handle_, ip, port));
}

void TIdSocketHandle::ConnectWithin(const std::string& ip, std::uint16_t port, int timeoutMs) {
    bool timedOut = false;
    const int error = platform::ConnectSocketWithin(handle_, ip, port, timeoutMs, timedOut);
    if (timedOut) {
        CloseSocket();
        throw EIdConnectTimeout();
    }
    if (error != 0)
        throw EIdConnectException(EIdSocketError(error).what());
}

std::unique_ptr<TIdSocketHandle> TIdSocketHandle::Accept() {
    platform::SocketHandle accepted = platform::InvalidSocket;
    const int error = platform::AcceptSocket(handle_, accepted);
    if (error == platform::WSAEINTR || error == platform::WSAENOTSOCK)
        return nullptr;
    CheckForSocketError(error);
    auto result = std::make_unique<TIdSocketHandle>(accepted);
    result->UpdateBindingLocal();
    result->UpdateBindingPeer();
    return result;
}

bool TIdSocketHandle::Readable(int timeoutMs) {
    bool readable = false;
    CheckForSocketError(platform::WaitReadable(handle_, timeoutMs, readable));
    return readable;
}

int TIdSocketHandle::Recv(char* buffer, std::size_t size, std::size_t& received) {
    return platform::ReceiveSome(handle_, buffer, size, received);
}

int TIdSocketHandle::Send(const char* data, std::size_t size, std::size_t& sent) {
    return platform::SendSome(handle_, data, size, sent);
}

void TIdSocketHandle::CloseSocket() {
    if (!HandleAllocated())
        return;
    platform::CloseSocket(handle_);
    handle_ = platform::InvalidSocket;
}

void TIdSocketHandle::UpdateBindingLocal() {
    platform::SocketAddress address;
    CheckForSocketError(platform::LocalAddress(handle_, address));
    IP = address.ip;
    Port = address.port;
}

void TIdSocketHandle::UpdateBindingPeer() {
    platform::SocketAddress address;
    CheckForSocketError(platform::PeerAddress(handle_, address));
    PeerIP = address.ip;
    PeerPort = address.port;
}

} // namespace ftp
