#include "tests/support/MariaDbServer.h"

#include "tests/support/LoopbackPort.h"

#include <mysql.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto StartTimeout = 60s;
constexpr auto StopTimeout = 30s;

// Settings that keep a throw-away server small and quick to start.
const std::vector<std::string> SmallServer = {
    "--innodb-buffer-pool-size=16M",
    "--innodb-log-file-size=4M",
};

// The program's path: the PATH folders first, then the system folders that
// Debian installs the server in.
std::string program(const std::string& name) {
    std::string folders = std::getenv("PATH") ? std::getenv("PATH") : "";
    folders += ":/usr/sbin:/usr/bin:/usr/local/sbin:/usr/local/bin";
    std::istringstream list(folders);
    for (std::string folder; std::getline(list, folder, ':');)
        if (!folder.empty() && access((fs::path(folder) / name).c_str(), X_OK) == 0)
            return (fs::path(folder) / name).string();
    throw std::runtime_error(name + " not found: install mariadb-server (tools/setup)");
}

// Runs a child with its output in log; the child is killed when the test process dies.
pid_t spawn(const std::vector<std::string>& args, const fs::path& log) {
    int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out < 0)
        throw std::runtime_error("cannot create " + log.string());
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out);
    if (pid < 0)
        throw std::runtime_error("cannot start " + args[0]);
    return pid;
}

std::vector<std::string> withUser(std::vector<std::string> args) {
    if (geteuid() == 0)
        args.push_back("--user=root");
    return args;
}

} // namespace

MariaDbServer& MariaDbServer::Shared() {
    static MariaDbServer server;
    return server;
}

MariaDbServer::MariaDbServer() {
    install();
    for (int attempt = 0; attempt < 5; ++attempt)
        if (start())
            return;
    throw std::runtime_error("MariaDB found no free port:\n" + logTail());
}

MariaDbServer::~MariaDbServer() {
    stop();
}

void MariaDbServer::install() {
    std::vector<std::string> args =
        withUser({program("mariadb-install-db"), "--no-defaults", "--datadir=" + (dir_ / "data").string(),
                  "--auth-root-authentication-method=normal", "--skip-test-db"});
    args.insert(args.end(), SmallServer.begin(), SmallServer.end());
    int status = 0;
    waitpid(spawn(args, dir_ / "server.log"), &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("mariadb-install-db failed:\n" + logTail());
    dir_.write("init.sql", "CREATE USER '" + User() + "'@'127.0.0.1' IDENTIFIED BY '" + Password() +
                               "';\nGRANT ALL PRIVILEGES ON *.* TO '" + User() + "'@'127.0.0.1' WITH GRANT OPTION;\n");
}

bool MariaDbServer::start() {
    port_ = FreeLoopbackPort();
    std::vector<std::string> args =
        withUser({program("mariadbd"), "--no-defaults", "--datadir=" + (dir_ / "data").string(),
                  "--socket=" + (dir_ / "server.sock").string(), "--pid-file=" + (dir_ / "server.pid").string(),
                  "--init-file=" + (dir_ / "init.sql").string(), "--bind-address=127.0.0.1",
                  "--port=" + std::to_string(port_), "--skip-name-resolve", "--skip-log-bin"});
    args.insert(args.end(), SmallServer.begin(), SmallServer.end());
    pid_ = spawn(args, dir_ / "server.log");

    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            if (logTail().find("Bind on TCP/IP port") != std::string::npos)
                return false;
            throw std::runtime_error("MariaDB stopped while starting:\n" + logTail());
        }
        admin_ = mysql_init(nullptr);
        if (mysql_real_connect(admin_, Host().c_str(), User().c_str(), Password().c_str(), nullptr, port_, nullptr, 0))
            return true;
        mysql_close(admin_);
        admin_ = nullptr;
        std::this_thread::sleep_for(50ms);
    }
    stop();
    throw std::runtime_error("MariaDB did not accept connections in time:\n" + logTail());
}

void MariaDbServer::stop() {
    if (admin_)
        mysql_close(admin_);
    admin_ = nullptr;
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + StopTimeout;
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    pid_ = -1;
}

std::string MariaDbServer::logTail() const {
    std::ifstream in(dir_ / "server.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::string tail;
    for (size_t i = lines.size() > 20 ? lines.size() - 20 : 0; i < lines.size(); ++i)
        tail += lines[i] + "\n";
    return tail;
}

std::string MariaDbServer::CreateDatabase() {
    std::string name = "test_" + std::to_string(++databases_);
    Execute("CREATE DATABASE " + name + " CHARACTER SET utf8mb4");
    return name;
}

void MariaDbServer::Execute(const std::string& sql, const std::string& database) {
    if (mysql_select_db(admin_, database.empty() ? "mysql" : database.c_str()) != 0 ||
        mysql_real_query(admin_, sql.data(), sql.size()) != 0)
        throw std::runtime_error(std::string(mysql_error(admin_)) + " in: " + sql);
    if (MYSQL_RES* result = mysql_store_result(admin_))
        mysql_free_result(result);
}

} // namespace testsupport
