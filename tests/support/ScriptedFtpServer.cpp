#include "tests/support/ScriptedFtpServer.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr int WaitMs = 10000;

void waitReadable(int handle, const char* what) {
    pollfd entry{handle, POLLIN, 0};
    if (::poll(&entry, 1, WaitMs) != 1)
        throw std::runtime_error(std::string("timed out waiting for ") + what);
}

void sendAll(int handle, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t sent = ::send(handle, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent <= 0)
            throw std::runtime_error("send failed: " + std::string(std::strerror(errno)));
        done += static_cast<std::size_t>(sent);
    }
}

int acceptOne(int listener) {
    waitReadable(listener, "a connection");
    const int accepted = ::accept(listener, nullptr, nullptr);
    if (accepted < 0)
        throw std::runtime_error("accept failed");
    return accepted;
}

void closeHandle(int& handle) {
    if (handle >= 0)
        ::close(handle);
    handle = -1;
}

} // namespace

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

FtpScriptSession::FtpScriptSession(int control, std::vector<std::string>& transcript, std::mutex& lock)
    : control_(control), transcript_(transcript), lock_(lock) {}

FtpScriptSession::~FtpScriptSession() {
    closeHandle(data_);
    closeHandle(passive_);
    closeHandle(control_);
}

void FtpScriptSession::Reply(const std::string& text) {
    SendRaw(text + "\r\n");
}

void FtpScriptSession::SendRaw(const std::string& bytes) {
    sendAll(control_, bytes);
}

std::string FtpScriptSession::Command() {
    for (;;) {
        const std::size_t end = pending_.find("\r\n");
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 2);
            std::lock_guard guard(lock_);
            transcript_.push_back(line);
            return line;
        }
        waitReadable(control_, "a command");
        char chunk[4096];
        const ssize_t received = ::recv(control_, chunk, sizeof chunk, 0);
        if (received <= 0)
            throw std::runtime_error("client closed the control connection");
        pending_.append(chunk, static_cast<std::size_t>(received));
    }
}

void FtpScriptSession::Answer(const std::string& reply) {
    Command();
    Reply(reply);
}

void FtpScriptSession::LogIn() {
    Reply("220 Scripted server ready");
    Answer("331 Password required");
    Answer("230 Logged in");
    Answer("200 Type set");
    Answer("215 UNIX Type: L8");
}

bool FtpScriptSession::ClientCloses() {
    pollfd entry{control_, POLLIN, 0};
    if (!pending_.empty() || ::poll(&entry, 1, WaitMs) != 1)
        return false;
    char byte;
    return ::recv(control_, &byte, 1, 0) == 0;
}

void FtpScriptSession::ConnectData(const std::string& portCommand) {
    unsigned parts[6];
    if (std::sscanf(portCommand.c_str(), "PORT %u,%u,%u,%u,%u,%u", &parts[0], &parts[1], &parts[2], &parts[3],
                    &parts[4], &parts[5]) != 6)
        throw std::runtime_error("not a PORT command: " + portCommand);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(parts[4] * 256 + parts[5]));
    address.sin_addr.s_addr = htonl(parts[0] << 24 | parts[1] << 16 | parts[2] << 8 | parts[3]);
    closeHandle(data_);
    data_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (::connect(data_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot connect the data connection");
}

std::string FtpScriptSession::ListenPassive() {
    closeHandle(passive_);
    std::uint16_t port = 0;
    passive_ = ListenOnLoopback(port);
    return "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," + std::to_string(port % 256) +
           ")";
}

void FtpScriptSession::AcceptData() {
    closeHandle(data_);
    data_ = acceptOne(passive_);
    closeHandle(passive_);
}

void FtpScriptSession::SendData(const std::string& bytes) {
    sendAll(data_, bytes);
}

void FtpScriptSession::CloseData() {
    closeHandle(data_);
}

ScriptedFtpServer::ScriptedFtpServer(Script script) {
    listener_ = ListenOnLoopback(port_);
    thread_ = std::thread([this, script = std::move(script)] { run(script); });
}

ScriptedFtpServer::~ScriptedFtpServer() {
    if (thread_.joinable())
        thread_.join();
    closeHandle(listener_);
}

void ScriptedFtpServer::run(Script script) {
    try {
        FtpScriptSession session(acceptOne(listener_), transcript_, lock_);
        script(session);
    } catch (const std::exception& error) {
        std::lock_guard guard(lock_);
        failure_ = error.what();
    }
}

std::vector<std::string> ScriptedFtpServer::Transcript() {
    if (thread_.joinable())
        thread_.join();
    return transcript_;
}

std::string ScriptedFtpServer::Failure() {
    if (thread_.joinable())
        thread_.join();
    return failure_;
}

} // namespace testsupport
