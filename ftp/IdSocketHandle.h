#pragma once

#include "platform/Sockets.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ftp {

// Longest time between two idle calls while the client waits on a socket (ms).
constexpr int IdleInterval = 100;

// Asks whether something is ready, waiting at most sliceMs for it.
using TIdReadyWithin = std::function<bool(int sliceMs)>;
// Waits for ready in slices; false when the time limit passed first.
using TIdWaiter = std::function<bool(const TIdReadyWithin& ready)>;

// Asks ready in slices of at most IdleInterval ms until it answers true or
// limitMs (negative: no limit) has passed, and calls idle after every slice
// that found nothing. False when the limit passed.
bool WaitInSlices(int limitMs, const TIdReadyWithin& ready, const std::function<void()>& idle);

// Raises EIdSocketError for a non-zero Winsock error number.
void CheckForSocketError(int error);

// One socket and the addresses it is bound and connected to. Failures of the
// socket calls raise the client's exceptions, except Recv and Send, whose
// callers decide per error.
class TIdSocketHandle {
public:
    TIdSocketHandle() = default;
    explicit TIdSocketHandle(platform::SocketHandle accepted);
    ~TIdSocketHandle();
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    // Throws EIdInvalidSocket.
    void AllocateSocket();
    // ip empty: any address; port 0: any port. Throws EIdCouldNotBindSocket, EIdSocketError.
    void Bind(const std::string& ip, std::uint16_t port);
    void Listen(int backlog);
    // Connects, waiting through wait. Throws EIdConnectTimeout (the socket
    // closed) when the wait gives up; a refusal raises EIdConnectException when
    // refusalAsConnectException, EIdSocketError otherwise.
    void Connect(const std::string& ip, std::uint16_t port, const TIdWaiter& wait, bool refusalAsConnectException);
    // Accepts one pending connection; none (without an exception) for an
    // interrupted accept or a closed listener. Throws EIdSocketError otherwise.
    std::unique_ptr<TIdSocketHandle> Accept();
    // Negative timeoutMs: no limit. Throws EIdSocketError.
    bool Readable(int timeoutMs);
    int Recv(char* buffer, std::size_t size, std::size_t& received);
    int Send(const char* data, std::size_t size, std::size_t& sent);
    void CloseSocket();
    void UpdateBindingLocal();
    void UpdateBindingPeer();

    bool HandleAllocated() const { return handle_ != platform::InvalidSocket; }

    std::string IP;
    std::uint16_t Port = 0;
    std::string PeerIP;
    std::uint16_t PeerPort = 0;

private:
    platform::SocketHandle handle_ = platform::InvalidSocket;
};

} // namespace ftp
