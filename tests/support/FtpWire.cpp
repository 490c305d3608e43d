#include "tests/support/FtpWire.h"

#include <arpa/inet.h>
#include <cstdio>
#include <stdexcept>
#include <sys/socket.h>

namespace testsupport {

int ListenOnLoopback(std::uint16_t& port) {
    const int handle = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (handle < 0 || ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(handle, 4) != 0 || ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on loopback");
    port = ntohs(address.sin_port);
    return handle;
}

bool SendAll(int handle, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(handle, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::optional<std::string> TakeLine(std::string& received) {
    const std::size_t end = received.find("\r\n");
    if (end == std::string::npos)
        return std::nullopt;
    std::string line = received.substr(0, end);
    received.erase(0, end + 2);
    return line;
}

std::optional<sockaddr_in> PortAddress(const std::string& command) {
    unsigned p[6];
    if (std::sscanf(command.c_str(), "PORT %u,%u,%u,%u,%u,%u", &p[0], &p[1], &p[2], &p[3], &p[4], &p[5]) != 6)
        return std::nullopt;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(p[4] * 256 + p[5]));
    address.sin_addr.s_addr = htonl(p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]);
    return address;
}

std::string PassiveReply(std::uint16_t port) {
    return "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," + std::to_string(port % 256) +
           ")";
}

} // namespace testsupport
