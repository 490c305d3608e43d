#include "platform/Sockets.h"

#include "base/StrUtils.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

int lastError() {
    return WinsockErrorOf(errno);
}

bool toAddress(const std::string& ip, std::uint16_t port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (ip.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return inet_pton(AF_INET, ip.c_str(), &address.sin_addr) == 1;
}

int invalidAddress() {
    return WinsockErrorOf(EINVAL);
}

SocketAddress fromAddress(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return {text, ntohs(address.sin_port)};
}

template <typename Call> int addressOf(SocketHandle handle, SocketAddress& result, Call call) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (call(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return lastError();
    result = fromAddress(address);
    return 0;
}

int pollFor(SocketHandle handle, short events, int timeoutMs, bool& ready) {
    pollfd entry{handle, events, 0};
    int result;
    do {
        result = ::poll(&entry, 1, timeoutMs < 0 ? -1 : timeoutMs);
    } while (result < 0 && errno == EINTR);
    if (result < 0)
        return lastError();
    ready = result > 0;
    return 0;
}

bool setBlocking(SocketHandle handle, bool blocking) {
    const int flags = fcntl(handle, F_GETFL, 0);
    return flags >= 0 && fcntl(handle, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}

} // namespace

int WinsockErrorOf(int systemError) {
    static const std::map<int, int> codes = {
        {EINTR, 10004},         {EBADF, 10009},        {EACCES, 10013},          {EFAULT, 10014},
        {EINVAL, 10022},        {EMFILE, 10024},       {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},
        {EALREADY, 10037},      {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
        {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
        {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},     {ENETUNREACH, 10051},     {ENETRESET, 10052},
        {ECONNABORTED, 10053},  {ECONNRESET, 10054},   {ENOBUFS, 10055},         {EISCONN, 10056},
        {ENOTCONN, 10057},      {ESHUTDOWN, 10058},    {EPIPE, 10058},           {ETOOMANYREFS, 10059},
        {ETIMEDOUT, 10060},     {ECONNREFUSED, 10061}, {ELOOP, 10062},           {ENAMETOOLONG, 10063},
        {EHOSTDOWN, 10064},     {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
    };
    const auto found = codes.find(systemError);
    return found == codes.end() ? systemError : found->second;
}

std::string SocketErrorText(int code) {
    static const std::map<int, std::string> texts = {
        {10004, "Interrupted system call."},
        {10009, "Bad file number."},
        {10013, "Access denied."},
        {10014, "Bad address."},
        {10022, "Invalid argument."},
        {10024, "Too many open files."},
        {10035, "Operation would block. "},
        {10036, "Operation now in progress."},
        {10037, "Operation already in progress."},
        {10038, "Socket operation on non-socket."},
        {10039, "Destination address required."},
        {10040, "Message too long."},
        {10041, "Protocol wrong type for socket."},
        {10042, "Bad protocol option."},
        {10043, "Protocol not supported."},
        {10044, "Socket type not supported."},
        {10045, "Operation not supported on socket."},
        {10046, "Protocol family not supported."},
        {10047, "Address family not supported by protocol family."},
        {10048, "Address already in use."},
        {10049, "Cannot assign requested address."},
        {10050, "Network is down."},
        {10051, "Network is unreachable."},
        {10052, "Net dropped connection or reset."},
        {10053, "Software caused connection abort."},
        {10054, "Connection reset by peer."},
        {10055, "No buffer space available."},
        {10056, "Socket is already connected."},
        {10057, "Socket is not connected."},
        {10058, "Cannot send or receive after socket is closed."},
        {10059, "Too many references, cannot splice."},
        {10060, "Connection timed out."},
        {10061, "Connection refused."},
        {10062, "Too many levels of symbolic links."},
        {10063, "File name too long."},
        {10064, "Host is down."},
        {10065, "No route to host."},
        {10066, "Directory not empty"},
        {11001, "Host not found."},
    };
    const auto found = texts.find(code);
    return found == texts.end() ? std::string() : found->second;
}

bool IsIPv4Literal(const std::string& host) {
    const std::vector<std::string> parts = base::SplitString(host, '.');
    return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), [](const std::string& part) {
               return !part.empty() && part.size() <= 3 && part.find_first_not_of("0123456789") == std::string::npos &&
                      std::stoi(part) <= 255;
           });
}

int ResolveHost(const std::string& host, std::string& ip) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result == EAI_SYSTEM)
        return lastError();
    if (result != 0 || found == nullptr)
        return WSAHOST_NOT_FOUND;
    ip = fromAddress(*reinterpret_cast<const sockaddr_in*>(found->ai_addr)).ip;
    freeaddrinfo(found);
    return 0;
}

int CreateTcpSocket(SocketHandle& handle) {
    handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    return handle == InvalidSocket ? lastError() : 0;
}

int BindSocket(SocketHandle handle, const std::string& ip, std::uint16_t port) {
    sockaddr_in address;
    if (!toAddress(ip, port, address))
        return invalidAddress();
    return ::bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : lastError();
}

int ListenSocket(SocketHandle handle, int backlog) {
    return ::listen(handle, backlog) == 0 ? 0 : lastError();
}

int AcceptSocket(SocketHandle listener, SocketHandle& accepted) {
    do {
        accepted = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    } while (accepted == InvalidSocket && errno == EINTR);
    return accepted == InvalidSocket ? lastError() : 0;
}

int StartConnect(SocketHandle handle, const std::string& ip, std::uint16_t port) {
    sockaddr_in address;
    if (!toAddress(ip, port, address))
        return invalidAddress();
    if (!setBlocking(handle, false))
        return lastError();
    if (::connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 && errno != EINPROGRESS &&
        errno != EALREADY && errno != EINTR)
        return lastError();
    return 0;
}

int FinishConnect(SocketHandle handle, int timeoutMs, bool& done) {
    done = false;
    int error = pollFor(handle, POLLOUT, timeoutMs, done);
    if (error != 0 || !done)
        return error;
    int pending = 0;
    socklen_t length = sizeof pending;
    getsockopt(handle, SOL_SOCKET, SO_ERROR, &pending, &length);
    error = pending == 0 ? 0 : WinsockErrorOf(pending);
    if (!setBlocking(handle, true) && error == 0)
        error = lastError();
    return error;
}

int WaitReadable(SocketHandle handle, int timeoutMs, bool& readable) {
    return pollFor(handle, POLLIN, timeoutMs, readable);
}

int ReceiveSome(SocketHandle handle, char* buffer, std::size_t size, std::size_t& received) {
    ssize_t result;
    do {
        result = ::recv(handle, buffer, size, 0);
    } while (result < 0 && errno == EINTR);
    if (result < 0)
        return lastError();
    received = static_cast<std::size_t>(result);
    return 0;
}

int SendSome(SocketHandle handle, const char* data, std::size_t size, std::size_t& sent) {
    ssize_t result;
    do {
        result = ::send(handle, data, size, MSG_NOSIGNAL);
    } while (result < 0 && errno == EINTR);
    if (result < 0)
        return lastError();
    sent = static_cast<std::size_t>(result);
    return 0;
}

int LocalAddress(SocketHandle handle, SocketAddress& address) {
    return addressOf(handle, address, ::getsockname);
}

int PeerAddress(SocketHandle handle, SocketAddress& address) {
    return addressOf(handle, address, ::getpeername);
}

void CloseSocket(SocketHandle handle) {
    ::shutdown(handle, SHUT_WR);
    ::close(handle);
}

} // namespace platform
