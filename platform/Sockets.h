#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Blocking IPv4 stream sockets. Every failing call returns the error as a
// Winsock error number (the numbering the program reports, whatever the
// system); 0 means success.
namespace platform {

using SocketHandle = int;
constexpr SocketHandle InvalidSocket = -1;

constexpr int WSAEINTR = 10004;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAHOST_NOT_FOUND = 11001;

struct SocketAddress {
    std::string ip;
    std::uint16_t port = 0;
};

// The Winsock error number for a system error number (errno).
int WinsockErrorOf(int systemError);
// The text the program shows for a Winsock error number; empty when unknown.
std::string SocketErrorText(int code);

// True for a dotted IPv4 literal: four decimal parts, each 0 to 255.
bool IsIPv4Literal(const std::string& host);
// Looks a host name up and gives its first IPv4 address.
int ResolveHost(const std::string& host, std::string& ip);

int CreateTcpSocket(SocketHandle& handle);
// Binds to ip (empty: any address) and port (0: the system chooses).
int BindSocket(SocketHandle handle, const std::string& ip, std::uint16_t port);
int ListenSocket(SocketHandle handle, int backlog);
int AcceptSocket(SocketHandle listener, SocketHandle& accepted);
// Starts a connect without waiting for it; the socket stays non-blocking until
// FinishConnect settles the connect.
int StartConnect(SocketHandle handle, const std::string& ip, std::uint16_t port);
// Waits at most timeoutMs for a started connect. done tells whether it settled
// (the socket blocks again); the result is then the connect's outcome.
int FinishConnect(SocketHandle handle, int timeoutMs, bool& done);
// Waits until the socket has data (or a pending connection, or end of stream);
// a negative timeoutMs waits without limit.
int WaitReadable(SocketHandle handle, int timeoutMs, bool& readable);
// One receive of at most size bytes; received is 0 when the peer closed.
int ReceiveSome(SocketHandle handle, char* buffer, std::size_t size, std::size_t& received);
// One send of at most size bytes (never raises a signal for a closed peer).
int SendSome(SocketHandle handle, const char* data, std::size_t size, std::size_t& sent);
int LocalAddress(SocketHandle handle, SocketAddress& address);
int PeerAddress(SocketHandle handle, SocketAddress& address);
// Shuts the sending direction down, then releases the handle.
void CloseSocket(SocketHandle handle);

} // namespace platform
