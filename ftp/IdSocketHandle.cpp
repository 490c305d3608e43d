#include "ftp/IdSocketHandle.h"

#include "ftp/IdException.h"

#include <algorithm>
#include <chrono>

namespace ftp {

bool WaitInSlices(int limitMs, const TIdReadyWithin& ready, const std::function<void()>& idle) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(limitMs, 0));
    for (;;) {
        int slice = IdleInterval;
        if (limitMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            slice = static_cast<int>(std::clamp<long long>(left, 0, IdleInterval));
        }
        if (ready(slice))
            return true;
        if (limitMs >= 0 && Clock::now() >= deadline)
            return false;
        idle();
    }
}

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

void TIdSocketHandle::Connect(const std::string& ip, std::uint16_t port, const TIdWaiter& wait,
                              bool refusalAsConnectException) {
    int error = platform::StartConnect(handle_, ip, port);
    if (error == 0 && !wait([&](int sliceMs) {
            bool done = false;
            error = platform::FinishConnect(handle_, sliceMs, done);
            return done || error != 0;
        })) {
        CloseSocket();
        throw EIdConnectTimeout();
    }
    if (error != 0 && refusalAsConnectException)
        throw EIdConnectException(EIdSocketError(error).what());
    CheckForSocketError(error);
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
