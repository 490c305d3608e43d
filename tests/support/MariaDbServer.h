#pragma once

#include "tests/support/TempDir.h"

#include <memory>
#include <string>

#include <sys/types.h>

struct st_mysql;

namespace testsupport {

// A MariaDB server of the test process's own: a fresh data folder, listening
// on 127.0.0.1 at a port the OS chose, with one account that holds every
// privilege (checked passwords: no grant tables are skipped). The server dies
// with the test process even when that one crashes.
class MariaDbServer {
public:
    // The server shared by all tests of the process: started at the first call,
    // stopped when the process ends.
    static MariaDbServer& Shared();

    MariaDbServer();
    ~MariaDbServer();
    MariaDbServer(const MariaDbServer&) = delete;
    MariaDbServer& operator=(const MariaDbServer&) = delete;

    std::string Host() const { return "127.0.0.1"; }
    unsigned Port() const { return port_; }
    std::string User() const { return "tester"; }
    std::string Password() const { return "tester-password"; }

    // A new empty database, named uniquely within the server.
    std::string CreateDatabase();
    // Runs one statement as the account, in database when given; its rows are discarded.
    // Throws std::runtime_error with the server's message on failure.
    void Execute(const std::string& sql, const std::string& database = "");

private:
    void install();
    // Starts the server on a free port; false when the port was taken meanwhile.
    bool start();
    void stop();
    std::string logTail() const;

    TempDir dir_;
    unsigned port_ = 0;
    pid_t pid_ = -1;
    st_mysql* admin_ = nullptr;
    int databases_ = 0;
};

} // namespace testsupport
