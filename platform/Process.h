#pragma once

#include <functional>
#include <string>
#include <vector>

// Starting programs the way Windows does, and opening documents and web
// addresses with the desktop's opener. Both go through a replaceable seam so
// that tests can record what would be started.
namespace platform {

// Show modes of a started program's window.
constexpr int SW_HIDE_WINDOW = 0;
constexpr int SW_SHOW_NORMAL = 1;

// Result of a program that was started; results up to 31 are error codes.
constexpr unsigned LaunchSucceeded = 33;

// Splits the arguments part of a command line with the Windows rules: blanks
// and tabs separate arguments; double quotes group blanks into an argument
// and are removed; inside quotes "" is one quote; 2n backslashes before a
// quote give n backslashes and the quote acts as above, 2n+1 backslashes give
// n backslashes and a literal quote; other backslashes are kept. So ".\" (a
// quoted folder ending in a backslash) arrives as ." with the quote kept.
std::vector<std::string> SplitCommandLine(const std::string& arguments);

// A program about to be started: the command line as the caller wrote it,
// the program it names (native path) and its arguments.
struct ProgramLaunch {
    std::string commandLine;
    std::string program;
    std::vector<std::string> arguments;
    int showCommand = SW_SHOW_NORMAL;
};
// Starts the program without waiting; returns LaunchSucceeded or an error code.
using ProgramLauncher = std::function<unsigned(const ProgramLaunch&)>;
// Installs a launcher for WinExec; an empty function restores the real one.
void SetProgramLauncher(ProgramLauncher launcher);

// Starts a command line and returns at once (the child is reaped by the
// system once it ends). The program is the quoted text at the start of the
// line, or else, for an unquoted line, the shortest text up to a blank that
// names an existing file (with ".exe" added when it has no extension),
// trying each blank from the left and then the whole line, as the Windows
// launcher does with "C:\Program Files\x\prog.exe args". A name without a
// folder is looked up in the current folder and then along PATH. Returns a
// value above 31 on success, else ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED or
// ERROR_BAD_FORMAT.
unsigned WinExec(const std::string& commandLine, int showCommand);

// How a program run to its end came out.
struct ProgramExit {
    // LaunchSucceeded, or the error code of a program that could not start.
    unsigned launch = LaunchSucceeded;
    // The program's exit code; 128 + the signal's number when a signal ended it.
    int exitCode = 0;
    // The program was still running at the time limit and was killed.
    bool timedOut = false;

    bool Succeeded() const { return launch == LaunchSucceeded && exitCode == 0 && !timedOut; }
};
// Runs a program to its end; tests install one that records instead.
using ProgramRunner =
    std::function<ProgramExit(const ProgramLaunch&, int timeoutMs, const std::function<void()>& idle)>;
// Installs a runner for RunAndWait; an empty function restores the real one.
void SetProgramRunner(ProgramRunner runner);

// Starts a command line as WinExec does and waits for the program to end, at
// most timeoutMs, calling idle about every 100 ms meanwhile so that a window
// stays alive. A program still running at the limit is killed.
ProgramExit RunAndWait(const std::string& commandLine, int showCommand, int timeoutMs,
                       const std::function<void()>& idle);

// Opening a document or web address with the desktop's opener.
struct ShellOpenRequest {
    std::string target;
    int showCommand = SW_SHOW_NORMAL;
};
using ShellOpener = std::function<unsigned(const ShellOpenRequest&)>;
// Installs an opener for ShellOpen; an empty function restores the real one.
void SetShellOpener(ShellOpener opener);

// Opens a web address or a file (a Windows-style path) with the desktop's
// opener (xdg-open), without waiting. Returns a value above 32 when the
// opener was started, else an error code.
unsigned ShellOpen(const std::string& target, int showCommand);

} // namespace platform
