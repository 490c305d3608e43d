#include "platform/Process.h"
#include "platform/SystemError.h"
#include "tests/support/LaunchRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace platform;
using testsupport::TempDir;
using Args = std::vector<std::string>;

namespace {

// A shell script that writes its arguments, one per line, to args.txt in the
// folder (completely or not at all, so that a waiting test never reads half).
void writeArgumentRecorder(const TempDir& dir, const std::string& name) {
    const std::string target = (dir / "args.txt").string();
    const auto path = dir.write(name, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + target + ".tmp' && /bin/mv '" + target +
                                          ".tmp' '" + target + "'\n");
    chmod(path.c_str(), 0755);
}

// Waits for the file that a started child writes.
std::string waitForArguments(const TempDir& dir) {
    for (int i = 0; i < 500 && !std::filesystem::exists(dir / "args.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return std::filesystem::exists(dir / "args.txt") ? dir.read("args.txt") : "<not written>";
}

} // namespace

TEST(SplitCommandLine, WindowsQuotingRules) {
    struct Case {
        const char* line;
        Args args;
    };
    for (const Case& c : {
             Case{"x -o+ Sys_Vendrake.rar *.exe \".\\\"", {"x", "-o+", "Sys_Vendrake.rar", "*.exe", ".\""}},
             Case{"  a\t b  ", {"a", "b"}},
             Case{"\"two words\" x\"y z\"w", {"two words", "xy zw"}},
             Case{"\"\" a", {"", "a"}},
             Case{"\"a\"\"b\"", {"a\"b"}},
             Case{"a\\\\b \\\\\"q\" \\\"lit", {"a\\\\b", "\\q", "\"lit"}},
             Case{"C:\\dir\\ \"C:\\dir\\\\\"", {"C:\\dir\\", "C:\\dir\\"}},
             Case{"\"unterminated arg", {"unterminated arg"}},
             Case{"", {}},
         })
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(WinExec, UnquotedProgramPathWithBlanksIsResolvedLikeTheLauncher) {
    TempDir dir;
    dir.write("Program Files/winrar/winrar.exe", "");
    const std::string root = dir.path().string();
    testsupport::LaunchRecorder recorder;

    const std::string command = root + "/Program Files\\winrar\\WinRAR.exe x -o+ Sys_Vendrake.rar *.exe \".\\\"";
    EXPECT_EQ(WinExec(command, SW_SHOW_NORMAL), LaunchSucceeded);
    ASSERT_EQ(recorder.programs.size(), 1u);
    EXPECT_EQ(recorder.programs[0].commandLine, command);
    EXPECT_EQ(recorder.programs[0].program, root + "/Program Files/winrar/winrar.exe");
    EXPECT_EQ(recorder.programs[0].arguments, (Args{"x", "-o+", "Sys_Vendrake.rar", "*.exe", ".\""}));
    EXPECT_EQ(recorder.programs[0].showCommand, SW_SHOW_NORMAL);

    // The shortest prefix that names a program wins, ".exe" added.
    dir.write("Program.exe", "");
    EXPECT_EQ(WinExec(command, SW_SHOW_NORMAL), LaunchSucceeded);
    EXPECT_EQ(recorder.programs[1].program, root + "/Program.exe");
    EXPECT_EQ(recorder.programs[1].arguments.front(), "Files\\winrar\\WinRAR.exe");

    // A quoted path is taken as it stands.
    WinExec("\"" + root + "\\Program Files\\WINRAR\\winrar\" t", SW_HIDE_WINDOW);
    EXPECT_EQ(recorder.programs[2].program, root + "/Program Files/winrar/winrar.exe");
    EXPECT_EQ(recorder.programs[2].arguments, Args{"t"});
}

TEST(WinExec, FindsBareNamesInTheCurrentFolderAndAlongPath) {
    TempDir dir;
    dir.write("bin/tool", "");
    dir.write("work/local.exe", "");
    testsupport::EnvGuard path("PATH", (dir / "bin").string());
    testsupport::CurrentDirGuard inside(dir / "work");
    testsupport::LaunchRecorder recorder;

    EXPECT_EQ(WinExec("TOOL a", SW_SHOW_NORMAL), LaunchSucceeded);
    EXPECT_EQ(WinExec("local b", SW_SHOW_NORMAL), LaunchSucceeded);
    ASSERT_EQ(recorder.programs.size(), 2u);
    EXPECT_EQ(recorder.programs[0].program, (dir / "bin/tool").string());
    EXPECT_EQ(recorder.programs[1].program, "./local.exe");

    EXPECT_EQ(WinExec("missing a b", SW_SHOW_NORMAL), static_cast<unsigned>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(WinExec("", SW_SHOW_NORMAL), static_cast<unsigned>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(WinExec((dir / "bin").string(), SW_SHOW_NORMAL), static_cast<unsigned>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(recorder.programs.size(), 2u);

    recorder.programResult = ERROR_ACCESS_DENIED;
    EXPECT_EQ(WinExec("tool", SW_SHOW_NORMAL), static_cast<unsigned>(ERROR_ACCESS_DENIED));
}

TEST(WinExec, StartsARealChildWithoutWaitingAndLeavesNoZombie) {
    TempDir dir;
    writeArgumentRecorder(dir, "Program Files/rec.exe");
    testsupport::CurrentDirGuard inside(dir.path());

    EXPECT_EQ(WinExec(dir.path().string() + "\\program files\\REC.EXE one \"two words\" \".\\\"", SW_SHOW_NORMAL),
              LaunchSucceeded);
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    EXPECT_EQ(waitForArguments(dir), "one\ntwo words\n.\"\n");
}

TEST(WinExec, ReportsProgramsThatCannotRun) {
    TempDir dir;
    const auto notExecutable = dir.write("plain.exe", "#!/bin/sh\n");
    chmod(notExecutable.c_str(), 0644);
    const auto garbage = dir.write("garbage.exe", "not a program");
    chmod(garbage.c_str(), 0755);
    EXPECT_EQ(WinExec(notExecutable.string(), SW_SHOW_NORMAL), static_cast<unsigned>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(WinExec(garbage.string(), SW_SHOW_NORMAL), static_cast<unsigned>(ERROR_BAD_FORMAT));
}

// A program waited for: its exit code, a kill at the time limit, a program
// that cannot start; the idle handler runs while it waits.
TEST(RunAndWait, WaitsForTheProgramWithinTheLimitAndKeepsTheCallerAlive) {
    TempDir dir;
    const auto script = [&dir](const std::string& name, const std::string& body) {
        const auto path = dir.write(name, "#!/bin/sh\n" + body + "\n");
        chmod(path.c_str(), 0755);
        return path.string();
    };
    int idles = 0;
    const auto idle = [&idles] { ++idles; };
    const ProgramExit ended = RunAndWait(script("ends.exe", "sleep 0.3; exit 3") + " x", SW_SHOW_NORMAL, 10000, idle);
    EXPECT_EQ(ended.launch, LaunchSucceeded);
    EXPECT_EQ(ended.exitCode, 3);
    EXPECT_FALSE(ended.timedOut);
    EXPECT_FALSE(ended.Succeeded());
    EXPECT_GE(idles, 2);

    const auto start = std::chrono::steady_clock::now();
    const ProgramExit killed = RunAndWait(script("hangs.exe", "exec sleep 30"), SW_SHOW_NORMAL, 300, idle);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(killed.timedOut);
    EXPECT_EQ(killed.exitCode, 128 + SIGKILL);

    EXPECT_TRUE(RunAndWait(script("fine.exe", "exit 0"), SW_SHOW_NORMAL, 10000, idle).Succeeded());
    EXPECT_EQ(RunAndWait((dir / "missing.exe").string(), SW_SHOW_NORMAL, 1000, idle).launch,
              static_cast<unsigned>(ERROR_FILE_NOT_FOUND));
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1) << "no child left unreaped";
}

TEST(ShellOpen, HandsTheTargetToTheDesktopOpener) {
    TempDir dir;
    writeArgumentRecorder(dir, "xdg-open");
    dir.write("Docs/Manual.pdf", "");
    testsupport::EnvGuard path("PATH", dir.path().string());

    EXPECT_GT(ShellOpen("http://example.invalid/winrar.exe", SW_SHOW_NORMAL), 32u);
    EXPECT_EQ(waitForArguments(dir), "http://example.invalid/winrar.exe\n");
    std::filesystem::remove(dir / "args.txt");

    EXPECT_GT(ShellOpen(dir.path().string() + "\\docs\\manual.PDF", SW_SHOW_NORMAL), 32u);
    EXPECT_EQ(waitForArguments(dir), (dir / "Docs/Manual.pdf").string() + "\n");

    testsupport::EnvGuard noPath("PATH", (dir / "Docs").string());
    EXPECT_EQ(ShellOpen("http://example.invalid/", SW_SHOW_NORMAL), static_cast<unsigned>(ERROR_FILE_NOT_FOUND));
}

TEST(ShellOpen, RecorderCapturesRequests) {
    testsupport::LaunchRecorder recorder;
    recorder.openResult = ERROR_FILE_NOT_FOUND;
    EXPECT_EQ(ShellOpen("http://example.invalid/winrar.exe", SW_SHOW_NORMAL),
              static_cast<unsigned>(ERROR_FILE_NOT_FOUND));
    ASSERT_EQ(recorder.opened.size(), 1u);
    EXPECT_EQ(recorder.opened[0].target, "http://example.invalid/winrar.exe");
}
