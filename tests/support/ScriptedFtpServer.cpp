#include "tests/support/ScriptedFtpServer.h"

#include "tests/support/FtpWire.h"

#include <arpa/inet.h>
#include <cstring>
#include <optional>
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
    if (!SendAll(handle, bytes.data(), bytes.size()))
        throw std::runtime_error("send failed: " + std::string(std::strerror(errno)));
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
        if (std::optional<std::string> line = TakeLine(pending_)) {
            std::lock_guard guard(lock_);
            transcript_.push_back(*line);
            return *line;
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

void FtpScriptSession::CloseControl() {
    closeHandle(control_);
}

void FtpScriptSession::ConnectData(const std::string& portCommand, const std::string& sourceIp) {
    const std::optional<sockaddr_in> address = PortAddress(portCommand);
    if (!address)
        throw std::runtime_error("not a PORT command: " + portCommand);
    closeHandle(data_);
    data_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (!sourceIp.empty()) {
        sockaddr_in source{};
        source.sin_family = AF_INET;
        ::inet_pton(AF_INET, sourceIp.c_str(), &source.sin_addr);
        if (::bind(data_, reinterpret_cast<const sockaddr*>(&source), sizeof source) != 0)
            throw std::runtime_error("cannot bind the data connection to " + sourceIp);
    }
    if (::connect(data_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0)
        throw std::runtime_error("cannot connect the data connection");
}

std::string FtpScriptSession::ListenPassive() {
    closeHandle(passive_);
    std::uint16_t port = 0;
    passive_ = ListenOnLoopback(port);
    return PassiveReply(port);
}

void FtpScriptSession::AcceptData() {
    closeHandle(data_);
    data_ = acceptOne(passive_);
    closeHandle(passive_);
}

bool FtpScriptSession::ClientClosesData() {
    pollfd entry{data_, POLLIN, 0};
    if (::poll(&entry, 1, WaitMs) != 1)
        return false;
    char byte;
    return ::recv(data_, &byte, 1, 0) <= 0;
}

void FtpScriptSession::ResetData() {
    const linger reset{1, 0};
    ::setsockopt(data_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    closeHandle(data_);
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
