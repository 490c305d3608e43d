#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace testsupport {

// A real FTP server (pyftpdlib under /usr/bin/python3) serving root read-only
// to one account (User and Password unless given), on 127.0.0.1 and a port the
// system chooses. Started by the constructor, stopped by the destructor.
class PyFtpServer {
public:
    static constexpr const char* User = "tester";
    static constexpr const char* Password = "secret";

    explicit PyFtpServer(const std::filesystem::path& root) : PyFtpServer(root, User, Password) {}
    PyFtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password);
    ~PyFtpServer();
    PyFtpServer(const PyFtpServer&) = delete;
    PyFtpServer& operator=(const PyFtpServer&) = delete;

    std::uint16_t Port() const { return port_; }

private:
    void stop();

    int pid_ = -1;
    std::uint16_t port_ = 0;
};

} // namespace testsupport
