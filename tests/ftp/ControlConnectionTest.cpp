#include "ftp/IdException.h"
#include "ftp/IdFTP.h"
#include "tests/ftp/ClientEvents.h"
#include "tests/support/FtpWire.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/ScriptedFtpServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sys/socket.h>
#include <unistd.h>

using namespace ftp;
using testing::ElementsAre;
using testsupport::FtpScriptSession;
using testsupport::ScriptedFtpServer;

TEST(ControlConnection, OpenSessionLogsInReportsEachStepAndClosesWithoutQuit) {
    bool closedSilently = false;
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        closedSilently = s.ClientCloses();
    });
    TIdFTP client;
    ClientEvents events;
    events.Attach(client);
    PointAt(client, server.Port());
    client.Host = "LocalHost";

    client.OpenSession();
    EXPECT_TRUE(client.IsOpen());
    EXPECT_EQ(client.SystemDescription, "UNIX Type: L8");
    EXPECT_THAT(client.GreetingReply.Text, ElementsAre("Scripted server ready"));
    EXPECT_EQ(client.LoginReply.NumericCode, 230);
    client.TransferType(ftBinary); // already sent by the open: nothing more goes out
    client.CloseSession();

    EXPECT_THAT(server.Transcript(), ElementsAre("USER user", "PASS pw", "TYPE I", "SYST"));
    EXPECT_EQ(server.Failure(), "");
    EXPECT_TRUE(closedSilently);
    EXPECT_FALSE(client.IsOpen());
    EXPECT_THAT(events.StatusTexts(),
                ElementsAre("Resolving hostname LocalHost.", "Connecting to 127.0.0.1.", "Connected.",
                            "Connection established", "Disconnecting.", "Disconnected."));
    ASSERT_EQ(events.statuses.size(), 6u);
    EXPECT_NE(events.statuses[0].sender, &client); // the socket handler reports resolving and connecting
    EXPECT_EQ(events.statuses[0].sender, events.statuses[1].sender);
    EXPECT_EQ(events.statuses[2].sender, &client);
    EXPECT_EQ(events.statuses[2].status, hsConnected);
    EXPECT_EQ(events.statuses[3].status, ftpReady);
    EXPECT_TRUE(events.work.empty()); // commands and replies raise no work events
}

TEST(ControlConnection, RefusedGreetingClosesTheSessionWhichCanBeOpenedAgain) {
    for (const std::string greeting : {"120 Service ready in 5 minutes", "421 Too many users"}) {
        ScriptedFtpServer refusing([&](FtpScriptSession& s) { s.Reply(greeting); });
        TIdFTP client;
        ClientEvents events;
        events.Attach(client);
        PointAt(client, refusing.Port());
        try {
            client.OpenSession();
            ADD_FAILURE() << "greeting accepted: " << greeting;
        } catch (const EIdProtocolReplyError& error) {
            EXPECT_EQ(std::string(error.what()), greeting.substr(4) + "\r\n");
            EXPECT_EQ(error.ReplyErrorCode(), std::stoi(greeting.substr(0, 3)));
        }
        EXPECT_THAT(events.StatusTexts(),
                    ElementsAre("Connecting to 127.0.0.1.", "Connected.", "Disconnecting.", "Disconnected."));
        EXPECT_FALSE(client.IsOpen());

        ScriptedFtpServer accepting([](FtpScriptSession& s) {
            s.LogIn();
            s.ClientCloses();
        });
        PointAt(client, accepting.Port());
        client.OpenSession();
        EXPECT_TRUE(client.IsOpen());
        client.CloseSession();
        EXPECT_EQ(accepting.Failure(), "");
    }
}

TEST(ControlConnection, LoginAndSystemRepliesFollowTheirRules) {
    // USER answered 230 logs in without PASS; SYST 500 means an unknown system.
    ScriptedFtpServer noPassword([](FtpScriptSession& s) {
        s.Reply("220 ready");
        s.Answer("230 No password needed");
        s.Answer("200 Type set");
        s.Answer("500 SYST not understood");
    });
    TIdFTP client;
    PointAt(client, noPassword.Port());
    client.OpenSession();
    EXPECT_EQ(client.SystemDescription, "Unknown");
    EXPECT_THAT(noPassword.Transcript(), ElementsAre("USER user", "TYPE I", "SYST"));
    client.CloseSession();

    // SYST 502, PASS 332 (an account is wanted) and a refused TYPE all fail the open.
    const std::vector<std::vector<std::string>> failing = {
        {"331 Password required", "230 Logged in", "200 Type set", "502 Not implemented"},
        {"331 Password required", "332 Need account"},
        {"230 Logged in", "504 Type not supported"},
    };
    for (const auto& replies : failing) {
        ScriptedFtpServer server([&](FtpScriptSession& s) {
            s.Reply("220 ready");
            for (const std::string& reply : replies)
                s.Answer(reply);
        });
        TIdFTP refused;
        PointAt(refused, server.Port());
        try {
            refused.OpenSession();
            ADD_FAILURE() << "accepted " << replies.back();
        } catch (const EIdProtocolReplyError& error) {
            EXPECT_EQ(std::string(error.what()), replies.back().substr(4) + "\r\n");
        }
        EXPECT_FALSE(refused.IsOpen());
    }
}

TEST(ControlConnection, MultiLineRepliesAreReadWholeAndBlankLinesSkipped) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.SendRaw("220-Welcome\r\n\r\n   \r\n220-second line\r\nfree text\n220 last\r\n");
        s.Command();
        s.SendRaw("230-Logged in\r\n230\r\n");
        s.Answer("200-Type\n\n200 set");
        s.Answer("215 UNIX");
        s.Answer("213 42");
    });
    TIdFTP client;
    PointAt(client, server.Port());
    client.OpenSession();
    EXPECT_EQ(client.GreetingReply.NumericCode, 220);
    EXPECT_EQ(client.GreetingReply.TextCode, "220");
    EXPECT_THAT(client.GreetingReply.Text, ElementsAre("Welcome", "second line", " text", "last"));
    EXPECT_EQ(client.LoginReply.NumericCode, 230);
    EXPECT_THAT(client.LoginReply.Text, ElementsAre("Logged in", ""));
    // The reply after the multi-line ones is read in step.
    EXPECT_EQ(client.RemoteFileSize("file"), 42);
    client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
}

TEST(ControlConnection, SizeAndDirectoryCommandsAcceptTheirCodes) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        s.Answer("213 123456");
        s.Answer("550 No such file");
        s.Answer("213 100 bytes");
        s.Answer("213 abc");
        s.Answer("250 Directory changed");
        s.Answer("200 OK");
        s.Answer("550 No such directory.");
        s.Answer("200 Type set");
    });
    TIdFTP client;
    PointAt(client, server.Port());
    client.OpenSession();
    EXPECT_EQ(client.RemoteFileSize("a.bin"), 123456);
    EXPECT_EQ(client.RemoteFileSize("missing"), -1);
    EXPECT_EQ(client.RemoteFileSize("two words"), -1);
    EXPECT_EQ(client.RemoteFileSize("not a number"), -1);
    EXPECT_NO_THROW(client.ChangeDirectory("quillmark"));
    EXPECT_NO_THROW(client.ChangeDirectory("other"));
    try {
        client.ChangeDirectory("missing");
        ADD_FAILURE() << "CWD 550 accepted";
    } catch (const EIdProtocolReplyError& error) {
        EXPECT_EQ(std::string(error.what()), "No such directory.\r\n");
        EXPECT_EQ(error.ReplyErrorCode(), 550);
    }
    client.TransferType(ftASCII);
    client.TransferType(ftASCII);
    EXPECT_THAT(server.Transcript(),
                ElementsAre("USER user", "PASS pw", "TYPE I", "SYST", "SIZE a.bin", "SIZE missing", "SIZE two words",
                            "SIZE not a number", "CWD quillmark", "CWD other", "CWD missing", "TYPE A"));
}

TEST(ControlConnection, ReplyLinesLongerThanTheLimitAreRefused) {
    const std::string longest = "213 " + std::string(16380, '7');
    ScriptedFtpServer server([&](FtpScriptSession& s) {
        s.LogIn();
        s.Answer(longest);
        s.Answer("213 " + std::string(16381, '7'));
    });
    TIdFTP client;
    PointAt(client, server.Port());
    client.OpenSession();
    EXPECT_EQ(client.RemoteFileSize("at the limit"), -1); // the number overflows; the line is read
    EXPECT_EQ(client.LastReply.Text.front().size(), 16380u);
    try {
        client.RemoteFileSize("beyond");
        ADD_FAILURE() << "over-long line accepted";
    } catch (const EIdReadLnMaxLineLengthExceeded& error) {
        EXPECT_STREQ(error.what(), "Max line length exceeded.");
    }
}

TEST(ControlConnection, ServerCloseIsNoticedByReadsAndByIsOpen) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        s.Command();
    });
    TIdFTP client;
    ClientEvents events;
    events.Attach(client);
    PointAt(client, server.Port());
    client.OpenSession();
    events.Clear();
    EXPECT_THROW(client.ChangeDirectory("x"), EIdConnClosedGracefully);
    EXPECT_THAT(events.StatusTexts(), ElementsAre("Disconnected."));
    EXPECT_FALSE(client.IsOpen());
    EXPECT_THROW(client.ChangeDirectory("x"), EIdNotConnected);

    ScriptedFtpServer closing([](FtpScriptSession& s) { s.LogIn(); });
    PointAt(client, closing.Port());
    client.OpenSession();
    closing.Transcript(); // the script has ended and closed its side
    events.Clear();
    EXPECT_FALSE(client.IsOpen());
    EXPECT_THAT(events.StatusTexts(), ElementsAre("Disconnected."));
    // Closing a closed session still reports both steps.
    events.Clear();
    client.CloseSession();
    EXPECT_THAT(events.StatusTexts(), ElementsAre("Disconnecting.", "Disconnected."));
}

TEST(ControlConnection, SocketFailuresCarryWinsockCodesAndTexts) {
    TIdFTP client;
    PointAt(client, static_cast<std::uint16_t>(testsupport::FreeLoopbackPort()));
    try {
        client.OpenSession();
        ADD_FAILURE() << "connected to a closed port";
    } catch (const EIdSocketError& error) {
        EXPECT_EQ(error.LastError(), 10061);
        EXPECT_STREQ(error.what(), "Socket Error # 10061\r\nConnection refused.");
    }
    // With a time-out the refusal comes as a connect exception with the same text.
    try {
        client.OpenSession(true, 2000);
        ADD_FAILURE() << "connected to a closed port";
    } catch (const EIdConnectException& error) {
        EXPECT_STREQ(error.what(), "Socket Error # 10061\r\nConnection refused.");
    }

    std::uint16_t busyPort = 0;
    const int busy = testsupport::ListenOnLoopback(busyPort);
    client.BoundIP = "127.0.0.1";
    client.BoundPort = busyPort;
    EXPECT_THROW(
        try { client.OpenSession(); } catch (const EIdCouldNotBindSocket& error) {
            EXPECT_STREQ(error.what(), "Could not bind socket. Address and port are already in use.");
            throw;
        },
        EIdCouldNotBindSocket);
    ::close(busy);

    struct Case {
        int systemError;
        int code;
        const char* text;
    };
    for (const Case& c :
         {Case{ECONNRESET, 10054, "Connection reset by peer."},
          Case{EPIPE, 10058, "Cannot send or receive after socket is closed."},
          Case{ETIMEDOUT, 10060, "Connection timed out."}, Case{EWOULDBLOCK, 10035, "Operation would block. "},
          Case{EHOSTUNREACH, 10065, "No route to host."}}) {
        EXPECT_EQ(platform::WinsockErrorOf(c.systemError), c.code);
        EXPECT_EQ(std::string(EIdSocketError(c.code).what()),
                  "Socket Error # " + std::to_string(c.code) + "\r\n" + c.text);
    }
    EXPECT_STREQ(EIdSocketError(11001).what(), "Socket Error # 11001\r\nHost not found.");
    EXPECT_STREQ(EIdSocketError(12345).what(), "Socket Error # 12345\r\n");
}

TEST(ControlConnection, ConnectWithATimeOutGivesUpWhenNobodyAnswers) {
    // A listener whose queue is full leaves further connects unanswered.
    std::uint16_t port = 0;
    const int listener = testsupport::ListenOnLoopback(port);
    ::listen(listener, 0);
    std::vector<TIdTCPClient> fillers(4);
    for (TIdTCPClient& filler : fillers) {
        filler.Host = "127.0.0.1";
        filler.Port = port;
        try {
            filler.Connect(200);
        } catch (const EIdConnectTimeout&) {
            break;
        }
    }
    TIdFTP client;
    PointAt(client, port);
    try {
        client.OpenSession(true, 300);
        ADD_FAILURE() << "connect did not time out";
    } catch (const EIdConnectTimeout& error) {
        EXPECT_STREQ(error.what(), "Connect timed out.");
    }
    EXPECT_FALSE(client.IsOpen());
    // Without a connect time-out of its own, the wait limit bounds the connect.
    client.ReadTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(client.OpenSession(), EIdConnectTimeout);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ::close(listener);
}

TEST(ControlConnection, ConnectingTwiceWritingUnconnectedAndSilentServersAreRefused) {
    ScriptedFtpServer server([](FtpScriptSession& s) {
        s.LogIn();
        s.Command();
        s.ClientCloses();
    });
    TIdFTP client;
    EXPECT_THROW(client.WriteLine("NOOP"), EIdNotConnected);
    PointAt(client, server.Port());
    client.OpenSession();
    try {
        client.Connect();
        ADD_FAILURE() << "connected twice";
    } catch (const EIdAlreadyConnected& error) {
        EXPECT_STREQ(error.what(), "Already connected.");
    }
    client.ReadTimeout = 200;
    try {
        client.ChangeDirectory("unanswered");
        ADD_FAILURE() << "a reply was read that never came";
    } catch (const EIdReadTimeout& error) {
        EXPECT_STREQ(error.what(), "Read Timeout\r\nNo reply from the server in 200 ms.");
    }
    client.CloseSession();
    EXPECT_EQ(server.Failure(), "");
}
