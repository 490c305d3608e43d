#include "tests/support/LoopbackPort.h"

#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

unsigned FreeLoopbackPort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bool found = s >= 0 && bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                 getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    if (s >= 0)
        close(s);
    if (!found)
        throw std::runtime_error("cannot find a free loopback port");
    return ntohs(address.sin_port);
}

} // namespace testsupport
