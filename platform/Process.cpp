#include "platform/Process.h"

#include "base/StrUtils.h"
#include "platform/Path.h"
#include "platform/SystemError.h"

#include <cerrno>
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

// Starts a program without waiting for it. An intermediate child starts it
// and ends at once, so the program belongs to the system, which reaps it; a
// failed exec is reported back through a pipe that closes on success.
// Returns 0 or the errno of the failure.
int startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> texts = {program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = fork();
    if (child == 0) {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            signal(SIGPIPE, SIG_DFL);
            execv(argv[0], argv.data());
        }
        const int error = errno;
        if (grandchild != 0 && grandchild != -1)
            _exit(0);
        [[maybe_unused]] const ssize_t ignored = write(report[1], &error, sizeof error);
        _exit(127);
    }
    const int forkError = errno;
    close(report[1]);
    if (child < 0) {
        close(report[0]);
        return forkError;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

unsigned launchResult(int error) {
    return error == 0 ? LaunchSucceeded : static_cast<unsigned>(ErrorFromErrno(error));
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

unsigned WinExec(const std::string& commandLine, int showCommand) {
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
    if (launch.program.empty())
        return ERROR_FILE_NOT_FOUND;
    launch.arguments = SplitCommandLine(rest);
    const ProgramLauncher& launcher = installedLauncher();
    return launcher ? launcher(launch) : startProgram(launch);
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
