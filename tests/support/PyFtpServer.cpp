#include "tests/support/PyFtpServer.h"

#include <csignal>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {

// Prints the port it listens on, then serves until it is terminated.
constexpr const char* ServerScript = R"(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_user(sys.argv[1], sys.argv[2], sys.argv[3], perm='elr')
FTPHandler.authorizer = authorizer
server = FTPServer(('127.0.0.1', 0), FTPHandler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
)";

std::string readFirstLine(int handle) {
    std::string line;
    char c;
    pollfd entry{handle, POLLIN, 0};
    while (::poll(&entry, 1, 15000) == 1 && ::read(handle, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

} // namespace

PyFtpServer::PyFtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password) {
    int output[2];
    if (::pipe(output) != 0)
        throw std::runtime_error("pipe failed");
    const std::string rootText = root.string();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        ::close(output[1]);
        ::execl("/usr/bin/python3", "python3", "-c", ServerScript, user.c_str(), password.c_str(), rootText.c_str(),
                nullptr);
        ::_exit(127);
    }
    ::close(output[1]);
    const std::string line = readFirstLine(output[0]);
    ::close(output[0]);
    if (pid_ < 0 || line.empty()) {
        stop();
        throw std::runtime_error("the FTP server did not start");
    }
    port_ = static_cast<std::uint16_t>(std::stoi(line));
}

PyFtpServer::~PyFtpServer() {
    stop();
}

void PyFtpServer::stop() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

} // namespace testsupport
