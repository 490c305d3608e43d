// ftp_sender: a minimal FTP server for download benchmarks. A file named by
// a decimal number holds that many bytes, any other name SIZE bytes, of a
// fixed pattern sent from memory, so the server is never the bottleneck.
// LIST sends a Unix listing of at most SIZE bytes.
// Serves one client at a time on 127.0.0.1 until it is killed.
//
//   ftp_sender SIZE      prints the port it listens on, then serves

#include "tests/support/FtpWire.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using testsupport::SendAll;

namespace {

bool reply(int control, const std::string& text) {
    const std::string line = text + "\r\n";
    return SendAll(control, line.data(), line.size());
}

class Session {
public:
    Session(int control, std::uint64_t size) : control_(control), size_(size), block_(1 << 20) {
        for (std::size_t i = 0; i < block_.size(); ++i)
            block_[i] = static_cast<char>(i * 31 + i / 4096);
    }
    ~Session() {
        closeData();
        ::close(control_);
    }

    void Serve() {
        reply(control_, "220 ftp_sender ready");
        std::string line;
        while (readLine(line) && handle(line)) {
        }
    }

private:
    bool readLine(std::string& line) {
        for (;;) {
            if (std::optional<std::string> taken = testsupport::TakeLine(pending_)) {
                line = std::move(*taken);
                return true;
            }
            char chunk[1024];
            const ssize_t received = ::recv(control_, chunk, sizeof chunk, 0);
            if (received <= 0)
                return false;
            pending_.append(chunk, static_cast<std::size_t>(received));
        }
    }

    bool handle(const std::string& line) {
        const std::string verb = line.substr(0, line.find(' '));
        if (verb == "USER")
            return reply(control_, "331 Password required");
        if (verb == "PASS")
            return reply(control_, "230 Logged in");
        if (verb == "TYPE")
            return reply(control_, "200 Type set");
        if (verb == "SYST")
            return reply(control_, "215 UNIX Type: L8");
        if (verb == "PWD")
            return reply(control_, "257 \"/\"");
        if (verb == "CWD")
            return reply(control_, "250 OK");
        if (verb == "SIZE")
            return reply(control_, "213 " + std::to_string(sizeOf(line)));
        if (verb == "PORT")
            return port(line);
        if (verb == "PASV")
            return passive();
        if (verb == "RETR")
            return retrieve(sizeOf(line));
        if (verb == "LIST")
            return list();
        if (verb == "QUIT") {
            reply(control_, "221 Bye");
            return false;
        }
        return reply(control_, "502 Command not implemented");
    }

    bool port(const std::string& line) {
        const std::optional<sockaddr_in> address = testsupport::PortAddress(line);
        if (!address)
            return reply(control_, "501 Bad PORT");
        closeData();
        active_ = *address;
        return reply(control_, "200 PORT command successful");
    }

    bool passive() {
        closeData();
        std::uint16_t port = 0;
        passive_ = testsupport::ListenOnLoopback(port);
        return reply(control_, testsupport::PassiveReply(port));
    }

    std::uint64_t sizeOf(const std::string& line) const {
        const std::size_t blank = line.find(' ');
        const std::string name = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        const bool number = !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
        return number ? std::strtoull(name.c_str(), nullptr, 10) : size_;
    }

    bool retrieve(std::uint64_t size) {
        return transfer([&](int data) {
            std::uint64_t left = size;
            bool sent = true;
            while (left > 0 && sent) {
                const std::size_t piece = left < block_.size() ? static_cast<std::size_t>(left) : block_.size();
                sent = SendAll(data, block_.data(), piece);
                left -= piece;
            }
            return sent;
        });
    }

    // A Unix listing of size_ bytes at most, of numbered files.
    bool list() {
        return transfer([&](int data) {
            std::string text;
            std::uint64_t left = size_;
            for (unsigned number = 0;; ++number) {
                char line[128];
                const int length = std::snprintf(line, sizeof line,
                                                 "-rw-r--r--   1 quillmark store %10u Jan 15 10:30 file-%08u.bin\r\n",
                                                 number * 7919 % 100000000, number);
                if (static_cast<std::uint64_t>(length) > left)
                    break;
                text.append(line, static_cast<std::size_t>(length));
                left -= static_cast<std::uint64_t>(length);
                if (text.size() >= block_.size()) {
                    if (!SendAll(data, text.data(), text.size()))
                        return false;
                    text.clear();
                }
            }
            return SendAll(data, text.data(), text.size());
        });
    }

    // Opens the data connection, lets send fill it, closes it and gives the final reply.
    bool transfer(const std::function<bool(int data)>& send) {
        reply(control_, "150 Opening BINARY mode data connection");
        int data = -1;
        if (passive_ >= 0) {
            data = ::accept(passive_, nullptr, nullptr);
        } else {
            data = ::socket(AF_INET, SOCK_STREAM, 0);
            if (::connect(data, reinterpret_cast<sockaddr*>(&active_), sizeof active_) != 0) {
                ::close(data);
                data = -1;
            }
        }
        closeData();
        if (data < 0)
            return reply(control_, "425 Cannot open data connection");
        const bool sent = send(data);
        ::close(data);
        return reply(control_, sent ? "226 Transfer complete" : "426 Transfer aborted");
    }

    void closeData() {
        if (passive_ >= 0)
            ::close(passive_);
        passive_ = -1;
    }

    int control_;
    std::uint64_t size_;
    std::vector<char> block_;
    std::string pending_;
    sockaddr_in active_{};
    int passive_ = -1;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ftp_sender SIZE\n");
        return 2;
    }
    const std::uint64_t size = std::strtoull(argv[1], nullptr, 10);
    std::uint16_t port = 0;
    int listener = -1;
    try {
        listener = testsupport::ListenOnLoopback(port);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ftp_sender: %s\n", error.what());
        return 1;
    }
    std::printf("%u\n", static_cast<unsigned>(port));
    std::fflush(stdout);
    for (;;) {
        const int control = ::accept(listener, nullptr, nullptr);
        if (control >= 0)
            Session(control, size).Serve();
    }
}
