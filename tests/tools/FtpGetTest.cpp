#include "tests/support/ProgramRun.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::EndsWith;
using testsupport::FtpScriptSession;
using testsupport::ScriptedFtpServer;

namespace {

std::string lastLine(const std::string& output) {
    const std::string text = output.substr(0, output.find_last_not_of('\n') + 1);
    return text.substr(text.rfind('\n') + 1);
}

} // namespace

TEST(FtpGet, ADownloadNameMustBeAPlainFileName) {
    testsupport::TempDir folder;
    folder.write("into/.keep", "");
    for (const std::string name : {"../evil", "/tmp/evil", "a\\b", "..", ""}) {
        const testsupport::ProgramRun run =
            testsupport::RunProgram(FTPGET_PROGRAM, {"-s", "-g", name, "-o", (folder / "into").string(), "127.0.0.1"});
        EXPECT_EQ(run.exitCode, 2) << name;
        EXPECT_THAT(run.output, testing::StartsWith("ftpget: -g takes a plain file name, not \"" + name + "\"\n"));
    }
    EXPECT_THAT(folder.names(), ElementsAre("into"));
}

TEST(FtpGet, AFailedDownloadKeepsTheLocalFileAndSaysWhatFailed) {
    struct Case {
        const char* fault;
        ScriptedFtpServer::Script retr; // answers SIZE and what follows
        std::string lastLine;
    };
    const std::vector<Case> cases = {
        {"refused",
         [](FtpScriptSession& s) {
             s.Answer("550 ready");
             s.Answer("200 PORT command successful");
             s.Answer("550 ready");
         },
         "ftpget: error: while downloading app.exe: the server answered 550: ready"},
        {"shorter than its size",
         [](FtpScriptSession& s) {
             s.Answer("213 10");
             const std::string port = s.Command();
             s.Reply("200 PORT command successful");
             s.Answer("150 Opening");
             s.ConnectData(port);
             s.SendData("hi");
             s.CloseData();
             s.Reply("226 Transfer complete");
         },
         "ftpget: error: while downloading app.exe: Incomplete transfer: 2 bytes received, the server announced 10."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        testsupport::TempDir folder;
        folder.write("app.exe", "former content");
        ScriptedFtpServer server([&](FtpScriptSession& s) {
            s.LogIn();
            c.retr(s);
            s.ClientCloses();
        });
        const testsupport::ProgramRun run = testsupport::RunProgram(
            FTPGET_PROGRAM, {"-s", "-u", "user", "-p", "pw", "-n", std::to_string(server.Port()), "-g", "app.exe", "-o",
                             folder.path().string(), "127.0.0.1"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(lastLine(run.output), c.lastLine);
        EXPECT_EQ(folder.read("app.exe"), "former content");
        EXPECT_THAT(folder.names(), ElementsAre("app.exe"));
        EXPECT_THAT(server.Transcript(), testing::Contains("SIZE app.exe"));
    }
}

// After a listing, a download is held to the listing's size and SIZE is not asked.
TEST(FtpGet, AfterAListingTheListedSizeIsTheOneADownloadMustBring) {
    testsupport::TempDir folder;
    const auto transfer = [](FtpScriptSession& s, const std::string& bytes) {
        const std::string port = s.Command();
        s.Reply("200 PORT command successful");
        s.Answer("150 Opening");
        s.ConnectData(port);
        s.SendData(bytes);
        s.CloseData();
        s.Reply("226 Transfer complete");
    };
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        transfer(s, "-rw-r--r-- 1 ftp ftp 10 Jan 01  2026 app.exe\r\n");
        transfer(s, "hi");
        s.ClientCloses();
    });
    const testsupport::ProgramRun run =
        testsupport::RunProgram(FTPGET_PROGRAM, {"-u", "user", "-p", "pw", "-n", std::to_string(server.Port()), "-g",
                                                 "app.exe", "-o", folder.path().string(), "127.0.0.1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        lastLine(run.output),
        "ftpget: error: while downloading app.exe: Incomplete transfer: 2 bytes received, the server announced 10.");
    EXPECT_THAT(server.Transcript(), testing::Not(testing::Contains(testing::StartsWith("SIZE"))));
    EXPECT_TRUE(folder.names().empty());
}
