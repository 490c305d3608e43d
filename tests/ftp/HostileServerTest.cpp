#include "ftp/IdException.h"
#include "ftp/IdFTP.h"
#include "ftp/IdStreams.h"
#include "platform/TextFile.h"
#include "tests/ftp/ClientEvents.h"
#include "tests/support/FtpWire.h"
#include "tests/support/ScriptedFtpServer.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

using namespace ftp;
using testing::Contains;
using testing::HasSubstr;
using testing::Not;
using testsupport::FtpScriptSession;
using testsupport::ScriptedFtpServer;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

constexpr int Limit = 300; // ms: the client's ReadTimeout in these tests

// Answers PORT and RETR with 150 (its text given) and connects the data connection.
void openActiveData(FtpScriptSession& s, const std::string& preliminary = "150 Opening data connection") {
    const std::string port = s.Command();
    s.Reply("200 PORT command successful");
    s.Command();
    s.Reply(preliminary);
    s.ConnectData(port);
}

// A client logged in to server with the short limit; the former file "kept.bin" in folder.
struct Fixture {
    testsupport::TempDir folder;
    TIdFTP client;

    explicit Fixture(const ScriptedFtpServer& server) {
        folder.write("kept.bin", "former content");
        PointAt(client, server.Port());
        client.ReadTimeout = Limit;
    }
    void Download(std::int64_t knownSize = -1) {
        client.Download("kept.bin", folder / "kept.bin", true, false, knownSize);
    }
    std::string Kept() const { return folder.read("kept.bin"); }
};

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(no failure)";
}

// A stream whose disk is full.
struct FailingStream : TAppendStream {
    FailingStream() : TAppendStream(0) {}
    void Write(const char*, std::size_t) override { throw base::Exception("disk full"); }
};

} // namespace

TEST(HostileServer, EverySilenceEndsWithinTheLimitAndNamesWhatWasAwaited) {
    enum class Action { Open, Download };
    struct Case {
        const char* fault;
        ScriptedFtpServer::Script script;
        Action action;
        std::string message;
        int limitsWaited; // the waits that run out, one after another
    };
    const std::string noReply = "Read Timeout\r\nNo reply from the server in 300 ms.";
    const std::string noData = "Read Timeout\r\nNo data from the server in 300 ms.";
    const std::vector<Case> cases = {
        {"silent instead of the greeting", [](FtpScriptSession& s) { s.ClientCloses(); }, Action::Open, noReply, 1},
        {"silent after USER",
         [](FtpScriptSession& s) {
             s.Reply("220 ready");
             s.Command();
             s.ClientCloses();
         },
         Action::Open, noReply, 1},
        {"silent during a transfer",
         [](FtpScriptSession& s) {
             s.LogIn();
             openActiveData(s);
             s.SendData("half of it");
             s.ClientCloses();
         },
         Action::Download, noData, 2},
        {"holding the data connection open without a byte",
         [](FtpScriptSession& s) {
             s.LogIn();
             openActiveData(s);
             s.ClientCloses();
         },
         Action::Download, noData, 2},
        {"never sending 226",
         [](FtpScriptSession& s) {
             s.LogIn();
             openActiveData(s);
             s.SendData("all of it");
             s.CloseData();
             s.ClientCloses();
         },
         Action::Download, noReply, 1},
        {"never opening the data connection",
         [](FtpScriptSession& s) {
             s.LogIn();
             s.Answer("200 PORT command successful");
             s.Answer("150 Opening data connection");
             s.ClientCloses();
         },
         Action::Download, "Accept timed out.", 2},
        {"dropping the control connection while the data connection stays open",
         [](FtpScriptSession& s) {
             s.LogIn();
             openActiveData(s);
             s.SendData("half of it");
             s.CloseControl();
             s.ClientClosesData();
         },
         Action::Download, noData, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        ScriptedFtpServer server(c.script);
        Fixture f(server);
        const Clock::time_point start = Clock::now();
        if (c.action == Action::Open) {
            EXPECT_EQ(messageOf([&] { f.client.OpenSession(); }), c.message);
        } else {
            f.client.OpenSession();
            EXPECT_EQ(messageOf([&] { f.Download(); }), c.message);
        }
        const auto waited = Clock::now() - start;
        EXPECT_GE(waited, milliseconds(Limit * c.limitsWaited - 20));
        EXPECT_LT(waited, milliseconds(Limit * c.limitsWaited + 1500));
        EXPECT_FALSE(f.client.IsOpen()); // nothing late can answer a later command
        EXPECT_EQ(f.Kept(), "former content");
        EXPECT_THAT(f.folder.names(), testing::ElementsAre("kept.bin"));
        EXPECT_EQ(server.Failure(), "");
    }
}

TEST(HostileServer, AFailureAfterThe150ReplyReadsTheFinalReplySoTheNextCommandGetsItsOwn) {
    struct Case {
        const char* fault;
        ScriptedFtpServer::Script transfer; // the server's side of the failing transfer
        bool failingStream;
    };
    const std::vector<Case> cases = {
        {"no data connection within the limit",
         [](FtpScriptSession& s) {
             s.Answer("200 PORT command successful");
             s.Answer("150 Opening data connection");
             std::this_thread::sleep_for(milliseconds(Limit + 100));
             s.Reply("425 Can't open data connection.");
         },
         false},
        {"a local write error",
         [](FtpScriptSession& s) {
             openActiveData(s);
             s.SendData(std::string(100000, 'x'));
             s.CloseData();
             s.Reply("226 Transfer complete");
         },
         true},
        {"a reset data connection",
         [](FtpScriptSession& s) {
             openActiveData(s);
             s.SendData("some");
             std::this_thread::sleep_for(milliseconds(50));
             s.ResetData();
             s.Reply("426 Connection reset; transfer aborted.");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        ScriptedFtpServer server([&](FtpScriptSession& s) {
            s.LogIn();
            c.transfer(s);
            s.Answer("250 Next folder");
            s.ClientCloses();
        });
        Fixture f(server);
        f.client.OpenSession();
        FailingStream failing;
        TMemoryStream memory;
        EXPECT_THROW(
            f.client.DownloadToStream("file.bin", c.failingStream ? static_cast<TStream&>(failing) : memory, false),
            base::Exception);
        EXPECT_TRUE(f.client.IsOpen());
        f.client.ChangeDirectory("next");
        EXPECT_EQ(f.client.LastReply.FirstLine(), "Next folder");
        f.client.CloseSession();
        EXPECT_EQ(server.Failure(), "");
    }
}

// The size a listing or SIZE gave, unless the 150 reply (the newer word)
// announces one.
TEST(HostileServer, ADownloadMustBringTheAnnouncedNumberOfBytes) {
    struct Case {
        const char* what;
        std::int64_t knownSize;
        std::string preliminary;
        std::string bytes;
        std::string failure; // empty: the download succeeds
    };
    const std::vector<Case> cases = {
        {"half of the known size", 10, "150 Opening", "12345",
         "Incomplete transfer: 5 bytes received, the server announced 10."},
        {"more than the known size", 3, "150 Opening", "12345",
         "Incomplete transfer: 5 bytes received, the server announced 3."},
        {"half of the 150 reply's count", -1, "150 Opening BINARY mode data connection for x (10 bytes)", "12345",
         "Incomplete transfer: 5 bytes received, the server announced 10."},
        {"the 150 reply counts before the known size", 5, "150 Opening (10 bytes)", "12345",
         "Incomplete transfer: 5 bytes received, the server announced 10."},
        {"the 150 reply's count met", 10, "150 Opening (5 bytes)", "12345", ""},
        {"exactly the known size", 5, "150 Opening", "12345", ""},
        {"nothing announced", -1, "150 Opening", "12345", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedFtpServer server([&](FtpScriptSession& s) {
            s.LogIn();
            openActiveData(s, c.preliminary);
            s.SendData(c.bytes);
            s.CloseData();
            s.Reply("226 Transfer complete");
            s.ClientCloses();
        });
        Fixture f(server);
        f.client.OpenSession();
        if (c.failure.empty()) {
            f.Download(c.knownSize);
            EXPECT_EQ(f.Kept(), c.bytes);
        } else {
            EXPECT_EQ(messageOf([&] { f.Download(c.knownSize); }), c.failure);
            EXPECT_EQ(f.Kept(), "former content");
        }
        EXPECT_THAT(f.folder.names(), testing::ElementsAre("kept.bin"));
        EXPECT_TRUE(f.client.IsOpen());
        f.client.CloseSession();
        EXPECT_EQ(server.Failure(), "");
    }
}

TEST(HostileServer, AListingTheServerCutsOffFailsAndKeepsTheFormerLines) {
    for (const std::string cut : {"426 Connection closed; transfer aborted.", "450 Listing interrupted"}) {
        SCOPED_TRACE(cut);
        ScriptedFtpServer server([&](FtpScriptSession& s) {
            s.LogIn();
            openActiveData(s);
            s.SendData("-rw-r--r-- 1 u g 10 Jan 15 10:30 a.txt\r\n");
            s.CloseData();
            s.Reply("226 Done");
            openActiveData(s);
            s.SendData("-rw-r--r-- 1 u g 10 Jan 15 10:30 b.txt\r\n");
            s.CloseData();
            s.Reply(cut);
            s.Reply("226 Abort done");
            s.ClientCloses();
        });
        Fixture f(server);
        f.client.OpenSession();
        f.client.ListDirectory(nullptr);
        EXPECT_EQ(messageOf([&] { f.client.ListDirectory(nullptr); }), cut.substr(4) + "\r\n");
        ASSERT_EQ(f.client.ListLines.size(), 1u);
        EXPECT_THAT(f.client.ListLines[0], HasSubstr("a.txt"));
        f.client.CloseSession();
        EXPECT_EQ(server.Failure(), "");
    }
}

TEST(HostileServer, PassiveTransfersGoToTheServerWhateverAddressTheReplyNames) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        const std::string reply = s.ListenPassive();
        s.Command();
        s.Reply("227 Entering Passive Mode (10,9,8,7," + reply.substr(reply.rfind(',', reply.rfind(',') - 1) + 1));
        s.AcceptData();
        s.Answer("150 Here it comes");
        s.SendData("genuine");
        s.CloseData();
        s.Reply("226 Done");
        s.ClientCloses();
    });
    Fixture f(server);
    f.client.Passive = true;
    f.client.OpenSession();
    f.Download();
    EXPECT_EQ(f.Kept(), "genuine");
    f.client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
}

TEST(HostileServer, PassivePortsOutsideTheRangeAreRefused) {
    for (const std::string line : {"Entering Passive Mode (127,0,0,1,256,0)", "Entering Passive Mode (127,0,0,1,1,256)",
                                   "Entering Passive Mode (127,0,0,1,0,0)", "Entering Passive Mode (127,0,0,1,-1,80)",
                                   "Entering Passive Mode (127,0,0,1,70012200,1)"}) {
        EXPECT_THAT(messageOf([&] { ParsePassiveReply(line); }), testing::StartsWith("Invalid port \"")) << line;
    }
    EXPECT_EQ(ParsePassiveReply("Entering Passive Mode (127,0,0,1,255,255)").second, 65535);
}

TEST(HostileServer, AnActiveDataConnectionFromAnotherAddressIsRefused) {
    bool intruderRefused = false;
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        const std::string port = s.Command();
        s.Reply("200 PORT command successful");
        s.Answer("150 Opening data connection");
        s.ConnectData(port, "127.0.0.2");
        intruderRefused = s.ClientClosesData();
        s.ConnectData(port);
        s.SendData("genuine");
        s.CloseData();
        s.Reply("226 Done");
        s.ClientCloses();
    });
    Fixture f(server);
    f.client.OpenSession();
    f.Download();
    EXPECT_EQ(f.Kept(), "genuine");
    f.client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
    EXPECT_TRUE(intruderRefused);
}

TEST(HostileServer, RepliesAndListingsBeyondTheirBoundsFailClearly) {
    struct Case {
        const char* what;
        std::string reply;
        std::string failure;
    };
    std::string thousandLines = "211-Status\r\n";
    for (int i = 0; i < 998; ++i)
        thousandLines += " line\r\n";
    const std::vector<Case> cases = {
        {"1000 lines", thousandLines + "211 End\r\n", ""},
        {"1001 lines", thousandLines + " one more\r\n211 End\r\n", "The server's reply has more than 1000 lines."},
        {"more than 1 MiB", "211-Status\r\n" + std::string(1 << 20, '\n'), "The server's reply is longer than 1 MiB."},
        {"blank lines before the reply", std::string(1 << 20, '\n') + "211 Status\r\n",
         "The server's reply is longer than 1 MiB."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TIdTCPConnection connection;
        connection.AppendReceived(c.reply.data(), c.reply.size());
        if (c.failure.empty())
            EXPECT_EQ(connection.ReadReply(), 211);
        else
            EXPECT_EQ(messageOf([&] { connection.ReadReply(); }), c.failure);
    }

    TLinesStream listing(MaxListingBytes);
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 64; ++i)
        listing.Write(block.data(), block.size());
    EXPECT_EQ(messageOf([&] { listing.Write("x", 1); }), "The directory listing is longer than 64 MiB.");
}

TEST(HostileServer, TextsAreSplitIntoLinesWhereverTheBlocksEnd) {
    const std::string text = "a\r\nb\nc\rd\r\r\ne";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        TLinesStream lines(100);
        lines.Write(text.data(), cut);
        lines.Write(text.data() + cut, text.size() - cut);
        EXPECT_THAT(lines.TakeLines(), testing::ElementsAre("a", "b", "c", "d", "", "e")) << cut;
    }
}

TEST(HostileServer, LineBreaksInsideCommandArgumentsAreRefusedUnsent) {
    struct Case {
        const char* what;
        std::function<void(TIdFTP&)> action;
    };
    const std::vector<Case> cases = {
        {"folder name", [](TIdFTP& c) { c.ChangeDirectory("quillmark\r\nDELE app.exe"); }},
        {"file name", [](TIdFTP& c) { c.RemoteFileSize("app.exe\nDELE app.exe"); }},
        {"download name", [](TIdFTP& c) { c.Download("app.exe\rDELE x", "unused", true, false); }},
    };
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        s.Answer("250 still in step");
        s.ClientCloses();
    });
    TIdFTP client;
    PointAt(client, server.Port());
    client.OpenSession();
    for (const Case& c : cases)
        EXPECT_EQ(messageOf([&] { c.action(client); }), "A command to the server may not hold a line break (CR or LF).")
            << c.what;
    client.ChangeDirectory("next");
    EXPECT_EQ(client.LastReply.FirstLine(), "still in step");
    client.CloseSession();
    EXPECT_THAT(server.Transcript(), Not(Contains(testing::HasSubstr("DELE"))));

    ScriptedFtpServer login([](FtpScriptSession& s) {
        s.Reply("220 ready");
        s.Answer("331 Password required");
        s.ClientCloses();
    });
    PointAt(client, login.Port());
    client.Password = "secret\r\nDELE app.exe";
    EXPECT_THROW(client.OpenSession(), EIdLineBreakInCommand);
    EXPECT_THAT(login.Transcript(), testing::ElementsAre("USER user"));
}

TEST(HostileServer, TheNextDownloadRemovesTheTemporaryFileOfAKilledOne) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        openActiveData(s);
        s.SendData("fresh");
        s.CloseData();
        s.Reply("226 Done");
        s.ClientCloses();
    });
    Fixture f(server);
    const std::string abandoned = platform::TemporaryPrefixOf("kept.bin") + "Ab12Cd";
    const std::string beingWritten = platform::TemporaryPrefixOf("kept.bin") + "Zz99Yy";
    const std::string another = platform::TemporaryPrefixOf("other.bin") + "Ab12Cd";
    f.folder.write(abandoned, "left by a killed download");
    f.folder.write(beingWritten, "being written right now");
    f.folder.write(another, "another file's");
    const int live = ::open((f.folder / beingWritten).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    f.client.OpenSession();
    f.Download();
    ::close(live);
    EXPECT_EQ(f.Kept(), "fresh");
    EXPECT_THAT(f.folder.names(), testing::UnorderedElementsAre(beingWritten, another, "kept.bin"));
    f.client.CloseSession();
}
