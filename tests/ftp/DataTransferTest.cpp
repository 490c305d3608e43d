#include "ftp/IdException.h"
#include "ftp/IdFTP.h"
#include "ftp/IdStreams.h"
#include "tests/ftp/ClientEvents.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <regex>

using namespace ftp;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testsupport::FtpScriptSession;
using testsupport::ScriptedFtpServer;

namespace {

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

// Answers PORT and the transfer command, connects and sends bytes, then the final replies.
void serveActive(FtpScriptSession& s, const std::string& bytes,
                 const std::vector<std::string>& finalReplies = {"226 Transfer complete"}) {
    const std::string port = s.Command();
    s.Reply("200 PORT command successful");
    s.Command();
    s.Reply("150 Opening BINARY mode data connection");
    s.ConnectData(port);
    s.SendData(bytes);
    s.CloseData();
    for (const std::string& reply : finalReplies)
        s.Reply(reply);
}

struct Session {
    TIdFTP client;
    ClientEvents events;

    explicit Session(const ScriptedFtpServer& server) {
        PointAt(client, server.Port());
        events.Attach(client);
        client.OpenSession();
        events.Clear();
    }
};

} // namespace

TEST(DataTransfer, ActiveDownloadCountsWorkPerFullBlockOnTheDataConnection) {
    struct Case {
        std::size_t size;
        std::vector<std::string> work;
    };
    const std::vector<Case> cases = {
        {0, {"begin 0", "end"}},
        {1, {"begin 0", "end"}},
        {32767, {"begin 0", "end"}},
        {65536, {"begin 0", "work 32768", "work 65536", "end"}},
        {100000, {"begin 0", "work 32768", "work 65536", "work 98304", "end"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string bytes = patterned(c.size);
        ScriptedFtpServer server([&](FtpScriptSession& s) {
            s.LogIn();
            serveActive(s, bytes);
            s.ClientCloses();
        });
        Session session(server);
        TMemoryStream received;
        session.client.DownloadToStream("file.bin", received, false);
        EXPECT_TRUE(received.DataString() == bytes);
        EXPECT_EQ(session.events.work, c.work);
        for (TIdComponent* sender : session.events.workSenders) {
            EXPECT_NE(sender, &session.client);
            EXPECT_EQ(sender, session.events.workSenders.front());
        }
        EXPECT_THAT(session.events.StatusTexts(), ElementsAre("Starting FTP transfer", "Transfer complete"));
        EXPECT_EQ(session.client.DataConnection(), nullptr);
        session.client.CloseSession();
        const std::vector<std::string> transcript = server.Transcript();
        ASSERT_EQ(transcript.size(), 6u);
        EXPECT_TRUE(std::regex_match(transcript[4], std::regex(R"(PORT 127,0,0,1,\d{1,3},\d{1,3})"))) << transcript[4];
        EXPECT_EQ(transcript[5], "RETR file.bin");
        EXPECT_EQ(server.Failure(), "");
    }
}

TEST(DataTransfer, PassiveDownloadConnectsToTheAnnouncedEndpoint) {
    testsupport::TempDir folder;
    const std::string bytes = patterned(70000);
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        s.Command();
        s.Reply(s.ListenPassive());
        s.AcceptData();
        s.Command();
        s.Reply("150 Here it comes");
        s.SendData(bytes);
        s.CloseData();
        s.Reply("226 Done");
        s.ClientCloses();
    });
    Session session(server);
    session.client.Passive = true;
    testsupport::CurrentDirGuard inFolder(folder.path());
    session.client.Download("remote.bin", ".\\local.bin", true, false); // the program's own way of naming it
    EXPECT_TRUE(folder.read("local.bin") == bytes);
    EXPECT_THAT(session.events.work, ElementsAre("begin 0", "work 32768", "work 65536", "end"));
    session.client.CloseSession();
    EXPECT_THAT(server.Transcript(), ElementsAre("USER user", "PASS pw", "TYPE I", "SYST", "PASV", "RETR remote.bin"));
    EXPECT_EQ(server.Failure(), "");
}

TEST(DataTransfer, ListingFillsListLinesAndSurvivesAFailedListing) {
    std::string listing = "-rw-r--r-- 1 u g 10 Jan 15 10:30 a.txt\r\n"
                          "-rw-r--r-- 1 u g 20 Jan 15 10:30 b.txt\n"
                          "-rw-r--r-- 1 u g 30 Jan 15 10:30 c.txt\r"
                          "-rw-r--r-- 1 u g 40 Jan 15 10:30 d.txt\r\n";
    const std::string filler(500 - listing.size() - 2, 'x');
    listing += filler + "\r\n";
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        serveActive(s, listing);
        s.Answer("200 PORT command successful");
        s.Answer("550 Cannot list");
        s.ClientCloses();
    });
    Session session(server);
    std::vector<std::string> memo{"old"};
    session.client.ListDirectory(&memo);
    EXPECT_THAT(session.events.work, ElementsAre("begin 0", "end"));
    ASSERT_EQ(session.client.ListLines.size(), 5u);
    EXPECT_EQ(memo, session.client.ListLines);
    EXPECT_EQ(session.client.ListLines[2], "-rw-r--r-- 1 u g 30 Jan 15 10:30 c.txt");
    EXPECT_EQ(session.client.ListLines[4], filler);
    TIdFTPListItems& items = session.client.ListingItems();
    EXPECT_EQ(&items, &session.client.ListingItems()); // built once
    EXPECT_EQ(items.Count(), 0u);                      // the last line is no entry and empties the rest

    EXPECT_THROW(session.client.ListDirectory(&memo, "missing"), EIdProtocolReplyError);
    EXPECT_EQ(memo.size(), 5u);
    EXPECT_EQ(session.client.ListLines.size(), 5u);
    EXPECT_EQ(&items, &session.client.ListingItems());
    session.client.CloseSession();
    EXPECT_THAT(server.Transcript(), testing::Contains("LIST"));
    EXPECT_THAT(server.Transcript(), testing::Contains("LIST missing"));
}

TEST(DataTransfer, AbortedTransferReadsOneMoreReplyAndADownloadKeepsTheFormerFile) {
    testsupport::TempDir folder;
    folder.write("kept.bin", "former content");
    const std::string bytes = patterned(40000);
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        serveActive(s, bytes, {"426 Connection closed; transfer aborted.", "226 Abort successful"});
        serveActive(s, bytes, {"426 Connection closed; transfer aborted.", "225 Data connection open"});
        s.Answer("250 CWD ok");
        s.ClientCloses();
    });
    Session session(server);
    TMemoryStream stream;
    stream.Write(std::string(50000, '-').data(), 50000);
    stream.Seek(10); // received bytes go from the position on, and nothing of the former tail stays
    session.client.DownloadToStream("a.bin", stream, false);
    EXPECT_EQ(stream.Size(), 40010);
    EXPECT_TRUE(stream.DataString() == std::string(10, '-') + bytes);
    EXPECT_THAT(session.events.StatusTexts(),
                ElementsAre("Starting FTP transfer", "Transfer complete", "Transfer aborted"));
    EXPECT_EQ(session.events.statuses.back().status, ftpAborted);

    try {
        session.client.Download("a.bin", folder / "kept.bin", true, false);
        ADD_FAILURE() << "an aborted download counted as complete";
    } catch (const EIdProtocolReplyError& error) {
        EXPECT_STREQ(error.what(), "Connection closed; transfer aborted.\r\n");
    }
    EXPECT_EQ(folder.read("kept.bin"), "former content");
    EXPECT_THAT(folder.names(), ElementsAre("kept.bin"));
    EXPECT_NO_THROW(session.client.ChangeDirectory("next"));
    session.client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
}

// Transfers in a row listen on the same data port: a fresh port for each
// makes the system search longer with every transfer.
TEST(DataTransfer, TransfersInARowListenOnTheSamePort) {
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        serveActive(s, "one");
        serveActive(s, "two");
        s.ClientCloses();
    });
    Session session(server);
    for (const std::string expected : {"one", "two"}) {
        TMemoryStream stream;
        session.client.DownloadToStream(expected + ".bin", stream, false);
        EXPECT_EQ(stream.DataString(), expected);
    }
    session.client.CloseSession();
    const std::vector<std::string> transcript = server.Transcript();
    ASSERT_EQ(transcript.size(), 8u);
    EXPECT_THAT(transcript[4], testing::StartsWith("PORT "));
    EXPECT_EQ(transcript[6], transcript[4]);
    EXPECT_EQ(server.Failure(), "");
}

TEST(DataTransfer, RefusedRetrKeepsTheFormerFileAndTheConnectionUsable) {
    testsupport::TempDir folder;
    folder.write("app.exe", "former content");
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        s.Answer("200 PORT command successful");
        s.Answer("550 app.exe: No such file or directory.");
        s.Answer("213 77");
        s.ClientCloses();
    });
    Session session(server);
    try {
        session.client.Download("app.exe", folder / "app.exe", true, false);
        ADD_FAILURE() << "RETR 550 accepted";
    } catch (const EIdProtocolReplyError& error) {
        EXPECT_STREQ(error.what(), "app.exe: No such file or directory.\r\n");
        EXPECT_EQ(error.ReplyErrorCode(), 550);
    }
    EXPECT_THAT(session.events.StatusTexts(), ElementsAre("Starting FTP transfer", "Transfer complete"));
    EXPECT_EQ(folder.read("app.exe"), "former content");
    EXPECT_THAT(folder.names(), ElementsAre("app.exe"));
    EXPECT_EQ(session.client.RemoteFileSize("next.bin"), 77);
    session.client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
}

TEST(DataTransfer, ServerVanishingMidTransferLeavesNoFile) {
    testsupport::TempDir folder;
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        serveActive(s, patterned(50000), {});
    });
    Session session(server);
    EXPECT_THROW(session.client.Download("new.bin", folder / "new.bin", true, false), EIdConnClosedGracefully);
    EXPECT_THAT(session.events.work, ElementsAre("begin 0", "work 32768", "end"));
    EXPECT_TRUE(folder.names().empty());
    EXPECT_FALSE(session.client.IsOpen());
}

TEST(DataTransfer, ExistingFileRulesAndResume) {
    testsupport::TempDir folder;
    folder.write("local.bin", "abc");
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        s.Answer("350 Restarting at 1");
        s.Answer("350 Restarting at 0");
        const std::string port = s.Command();
        s.Reply("200 PORT command successful");
        s.Answer("350 Restarting at 3");
        s.Command();
        s.Reply("150 Sending the rest");
        s.ConnectData(port);
        s.SendData("defgh");
        s.CloseData();
        s.Reply("226 Done");
        s.ClientCloses();
    });
    Session session(server);
    try {
        session.client.Download("remote.bin", folder / "local.bin", false, false);
        ADD_FAILURE() << "existing file overwritten";
    } catch (const EIdFTPFileAlreadyExists& error) {
        EXPECT_STREQ(error.what(), "Destination file already exists.");
    }
    // The known size is the whole file's: the rest must bring what it lacks.
    session.client.Download("remote.bin", folder / "local.bin", false, true, 8);
    EXPECT_EQ(folder.read("local.bin"), "abcdefgh");
    // Overwriting while a resume is possible is refused as well; the probe is not repeated.
    EXPECT_THROW(session.client.Download("remote.bin", folder / "local.bin", true, true), EIdFTPFileAlreadyExists);
    session.client.CloseSession();
    const std::vector<std::string> transcript = server.Transcript();
    ASSERT_EQ(transcript.size(), 9u);
    EXPECT_THAT(std::vector<std::string>(transcript.begin() + 4, transcript.end()),
                ElementsAre("REST 1", "REST 0", testing::StartsWith("PORT "), "REST 3", "RETR remote.bin"));
}

TEST(DataTransfer, AFileThatCannotBeResumedIsReportedInTheSystemsWords) {
    testsupport::TempDir folder;
    folder.write("folder/inside.bin", "");
    const std::string name = (folder / "folder").string();
    try {
        TFileAppendStream stream(folder / "folder");
        ADD_FAILURE() << "a folder opened for appending";
    } catch (const base::Exception& error) {
        EXPECT_EQ(error.what(), "Cannot open file \"" + name + "\". Access is denied.");
    }
}

TEST(DataTransfer, ActiveWaitForTheServerIsBounded) {
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        s.Answer("200 PORT command successful");
        s.Answer("150 Opening data connection");
        s.ClientCloses();
    });
    Session session(server);
    session.client.ReadTimeout = 300;
    TMemoryStream stream;
    const auto start = std::chrono::steady_clock::now();
    try {
        session.client.DownloadToStream("never.bin", stream, false);
        ADD_FAILURE() << "no data connection, yet the transfer ended";
    } catch (const EIdAcceptTimeout& error) {
        EXPECT_STREQ(error.what(), "Accept timed out.");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    // No final reply came either within the limit: the session is closed.
    EXPECT_THAT(session.events.StatusTexts(),
                ElementsAre("Starting FTP transfer", "Transfer complete", "Disconnecting.", "Disconnected."));
    session.client.CloseSession();
}

TEST(DataTransfer, PortAndPassiveTexts) {
    EXPECT_EQ(PortCommand("192.168.0.5", 1047), "PORT 192,168,0,5,4,23");
    EXPECT_EQ(PortCommand("127.0.0.1", 255), "PORT 127,0,0,1,0,255");
    struct Case {
        std::string line;
        std::string address;
        int port;
    };
    for (const Case& c : {Case{"Entering Passive Mode (10,1,2,3,4,23).", "10.1.2.3", 1047},
                          Case{"Entering Passive Mode 127,0,0,1,200,1", "127.0.0.1", 51201},
                          Case{"  Passive 127,0,0,1,0,21  ", "127.0.0.1", 21}}) {
        const auto [address, port] = ParsePassiveReply(c.line);
        EXPECT_EQ(address, c.address) << c.line;
        EXPECT_EQ(port, c.port) << c.line;
    }
    for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
             {"Entering Passive Mode (127,0,0,1,x,23)", "'x' is not a valid integer value"},
             {"Entering Passive Mode (127,0,0,1,4)", "'' is not a valid integer value"}}) {
        try {
            ParsePassiveReply(line);
            ADD_FAILURE() << line;
        } catch (const base::Exception& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

TEST(DataTransfer, AbortFromAWorkHandlerSendsAborAndEndsTheTransfer) {
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        serveActive(s, patterned(100000), {});
        s.Command();
        s.Reply("426 Transfer aborted.");
        s.Reply("226 ABOR command successful.");
        s.ClientCloses();
    });
    Session session(server);
    session.client.OnWork = [&](TIdComponent*, TWorkMode, std::int64_t) { session.client.AbortTransfer(); };
    TMemoryStream stream;
    session.client.DownloadToStream("a.bin", stream, false);
    EXPECT_GE(stream.Size(), 32768);
    EXPECT_THAT(session.events.StatusTexts(),
                ElementsAre("Starting FTP transfer", "Transfer complete", "Transfer aborted"));
    session.client.CloseSession();
    const std::vector<std::string> transcript = server.Transcript();
    EXPECT_EQ(transcript.back(), "ABOR");
    EXPECT_EQ(server.Failure(), "");
}
