#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// The server side of one control connection, as a script drives it. Every
// blocking call gives up after a few seconds, so a client that misbehaves
// fails the test instead of hanging it.
class FtpScriptSession {
public:
    FtpScriptSession(int control, std::vector<std::string>& transcript, std::mutex& lock);
    ~FtpScriptSession();
    FtpScriptSession(const FtpScriptSession&) = delete;
    FtpScriptSession& operator=(const FtpScriptSession&) = delete;

    // Sends text and CR LF.
    void Reply(const std::string& text);
    // Sends bytes exactly as given.
    void SendRaw(const std::string& bytes);
    // The next command line (without its line end), recorded in the transcript.
    // Throws std::runtime_error when the client closed the connection.
    std::string Command();
    // Reads the next command and answers it with reply.
    void Answer(const std::string& reply);
    // Greeting 220, then USER 331, PASS 230, TYPE 200 and SYST 215.
    void LogIn();
    // True when the client closes the control connection without sending anything.
    bool ClientCloses();

    // Closes the control connection (a server that drops it mid-transfer).
    void CloseControl();

    // Active mode: connects to the address a PORT command announced, from
    // sourceIp (a loopback address) when given.
    void ConnectData(const std::string& portCommand, const std::string& sourceIp = {});
    // True when the client closes the data connection within a few seconds.
    bool ClientClosesData();
    // Aborts the data connection with a reset instead of an orderly close.
    void ResetData();
    // Passive mode: listens on loopback and gives the 227 reply announcing it.
    std::string ListenPassive();
    void AcceptData();
    void SendData(const std::string& bytes);
    void CloseData();

private:
    int control_;
    int data_ = -1;
    int passive_ = -1;
    std::string pending_;
    std::vector<std::string>& transcript_;
    std::mutex& lock_;
};

// A loopback FTP server on a port the system chooses that accepts one client
// and runs a script against it on a thread of its own.
class ScriptedFtpServer {
public:
    using Script = std::function<void(FtpScriptSession&)>;

    explicit ScriptedFtpServer(Script script);
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer&) = delete;
    ScriptedFtpServer& operator=(const ScriptedFtpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // Waits for the script to finish; the commands received, in order.
    std::vector<std::string> Transcript();
    // What went wrong in the script (empty when it ran to its end).
    std::string Failure();

private:
    void run(Script script);

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::vector<std::string> transcript_;
    std::string failure_;
    std::mutex lock_;
    std::thread thread_;
};

} // namespace testsupport
