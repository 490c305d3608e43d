#include "platform/Process.h"

#include "base/StrUtils.h"
#include "platform/Path.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The native path of the program a name stands for, or empty.
std::string findProgram(const std::string& name) {
    std::vector<std::string> candidates = {name};
    const auto lastPart = name.find_last_of("\\/");
    if (name.find('.', lastPart == std::string::npos ? 0 : lastPart) == std::string::npos)
        candidates.push_back(name + ".exe");
    for (const std::string& candidate : candidates) {
        if (candidate.find_first_of("\\/") != std::string::npos) {
            const std::string path = NativePath(candidate);
            if (isRegularFile(path))
                return path;
            continue;
        }
        std::string folders = ".";
        if (const char* searchPath = std::getenv("PATH"))
            folders += std::string(":") + searchPath;
        for (const std::string& folder : base::SplitString(folders, ':')) {
            const std::string path = NativePath((folder.empty() ? "." : folder) + "/" + candidate);
            if (isRegularFile(path))
                return path;
        }
    }
    return {};
}

unsigned launchResult(int error) {
    return error == 0 ? LaunchSucceeded : static_cast<unsigned>(ErrorFromErrno(error));
}

// A program's words for execv: the program, then its arguments.
class ArgumentVector {
public:
    ArgumentVector(const std::string& program, const std::vector<std::string>& arguments) : texts_{program} {
        texts_.insert(texts_.end(), arguments.begin(), arguments.end());
        for (std::string& text : texts_)
            pointers_.push_back(text.data());
        pointers_.push_back(nullptr);
    }
    char* const* get() const { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};

// In a fresh child: becomes the program, or writes exec's errno to the
// report pipe and ends.
[[noreturn]] void execOrReport(const ArgumentVector& argv, int report) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    execv(argv.get()[0], argv.get());
    const int error = errno;
    [[maybe_unused]] const ssize_t ignored = write(report, &error, sizeof error);
    _exit(127);
}

// A child forked with a report pipe whose write end closes on a successful
// exec (it is close-on-exec) or carries the exec's errno.
struct Child {
    pid_t pid = -1;
    int forkError = 0;
    int report = -1;

    // The errno of a failed exec, once the pipe has closed; 0 when the exec went through.
    int ExecError() const {
        int error = 0;
        ssize_t got;
        while ((got = read(report, &error, sizeof error)) < 0 && errno == EINTR) {
        }
        close(report);
        return got == static_cast<ssize_t>(sizeof error) ? error : 0;
    }
};

// Forks; the child runs inChild with the pipe's write end and never returns.
template <typename InChild> Child forkReporting(InChild inChild) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {-1, errno, -1};
    const pid_t pid = fork();
    if (pid == 0)
        inChild(pipeEnds[1]);
    const int forkError = errno;
    close(pipeEnds[1]);
    if (pid < 0) {
        close(pipeEnds[0]);
        return {-1, forkError, -1};
    }
    return {pid, 0, pipeEnds[0]};
}

void reap(pid_t pid, int& status) {
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

// Starts a program without waiting for it. An intermediate child starts it
// and ends at once, so the program belongs to the system, which reaps it.
// Returns 0 or the errno of the failure.
int startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    const ArgumentVector argv(program, arguments);
    const Child child = forkReporting([&argv](int report) {
        const pid_t grandchild = fork();
        if (grandchild == 0)
            execOrReport(argv, report);
        const int error = errno;
        if (grandchild > 0)
            _exit(0);
        [[maybe_unused]] const ssize_t ignored = write(report, &error, sizeof error);
        _exit(127);
    });
    if (child.pid < 0)
        return child.forkError;
    int status = 0;
    reap(child.pid, status);
    return child.ExecError();
}

// Runs a program as a child of this process and waits for it, at most
// timeoutMs, calling idle between looks every 100 ms; kills it at the limit.
ProgramExit runToTheEnd(const ProgramLaunch& launch, int timeoutMs, const std::function<void()>& idle) {
    const ArgumentVector argv(launch.program, launch.arguments);
    const Child child = forkReporting([&argv](int report) { execOrReport(argv, report); });
    if (child.pid < 0)
        return {launchResult(child.forkError), 0, false};
    ProgramExit outcome{launchResult(child.ExecError()), 0, false};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (pid_t ended; (ended = waitpid(child.pid, &status, WNOHANG)) != child.pid;) {
        if (ended < 0 && errno != EINTR)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child.pid, SIGKILL);
            reap(child.pid, status);
            outcome.timedOut = true;
            break;
        }
        if (idle)
            idle();
        usleep(100 * 1000);
    }
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return outcome;
}

unsigned startProgram(const ProgramLaunch& launch) {
    return launchResult(startDetached(launch.program, launch.arguments));
}

unsigned openWithDesktop(const ShellOpenRequest& request) {
    const std::string opener = findProgram("xdg-open");
    if (opener.empty())
        return ERROR_FILE_NOT_FOUND;
    const bool address = request.target.find("://") != std::string::npos || request.target.rfind("mailto:", 0) == 0;
    return launchResult(startDetached(opener, {address ? request.target : NativePath(request.target)}));
}

ProgramLauncher& installedLauncher() {
    static ProgramLauncher launcher;
    return launcher;
}

ProgramRunner& installedRunner() {
    static ProgramRunner runner;
    return runner;
}

ShellOpener& installedOpener() {
    static ShellOpener opener;
    return opener;
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& arguments) {
    std::vector<std::string> result;
    const std::size_t n = arguments.size();
    std::size_t i = 0;
    for (;;) {
        while (i < n && isBlank(arguments[i]))
            ++i;
        if (i >= n)
            return result;
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(arguments[i]))) {
            const char c = arguments[i];
            if (c == '\\') {
                std::size_t count = 0;
                for (; i < n && arguments[i] == '\\'; ++i)
                    ++count;
                const bool beforeQuote = i < n && arguments[i] == '"';
                argument.append(beforeQuote ? count / 2 : count, '\\');
                if (beforeQuote && count % 2 == 1) {
                    argument += '"';
                    ++i;
                }
            } else if (c == '"' && quoted && i + 1 < n && arguments[i + 1] == '"') {
                argument += '"';
                i += 2;
            } else if (c == '"') {
                quoted = !quoted;
                ++i;
            } else {
                argument += c;
                ++i;
            }
        }
        result.push_back(argument);
    }
}

void SetProgramLauncher(ProgramLauncher launcher) {
    installedLauncher() = std::move(launcher);
}

// The program and arguments of a command line, read as the Windows launcher
// reads it; the program is empty when none is found.
static ProgramLaunch readCommandLine(const std::string& commandLine, int showCommand) {
    std::size_t start = 0;
    while (start < commandLine.size() && isBlank(commandLine[start]))
        ++start;
    const std::string line = commandLine.substr(start);
    ProgramLaunch launch{commandLine, {}, {}, showCommand};
    std::string rest;
    if (!line.empty() && line[0] == '"') {
        const auto close = line.find('"', 1);
        launch.program = findProgram(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        rest = close == std::string::npos ? std::string() : line.substr(close + 1);
    } else {
        // Each text up to a blank in turn, then the whole line.
        std::size_t end = 0;
        while (launch.program.empty() && end != std::string::npos && !line.empty()) {
            end = line.find_first_of(" \t", end);
            launch.program = findProgram(line.substr(0, end));
            rest = end == std::string::npos ? std::string() : line.substr(end + 1);
            if (end != std::string::npos)
                ++end;
        }
    }
    if (!launch.program.empty())
        launch.arguments = SplitCommandLine(rest);
    return launch;
}

unsigned WinExec(const std::string& commandLine, int showCommand) {
    const ProgramLaunch launch = readCommandLine(commandLine, showCommand);
    if (launch.program.empty())
        return ERROR_FILE_NOT_FOUND;
    const ProgramLauncher& launcher = installedLauncher();
    return launcher ? launcher(launch) : startProgram(launch);
}

void SetProgramRunner(ProgramRunner runner) {
    installedRunner() = std::move(runner);
}

ProgramExit RunAndWait(const std::string& commandLine, int showCommand, int timeoutMs,
                       const std::function<void()>& idle) {
    const ProgramLaunch launch = readCommandLine(commandLine, showCommand);
    if (launch.program.empty())
        return {ERROR_FILE_NOT_FOUND, 0, false};
    const ProgramRunner& runner = installedRunner();
    return runner ? runner(launch, timeoutMs, idle) : runToTheEnd(launch, timeoutMs, idle);
}

void SetShellOpener(ShellOpener opener) {
    installedOpener() = std::move(opener);
}

unsigned ShellOpen(const std::string& target, int showCommand) {
    const ShellOpenRequest request{target, showCommand};
    const ShellOpener& opener = installedOpener();
    return opener ? opener(request) : openWithDesktop(request);
}

} // namespace platform
